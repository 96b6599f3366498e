#include "reports/ui/TfrmPage3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportPreview.h"
#include "storage/DbError.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/PinyinKeySearch.h"
#include "widgets/QueryGrid.h"

namespace cw {

namespace {

// The grid's titles and the columns a title click sorts by, so the engine walks an index
// where it has one instead of sorting the text of every row.
const char* const kTitleColumns[][2] = {
    {"日期", "theDate"},    {"收支类别", "theType"}, {"摘要", "Remark"},
    {"收入", "theIn"},      {"支出", "theOut"},      {"账户名称", "AName"},
    {"本次余额", "AMoney"}, {"家庭成员", "FName"},   {"事件", "theE"}};

QString titleColumn(const QString& title) {
    for (const auto& pair : kTitleColumns) {
        if (title == QString::fromUtf8(pair[0])) return QLatin1String(pair[1]);
    }
    return QStringLiteral("ID");
}

}  // namespace

TfrmPage3::TfrmPage3(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("TfrmPage3"));
    setWindowTitle(QStringLiteral("资金流动日志"));
    runDialog_ = [](QDialog& d) { return d.exec(); };
    condition_.datesTicked = false;

    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* row = new QHBoxLayout(group);
    auto* form = new QGridLayout;
    row->addLayout(form, 1);

    datesBox_ = new QCheckBox(QStringLiteral("日        期"), group);
    from_ = new DatePicker(group);
    to_ = new DatePicker(group);
    from_->setDate(ctx_.clock.today().addMonths(-1));
    to_->setDate(ctx_.clock.today());
    for (DatePicker* d : {from_, to_})
        connect(d, &QDateEdit::dateChanged, datesBox_, [this] { datesBox_->setChecked(true); });
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("至："), group));
    dates->addWidget(to_);
    dates->addStretch(1);
    form->addWidget(datesBox_, 0, 0);
    form->addLayout(dates, 0, 1);

    const auto combo = [&](const QStringList& items, QCheckBox* box) {
        auto* c = new QComboBox(group);
        c->addItems(items);
        c->setCurrentIndex(-1);
        c->setMinimumWidth(150);
        PinyinKeySearch::attach(c);
        connect(c, &QComboBox::activated, box, [box] { box->setChecked(true); });
        return c;
    };
    accountCheck_ = new QCheckBox(QStringLiteral("账户名称"), group);
    account_ = combo(ctx_.dm.DBComAccount(), accountCheck_);
    memberCheck_ = new QCheckBox(QStringLiteral("家庭成员"), group);
    member_ = combo(ctx_.dm.DBComFamily(), memberCheck_);
    kindCheck_ = new QCheckBox(QStringLiteral("收支类别"), group);
    kind_ = combo(ctx_.dm.DBComSZType(), kindCheck_);
    remarkCheck_ = new QCheckBox(QStringLiteral("摘        要"), group);
    remark_ = new QLineEdit(group);
    connect(remark_, &QLineEdit::textChanged, remarkCheck_,
            [this] { remarkCheck_->setChecked(true); });
    sortCheck_ = new QCheckBox(QStringLiteral("排        序"), group);
    sortBox_ = new QComboBox(group);
    sortBox_->addItems(FundFlowLog::sortItems());

    form->addWidget(accountCheck_, 0, 2);
    form->addWidget(account_, 0, 3);
    form->addWidget(memberCheck_, 1, 0);
    form->addWidget(member_, 1, 1);
    form->addWidget(remarkCheck_, 1, 2);
    form->addWidget(remark_, 1, 3);
    form->addWidget(kindCheck_, 2, 0);
    form->addWidget(kind_, 2, 1);
    form->addWidget(sortCheck_, 2, 2);
    form->addWidget(sortBox_, 2, 3);

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const QString& caption, void (TfrmPage3::*slot)()) {
        auto* b = new QPushButton(caption, group);
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("查询"), &TfrmPage3::ButQueryClick)->setDefault(true);
    excel_ = button(QStringLiteral("Excel"), &TfrmPage3::ButExcelClick);
    print_ = button(QStringLiteral("打印"), &TfrmPage3::ButPrintClick);
    button(QStringLiteral("退出"), &TfrmPage3::ButExitClick);
    excel_->setEnabled(false);
    print_->setEnabled(false);
    row->addLayout(buttons);
    layout->addWidget(group);

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setFixedHeight(6);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    layout->addWidget(progress_);

    grid_ = new QueryGrid(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->gridModel()->setHiddenColumns({QStringLiteral("ID")});
    grid_->gridModel()->setMoneyColumns(
        {QStringLiteral("收入"), QStringLiteral("支出"), QStringLiteral("本次余额")});
    // The remark (摘要) takes the spare width; the rest fit their values.
    grid_->setColumnWidthFor(QStringLiteral("事件"), 40);
    layout->addWidget(grid_, 1);

    popup_ = new QMenu(this);
    connect(popup_->addAction(QStringLiteral("删除当前选中日志 &D")), &QAction::triggered, this,
            &TfrmPage3::DeleteOneClick);
    popup_->addSeparator();
    connect(popup_->addAction(QStringLiteral("删除所有日志 &A")), &QAction::triggered, this,
            &TfrmPage3::DeleteAllClick);
    popup_->addSeparator();
    connect(popup_->addAction(QStringLiteral("修改日志 &M")), &QAction::triggered, this,
            &TfrmPage3::EditClick);
    connect(popup_->addAction(QStringLiteral("重新计算本次余额 &J")), &QAction::triggered, this,
            &TfrmPage3::RecomputeClick);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (menuAttached_) popup_->popup(grid_->viewport()->mapToGlobal(at));
    });

    auto* status = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(180);
        status_ << label;
        status->addWidget(label);
    }
    status->addStretch(1);
    layout->addLayout(status);
}

TfrmPage3::~TfrmPage3() = default;

QCheckBox* TfrmPage3::box(FilterKey key) const {
    switch (key) {
        case FilterKey::Account:
            return accountCheck_;
        case FilterKey::Member:
            return memberCheck_;
        case FilterKey::Remark:
            return remarkCheck_;
        case FilterKey::Category:
            return kindCheck_;
        default:
            return nullptr;
    }
}

ReportFilter TfrmPage3::fieldsFilter() const {
    ReportFilter f;
    f.datesTicked = datesBox_->isChecked();
    f.from = from_->date();
    f.to = to_->date();
    if (accountCheck_->isChecked()) f.set(FilterKey::Account, account_->currentText());
    if (memberCheck_->isChecked()) f.set(FilterKey::Member, member_->currentText());
    if (remarkCheck_->isChecked()) f.set(FilterKey::Remark, remark_->text());
    if (kindCheck_->isChecked()) f.set(FilterKey::Category, kind_->currentText());
    return f;
}

std::optional<ReportSort> TfrmPage3::sort() const {
    if (!sortCheck_->isChecked()) return std::nullopt;
    return ReportSort{sortBox_->currentText(), false};
}

QStringList TfrmPage3::statusTexts() const {
    QStringList out;
    for (const QLabel* l : status_) out << l->text();
    return out;
}

void TfrmPage3::preset(FilterKey key, const QString& name) {
    QComboBox* field = key == FilterKey::Member ? member_ : account_;
    box(key)->setChecked(true);
    field->setCurrentIndex(field->findText(name));
    if (field->currentText() != name) field->setCurrentText(name);
    condition_ = ReportFilter{};
    condition_.datesTicked = false;
    condition_.set(key, name);
    refresh();
}

void TfrmPage3::ButQueryClick() {
    condition_ = fieldsFilter();
    menuAttached_ = true;
    refresh();
}

void TfrmPage3::refresh() {
    const QString book = ctx_.state.myBName;
    const FundFlowLog::Where w = FundFlowLog::where(book, condition_);
    try {
        QueryGridModel::PagedSource s;
        s.sql = FundFlowLog::gridSql(w, sort());
        s.args = w.args;
        // Returns a QString, not the string builder of the `+` chain: the builder would only
        // point at sql and dir, gone once the lambda returns.
        s.sortedSql = [w](const QString& title, Qt::SortOrder order) -> QString {
            const QString dir =
                order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
            QString sql = FundFlowLog::gridSql(w, std::nullopt);
            sql.truncate(sql.lastIndexOf(QStringLiteral(" ORDER BY ")));
            return sql + QStringLiteral(" ORDER BY ") + FundFlowLog::sortTerm(titleColumn(title)) +
                   dir + QStringLiteral(", ID") + dir;
        };
        grid_->gridModel()->setPagedQuery(ctx_.db, s);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    grid_->fitColumns();
    excel_->setEnabled(true);
    print_->setEnabled(true);
    // The first rows show at once; the totals of a journal of millions of rows take longer
    // and follow as soon as the window has painted them.
    for (QLabel* l : status_) l->clear();
    const int generation = ++refreshes_;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == refreshes_) showTotals();
    });
}

void TfrmPage3::showTotals() {
    FundFlowLog::Totals totals;
    try {
        totals = FundFlowLog::totals(ctx_.db, ctx_.state.myBName, condition_);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    const QStringList texts = FundFlowLog::statusTexts(totals);
    for (int i = 0; i < status_.size(); ++i) status_[i]->setText(texts.value(i));
}

bool TfrmPage3::hasRows() const {
    return grid_->gridModel()->rowCount() > 0;
}

qint64 TfrmPage3::currentId() const {
    const int row = std::max(grid_->currentRow(), 0);
    return grid_->gridModel()->valueAt(row, QStringLiteral("ID")).toLongLong();
}

void TfrmPage3::DeleteOneClick() {
    if (!hasRows() || !Dialogs::askDelete(ctx_.messages)) return;
    try {
        FundFlowLog::deleteOne(ctx_.db, ctx_.state.myBName, currentId());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    refresh();
}

void TfrmPage3::DeleteAllClick() {
    if (!hasRows() || !Dialogs::askDelete(ctx_.messages)) return;
    try {
        FundFlowLog::deleteMatching(ctx_.db, ctx_.state.myBName, condition_);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    refresh();
}

void TfrmPage3::EditClick() {
    if (!hasRows()) return;
    const int row = std::max(grid_->currentRow(), 0);
    const QueryGridModel* m = grid_->gridModel();
    const auto text = [&](const char* column) { return m->textAt(row, QString::fromUtf8(column)); };
    const FundFlowLog::EntryText entry{QDate::fromString(text("日期"), Qt::ISODate),
                                       text("收支类别"),
                                       text("摘要"),
                                       text("收入"),
                                       text("支出"),
                                       text("账户名称"),
                                       text("家庭成员")};
    TfrmPage3_M dialog(ctx_, currentId(), entry, this);
    if (runDialog_(dialog) == QDialog::Accepted) refresh();
}

void TfrmPage3::RecomputeClick() {
    if (!hasRows()) return;
    if (account_->currentText().isEmpty()) {
        Dialogs::focusAndWarn(ctx_.messages, account_, FundFlowLog::chooseAccountMessage());
        return;
    }
    try {
        const QString why =
            FundFlowLog::recompute(ctx_.db, ctx_.state.myBName, account_->currentText(), condition_,
                                   FundFlowLog::orderBy(sort()));
        if (!why.isEmpty()) ctx_.messages.warn(why);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    refresh();
}

void TfrmPage3::ButExcelClick() {
    try {
        const ReportTable table =
            FundFlowLog::table(ctx_.db, ctx_.state.myBName, condition_, sort());
        ExcelExport::run(ctx_, ExportLayout::forScreen(QStringLiteral("TfrmPage3")), table,
                         {ctx_.state.myBName, from_->date(), to_->date()}, progress_);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
}

void TfrmPage3::ButPrintClick() {
    ReportTable table;
    try {
        table = FundFlowLog::table(ctx_.db, ctx_.state.myBName, condition_, sort());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    const ReportPainter painter(PrintLayout::named(QStringLiteral("Print/thePage3.rf3")), table,
                                ctx_.state.myBName, QDateTime::currentDateTime());
    ReportPreview::show(ctx_, painter, this, runDialog_);
}

void TfrmPage3::ButExitClick() {
    close();
}

TfrmPage3_M::TfrmPage3_M(AppContext& ctx, qint64 id, const FundFlowLog::EntryText& entry,
                         QWidget* parent)
    : QDialog(parent), ctx_(ctx), id_(id) {
    setObjectName(QStringLiteral("TfrmPage3_M"));
    setWindowTitle(QStringLiteral("修改日志"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("日志修改"), this);
    auto* form = new QGridLayout(group);
    const auto line = [&](const QString& text, int maxLength) {
        auto* e = new QLineEdit(text, group);
        e->setMaxLength(maxLength);
        e->setMinimumWidth(200);
        return e;
    };
    date_ = new DatePicker(group);
    date_->setDate(entry.date.isValid() ? entry.date : ctx_.clock.today());
    type_ = line(entry.type, 20);
    remark_ = line(entry.remark, 20);
    in_ = line(entry.in, 20);
    out_ = line(entry.out, 20);
    // Digits and one decimal point only, as the amount fields of the posting screens.
    const QRegularExpression amount(QStringLiteral("[0-9]*\\.?[0-9]*"));
    in_->setValidator(new QRegularExpressionValidator(amount, in_));
    out_->setValidator(new QRegularExpressionValidator(amount, out_));
    const auto combo = [&](const QStringList& items, const QString& current) {
        auto* c = new QComboBox(group);
        c->addItems(items);
        if (c->findText(current) < 0 && !current.isEmpty()) c->addItem(current);
        c->setCurrentText(current);
        return c;
    };
    account_ = combo(ctx_.dm.DBComAccount(), entry.account);
    member_ = combo(ctx_.dm.DBComFamily(), entry.member);
    Dialogs::addFieldRow(form, QStringLiteral("日        期："), date_);
    Dialogs::addFieldRow(form, QStringLiteral("收支类别："), type_);
    Dialogs::addFieldRow(form, QStringLiteral("摘        要："), remark_);
    Dialogs::addFieldRow(form, QStringLiteral("收        入："), in_);
    Dialogs::addFieldRow(form, QStringLiteral("支        出："), out_);
    Dialogs::addFieldRow(form, QStringLiteral("账户名称："), account_);
    Dialogs::addFieldRow(form, QStringLiteral("家庭成员："), member_);
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    save_ = new QPushButton(QStringLiteral("保存"), this);
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    buttons->addWidget(save_);
    buttons->addWidget(quit);
    layout->addLayout(buttons);
    connect(save_, &QPushButton::clicked, this, &TfrmPage3_M::ButSaveClick);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
}

FundFlowLog::EntryText TfrmPage3_M::entry() const {
    return {date_->date(), type_->text(),           remark_->text(),       in_->text(),
            out_->text(),  account_->currentText(), member_->currentText()};
}

void TfrmPage3_M::ButSaveClick() {
    QString why;
    try {
        why = FundFlowLog::edit(ctx_.db, ctx_.state.myBName, id_, entry());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    if (!why.isEmpty()) {
        Dialogs::focusAndWarn(ctx_.messages, why.startsWith(QStringLiteral("收入")) ? in_ : out_,
                              why);
        return;
    }
    ctx_.messages.inform(QStringLiteral("资金流动日志 修改成功！"));
    accept();
}

}  // namespace cw
