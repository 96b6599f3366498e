#include "books/ui/TfrmNewBook1.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "books/ui/BookFields.h"
#include "books/ui/TfrmOpenBook.h"
#include "widgets/Dialogs.h"

namespace cw {

using Fill = BookCreation::Fill;

TfrmNewBook1::TfrmNewBook1(AppContext& ctx, int bookCount, QWidget* parent)
    : QDialog(parent), ctx_(ctx), runDialog_([](QDialog& d) { return d.exec(); }) {
    setWindowTitle(QStringLiteral("新建账簿"));

    fields_ = new BookFields(this);
    fields_->offer(bookCount);

    const QStringList books = ctx_.dm.DBComSBook();
    auto* grid = new QGridLayout;
    grid->addWidget(makeGroup(BookCreation::Income, QStringLiteral("收入类别信息"),
                              QStringLiteral("默认收入类别"), books),
                    0, 0);
    grid->addWidget(makeGroup(BookCreation::Expense, QStringLiteral("支出类别信息"),
                              QStringLiteral("默认支出类别"), books),
                    0, 1);
    grid->addWidget(makeGroup(BookCreation::Investment, QStringLiteral("投资类别信息"),
                              QStringLiteral("默认投资类别"), books),
                    0, 2);
    grid->addWidget(makeGroup(BookCreation::Members, QStringLiteral("家庭成员信息"), {}, books), 1,
                    0);
    grid->addWidget(makeGroup(BookCreation::Accounts, QStringLiteral("账户信息"), {}, books), 1, 1);
    grid->addWidget(makeGroup(BookCreation::Contacts, QStringLiteral("往来人员信息"), {}, books), 1,
                    2);

    QHBoxLayout* buttons = Dialogs::saveRow(this, &save_, &cancel_, QStringLiteral("取消"));

    auto* top = new QHBoxLayout;
    top->addWidget(fields_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &TfrmNewBook1::ButSaveClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    fields_->nameEdit()->setFocus();
}

QGroupBox* TfrmNewBook1::makeGroup(Group g, const QString& title, const QString& seedCaption,
                                   const QStringList& books) {
    GroupWidgets& w = groups_[g];
    w.box = new QGroupBox(title, this);
    w.books = new QComboBox(w.box);
    w.books->addItems(books);
    w.books->setCurrentIndex(-1);
    w.books->setMinimumWidth(160);
    w.copy = new QRadioButton(QStringLiteral("账簿名称"), w.box);
    if (!seedCaption.isEmpty()) w.seed = new QRadioButton(seedCaption, w.box);
    w.empty = new QRadioButton(QStringLiteral("空"), w.box);
    auto* exclusive = new QButtonGroup(w.box);
    for (QRadioButton* r : {w.copy, w.seed, w.empty}) {
        if (r) exclusive->addButton(r);
    }
    (w.seed ? w.seed : w.empty)->setChecked(true);

    auto* layout = new QGridLayout(w.box);
    layout->addWidget(w.copy, 0, 0);
    layout->addWidget(w.books, 0, 1);
    auto* others = new QHBoxLayout;
    if (w.seed) others->addWidget(w.seed);
    others->addWidget(w.empty);
    others->addStretch();
    layout->addLayout(others, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    // Picking a book says what the user wants done with it.
    connect(w.books, &QComboBox::currentIndexChanged, w.copy, [copy = w.copy](int index) {
        if (index >= 0) copy->setChecked(true);
    });
    return w.box;
}

BookCreation::Groups TfrmNewBook1::choices() const {
    BookCreation::Groups out;
    for (int g = 0; g < BookCreation::GroupCount; ++g) {
        const GroupWidgets& w = groups_[g];
        if (w.copy->isChecked()) {
            out[g].fill = Fill::Copy;
            if (w.books->currentIndex() >= 0) out[g].sourceBook = w.books->currentText();
        } else if (w.seed && w.seed->isChecked()) {
            out[g].fill = Fill::Seed;
        } else {
            out[g].fill = Fill::Empty;
        }
    }
    return out;
}

QWidget* TfrmNewBook1::sourceList(const BookCreation::Result& refusal) const {
    if (refusal.focus != BookCreation::Field::SourceBook || refusal.group < 0) return nullptr;
    return groups_[refusal.group].books;
}

void TfrmNewBook1::ButSaveClick() {
    const bool written = fields_->save(
        ctx_,
        [this](BookCreation& books, const QString& name, const QString& password,
               const QString& remark) {
            return books.createAdditionalBook(name, password, remark, choices());
        },
        [this](const BookCreation::Result& refusal) { return sourceList(refusal); });
    if (!written) return;
    TfrmOpenBook login(ctx_, this);
    runDialog_(login);
    accept();
}

}  // namespace cw
