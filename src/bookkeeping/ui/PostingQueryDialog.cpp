#include "bookkeeping/ui/PostingQueryDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/DatePicker.h"
#include "widgets/NameComboBox.h"
#include "widgets/PinyinKeySearch.h"

namespace cw {

namespace {

using Type = PostingLayout::Criterion::Type;

}  // namespace

PostingQueryDialog::PostingQueryDialog(AppContext& ctx, const PostingLayout& layout, Apply apply,
                                       QWidget* parent)
    : QDialog(parent), ctx_(ctx), layout_(layout), apply_(std::move(apply)) {
    setObjectName(layout.query.className);
    setWindowTitle(layout.query.caption);
    setModal(true);

    auto* group = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    for (const PostingLayout::Criterion& c : layout.query.criteria) {
        Row row{&c};
        row.check = new QCheckBox(c.caption, group);
        QWidget* control = makeControl(c, row.check);
        row.control = c.type == Type::Dates ? from_ : control;
        const int at = grid->rowCount();
        grid->addWidget(row.check, at, 0);
        grid->addWidget(control, at, 1);
        rows_.push_back(row);
    }

    query_ = new QPushButton(QStringLiteral("查询"), this);
    query_->setDefault(true);
    exit_ = new QPushButton(QStringLiteral("退出"), this);
    connect(query_, &QPushButton::clicked, this, &PostingQueryDialog::ButQueryClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(query_);
    buttons->addWidget(exit_);
    auto* box = new QVBoxLayout(this);
    box->addWidget(group);
    box->addLayout(buttons);
    setMinimumWidth(460);
}

QWidget* PostingQueryDialog::makeControl(const PostingLayout::Criterion& c, QCheckBox* check) {
    QWidget* parent = check->parentWidget();
    const auto tick = [check] { check->setChecked(true); };
    switch (c.type) {
        case Type::Dates:
            return makeDates(check);
        case Type::TypedName: {
            auto* box = new NameComboBox(parent);
            box->setNames((ctx_.dm.*c.filler)());
            box->setSearch(&ctx_.dm, c.searchColumn, c.searchTable);
            connect(box->lineEdit(), &QLineEdit::textEdited, check, tick);
            connect(box, &QComboBox::activated, check, tick);
            return box;
        }
        case Type::PickedName: {
            auto* box = new QComboBox(parent);
            box->addItems((ctx_.dm.*c.filler)());
            box->setCurrentIndex(-1);
            PinyinKeySearch::attach(box);
            connect(box, &QComboBox::activated, check, tick);
            return box;
        }
        case Type::Text: {
            auto* edit = new QLineEdit(parent);
            connect(edit, &QLineEdit::textEdited, check, tick);
            return edit;
        }
    }
    return nullptr;
}

QWidget* PostingQueryDialog::makeDates(QCheckBox* check) {
    auto* holder = new QWidget(check->parentWidget());
    from_ = new DatePicker(holder);
    to_ = new DatePicker(holder);
    const QDate today = ctx_.clock.today();
    from_->setDate(today.addMonths(-1));
    to_->setDate(today);
    check->setChecked(true);
    auto* line = new QHBoxLayout(holder);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(from_);
    line->addWidget(new QLabel(QStringLiteral("至："), holder));
    line->addWidget(to_);
    line->addStretch();
    const auto tick = [check] { check->setChecked(true); };
    connect(from_, &QDateEdit::dateChanged, check, tick);
    connect(to_, &QDateEdit::dateChanged, check, tick);
    return holder;
}

const PostingQueryDialog::Row* PostingQueryDialog::rowOf(const QString& caption) const {
    for (const Row& r : rows_) {
        if (r.criterion->caption == caption) return &r;
    }
    return nullptr;
}

QCheckBox* PostingQueryDialog::check(const QString& caption) const {
    const Row* r = rowOf(caption);
    return r ? r->check : nullptr;
}

QWidget* PostingQueryDialog::control(const QString& caption) const {
    const Row* r = rowOf(caption);
    return r ? r->control : nullptr;
}

PostingKind::Filter PostingQueryDialog::condition() const {
    PostingKind::Filter f;
    for (const Row& r : rows_) {
        if (!r.check->isChecked()) continue;
        const QString& column = r.criterion->column;
        switch (r.criterion->type) {
            case Type::Dates:
                f.condition += QStringLiteral(" and %1 Between ? and ?").arg(column);
                f.values << from_->text() << to_->text();
                break;
            case Type::TypedName:
            case Type::PickedName:
                // A box ticked with no name compares with the empty text: nothing is listed.
                f.condition += QStringLiteral(" and %1=?").arg(column);
                f.values << static_cast<QComboBox*>(r.control)->currentText();
                break;
            case Type::Text:
                f.condition += QStringLiteral(" and %1 like ? escape '\\'").arg(column);
                f.values << Statement::containing(static_cast<QLineEdit*>(r.control)->text());
                break;
        }
    }
    return f;
}

void PostingQueryDialog::ButQueryClick() {
    if (apply_) apply_(condition());
    accept();
}

}  // namespace cw
