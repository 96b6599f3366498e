#include "notes/ui/TfrmUThing_Q.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "notes/ui/TfrmUThing_In.h"
#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/DbError.h"
#include "widgets/DatePicker.h"
#include "widgets/NameComboBox.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

namespace {

const QString kScreen = QStringLiteral("TfrmUThing_Q");
const QString kPrintLayout = QStringLiteral("Print/theJS.rf3");
constexpr int kTitleWidthPx = 260;

}  // namespace

TfrmUThing_Q::TfrmUThing_Q(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), runDialog_([](QDialog& d) { return d.exec(); }) {
    setWindowTitle(QStringLiteral("记事查询"));

    auto* conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* grid = new QGridLayout(conditions);
    const QDate today = ctx_.clock.today();
    dateBox_ = new QCheckBox(QStringLiteral("记事日期"), conditions);
    dateBox_->setChecked(true);
    from_ = new DatePicker(conditions);
    from_->setDate(today.addMonths(-1));
    to_ = new DatePicker(conditions);
    to_->setDate(today);
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("至："), conditions));
    dates->addWidget(to_);
    dates->addStretch();
    grid->addWidget(dateBox_, 0, 0);
    grid->addLayout(dates, 0, 1);
    memberBox_ = new QCheckBox(QStringLiteral("家庭成员"), conditions);
    member_ = new NameComboBox(conditions);
    member_->setNames(ctx_.dm.ComFamily());
    grid->addWidget(memberBox_, 0, 2);
    grid->addWidget(member_, 0, 3);
    titleBox_ = new QCheckBox(QStringLiteral("标        题"), conditions);
    title_ = new QLineEdit(conditions);
    grid->addWidget(titleBox_, 1, 0);
    grid->addWidget(title_, 1, 1, 1, 3);
    textBox_ = new QCheckBox(QStringLiteral("内        容"), conditions);
    text_ = new QLineEdit(conditions);
    grid->addWidget(textBox_, 2, 0);
    grid->addWidget(text_, 2, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* sorting = new QGroupBox(QStringLiteral("排序条件"), this);
    auto* sortRow = new QHBoxLayout(sorting);
    sort_ = new QComboBox(sorting);
    sort_->addItems({QStringLiteral("日期"), QStringLiteral("家庭成员"), QStringLiteral("标题"),
                     QStringLiteral("内容")});
    order_ = new QComboBox(sorting);
    order_->addItems({QStringLiteral("升序"), QStringLiteral("降序")});
    sortRow->addWidget(new QLabel(QStringLiteral("排序条件："), sorting));
    sortRow->addWidget(sort_);
    sortRow->addWidget(order_);
    sortRow->addStretch();

    auto* buttonColumn = new QVBoxLayout;
    query_ = new QPushButton(QStringLiteral("查询"), this);
    query_->setDefault(true);
    excel_ = new QPushButton(QStringLiteral("Excel"), this);
    print_ = new QPushButton(QStringLiteral("打印"), this);
    exit_ = new QPushButton(QStringLiteral("退出"), this);
    excel_->setEnabled(false);
    print_->setEnabled(false);
    for (QPushButton* b : {query_, excel_, print_, exit_}) buttonColumn->addWidget(b);
    buttonColumn->addStretch();

    auto* panels = new QVBoxLayout;
    panels->addWidget(conditions);
    panels->addWidget(sorting);
    auto* top = new QHBoxLayout;
    top->addLayout(panels, 1);
    top->addLayout(buttonColumn);

    grid_ = new QTableView(this);
    model_ = new ReportTableModel(this);
    grid_->setModel(model_);
    ReadOnlyGrid::setUp(grid_, ReadOnlyGrid::OneRow | ReadOnlyGrid::NoRowNumbers);
    grid_->setWordWrap(false);
    count_ = new QLabel(QStringLiteral("记录："), this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addWidget(count_);

    popup_ = new QMenu(this);
    popup_->addAction(QStringLiteral("修改 &M"), this, &TfrmUThing_Q::modify);
    popup_->addSeparator();
    popup_->addAction(QStringLiteral("删除 &D"), this, &TfrmUThing_Q::deleteCurrent);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The menu belongs to a query's rows: none before the first one.
        if (excel_->isEnabled()) popup_->popup(grid_->viewport()->mapToGlobal(at));
    });

    // Touching a condition means it is wanted.
    connect(from_, &QDateEdit::dateChanged, dateBox_, [this] { dateBox_->setChecked(true); });
    connect(to_, &QDateEdit::dateChanged, dateBox_, [this] { dateBox_->setChecked(true); });
    connect(member_, &QComboBox::currentTextChanged, memberBox_,
            [this] { memberBox_->setChecked(true); });
    connect(title_, &QLineEdit::textEdited, titleBox_, [this] { titleBox_->setChecked(true); });
    connect(text_, &QLineEdit::textEdited, textBox_, [this] { textBox_->setChecked(true); });

    connect(query_, &QPushButton::clicked, this, &TfrmUThing_Q::ButQueryClick);
    connect(excel_, &QPushButton::clicked, this, &TfrmUThing_Q::ButExcelClick);
    connect(print_, &QPushButton::clicked, this, &TfrmUThing_Q::ButPrintClick);
    connect(exit_, &QPushButton::clicked, this, &QWidget::close);
}

const ReportTable& TfrmUThing_Q::table() const {
    return model_->table();
}

NoteBook::Filter TfrmUThing_Q::sortedNow(NoteBook::Filter f) const {
    f.sort = NoteBook::Filter::Sort(sort_->currentIndex());
    f.descending = order_->currentIndex() == 1;
    return f;
}

void TfrmUThing_Q::ButQueryClick() {
    NoteBook::Filter f;
    f.byDate = dateBox_->isChecked();
    f.from = from_->text();
    f.to = to_->text();
    f.byMember = memberBox_->isChecked();
    f.member = member_->text();
    f.byTitle = titleBox_->isChecked();
    f.title = title_->text();
    f.byText = textBox_->isChecked();
    f.text = text_->text();
    filter_ = sortedNow(f);
    if (!guarded([this] { refresh(); })) return;
    excel_->setEnabled(true);
    print_->setEnabled(true);
}

void TfrmUThing_Q::refresh() {
    const qint64 keep = currentRow() >= 0 ? table().rowId(currentRow()) : 0;
    model_->setTable(NoteBook(ctx_.dm).find(filter_));
    const int detail = table().columnOf(Field::Detail);
    if (detail >= 0) grid_->setColumnHidden(detail, true);
    // 内容 takes the width the others leave, and no more: a long note is cut short in the
    // row rather than pushing the column, and its title, out of sight.
    ReadOnlyGrid::stretchColumn(grid_, table().columnOf(Field::Summary));
    // A long title must not crowd out 内容 either.
    const int title = table().columnOf(Field::Title);
    grid_->setColumnWidth(title, std::min(grid_->columnWidth(title), kTitleWidthPx));
    count_->setText(QStringLiteral("记录：") + QString::number(table().rowCount()));
    // Stay on the note just changed; otherwise the first row is the current one.
    int row = table().isEmpty() ? -1 : 0;
    for (int r = 0; r < table().rowCount(); ++r) {
        if (table().rowId(r) == keep) row = r;
    }
    if (row >= 0) grid_->setCurrentIndex(model_->index(row, 0));
}

int TfrmUThing_Q::currentRow() const {
    const int row = grid_->currentIndex().row();
    if (row >= 0 && row < table().rowCount()) return row;
    return table().isEmpty() ? -1 : 0;
}

bool TfrmUThing_Q::guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return false;
    }
}

void TfrmUThing_Q::ButExcelClick() {
    // The range of the rows exported, not whatever the date fields show now.
    const auto day = [](const QString& text) { return QDate::fromString(text, Qt::ISODate); };
    ExcelExport::run(ctx_, ExportLayout::forScreen(kScreen), table(),
                     {ctx_.state.myBName, day(filter_.from), day(filter_.to)});
}

void TfrmUThing_Q::ButPrintClick() {
    // The last query's conditions in the order chosen now.
    ReportTable rows;
    if (!guarded([&] { rows = NoteBook(ctx_.dm).find(sortedNow(filter_)); })) return;
    const ReportPainter painter(PrintLayout::named(kPrintLayout), rows, ctx_.state.myBName,
                                QDateTime::currentDateTime());
    ReportPreview::show(ctx_, painter, this, runDialog_);
}

void TfrmUThing_Q::modify() {
    const int row = currentRow();
    if (row < 0) return;
    TfrmUThing_In dialog(ctx_, this, table().rowId(row));
    if (runDialog_(dialog) == QDialog::Accepted) guarded([this] { refresh(); });
}

void TfrmUThing_Q::deleteCurrent() {
    const int row = currentRow();
    if (row < 0) return;
    if (!ctx_.messages.ask(QStringLiteral("确认要删除吗？该删除将不可恢复！"),
                           QStringLiteral("删除"), false))
        return;
    const qint64 id = table().rowId(row);
    guarded([&] {
        NoteBook(ctx_.dm).remove(id);
        refresh();
    });
}

}  // namespace cw
