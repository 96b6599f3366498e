#include "import/statements/ui/StatementMappingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "import/SheetRows.h"
#include "widgets/AppContext.h"

namespace cw {

namespace {

using Amounts = StatementProfile::Amounts;

const QString kNone = QStringLiteral("（无）");

// The ways of giving money, in the order the box lists them.
const Amounts kAmounts[] = {Amounts::Signed, Amounts::Split, Amounts::Marked};

QString columnOf(const QComboBox* box) {
    return box->currentData().toString();
}

void pick(QComboBox* box, const QString& header) {
    box->setCurrentIndex(std::max(0, box->findData(header)));
}

}  // namespace

StatementMappingDialog::StatementMappingDialog(AppContext& ctx, const StatementSheet& sheet,
                                               const StatementProfile& start, size_t headerRow,
                                               QWidget* parent)
    : QDialog(parent), ctx_(ctx), sheet_(sheet) {
    setWindowTitle(QStringLiteral("账单格式"));
    setObjectName(QStringLiteral("StatementMapping"));
    resize(1000, 680);

    grid_ = new QTableWidget;
    grid_->setObjectName(QStringLiteral("rows"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setDefaultSectionSize(120);

    headerRow_ = new QSpinBox;
    headerRow_->setObjectName(QStringLiteral("headerRow"));
    const int shown = std::clamp(int(sheet.rows.size()), 1, kShownRows);
    headerRow_->setRange(1, shown);
    headerRow_->setValue(std::clamp(int(headerRow) + 1, 1, shown));

    amounts_ = new QComboBox;
    amounts_->setObjectName(QStringLiteral("amounts"));
    amounts_->addItems({QStringLiteral("单列金额"), QStringLiteral("收入支出两列"),
                        QStringLiteral("金额加借贷标志列")});
    incomeMark_ = new QLineEdit;
    incomeMark_->setObjectName(QStringLiteral("incomeMark"));
    incomeMark_->setPlaceholderText(QStringLiteral("如 贷、收入、C"));
    positiveIsExpense_ = new QCheckBox(QStringLiteral("正数为支出（信用卡）"));
    positiveIsExpense_->setObjectName(QStringLiteral("positiveIsExpense"));
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("profileName"));
    name_->setPlaceholderText(QStringLiteral("如 招商银行信用卡"));
    name_->setMaxLength(40);

    const char* names[FieldCount] = {
        "dateColumn",    "timeColumn",    "amountColumn",       "incomeColumn",
        "expenseColumn", "markColumn",    "counterpartyColumn", "counterpartyAccountColumn",
        "remarkColumn1", "remarkColumn2", "remarkColumn3",      "balanceColumn"};
    for (int f = 0; f < FieldCount; ++f) columns_[f] = makeColumnBox(names[f]);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("表头行")));
    top->addWidget(headerRow_);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("金额方式")));
    top->addWidget(amounts_);
    top->addStretch();

    QGroupBox* columnsGroup = buildColumns();

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("格式名称")));
    nameRow->addWidget(name_, 1);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButOk"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButCancel"));
    nameRow->addSpacing(16);
    nameRow->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    // Opened for a layout in use (to change it), it has nothing to confess.
    const QString intro = QStringLiteral(
        "请指出表头所在的行和各列的含义，并给格式起个名字；以后同样格式的账单会自动认出。");
    layout->addWidget(new QLabel(
        start.name.isEmpty() ? QStringLiteral("没有认出这个账单的格式。") + intro : intro));
    layout->addWidget(grid_, 1);
    layout->addLayout(top);
    layout->addWidget(columnsGroup);
    layout->addLayout(nameRow);

    fillGrid();
    showProfile(start);
    name_->setText(start.name);
    connect(headerRow_, &QSpinBox::valueChanged, this, [this] { headerRowChanged(); });
    connect(amounts_, &QComboBox::currentIndexChanged, this, [this] { amountsChanged(); });
    connect(ok, &QPushButton::clicked, this, [this] { ButOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* StatementMappingDialog::buildColumns() {
    // Three pairs of label and field a line, so the form fits beside the grid on a small screen.
    auto* form = new QGridLayout;
    const std::pair<QString, QWidget*> fields[] = {
        {QStringLiteral("日期"), columns_[Date]},
        {QStringLiteral("时间"), columns_[Time]},
        {QStringLiteral("余额"), columns_[Balance]},
        {QStringLiteral("金额"), columns_[Amount]},
        {QStringLiteral("收入"), columns_[Income]},
        {QStringLiteral("支出"), columns_[Expense]},
        {QStringLiteral("借贷标志"), columns_[Mark]},
        {QStringLiteral("表示收入的文字"), incomeMark_},
        {QString(), positiveIsExpense_},
        {QStringLiteral("对方户名"), columns_[Counterparty]},
        {QStringLiteral("对方账号"), columns_[CounterpartyAccount]},
        {QString(), nullptr},
        {QStringLiteral("摘要/备注"), columns_[Remark1]},
        {QStringLiteral("摘要/备注"), columns_[Remark2]},
        {QStringLiteral("摘要/备注"), columns_[Remark3]}};
    int at = 0;
    for (const auto& [label, field] : fields) {
        const int row = at / 3, col = (at % 3) * 2;
        ++at;
        if (!field) continue;
        if (!label.isEmpty()) form->addWidget(new QLabel(label), row, col);
        form->addWidget(field, row, col + 1);
    }
    for (int c : {1, 3, 5}) form->setColumnStretch(c, 1);
    auto* columnsGroup = new QGroupBox(QStringLiteral("各列的含义"));
    columnsGroup->setLayout(form);
    return columnsGroup;
}

QComboBox* StatementMappingDialog::makeColumnBox(const char* objectName) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

void StatementMappingDialog::fillGrid() {
    const int rows = std::min(int(sheet_.rows.size()), kShownRows);
    int columns = 0;
    for (int r = 0; r < rows; ++r) columns = std::max(columns, int(sheet_.rows[size_t(r)].size()));
    grid_->setRowCount(rows);
    grid_->setColumnCount(columns);
    for (int r = 0; r < rows; ++r) {
        const QStringList& cells = sheet_.rows[size_t(r)];
        for (int c = 0; c < int(cells.size()); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
        // A preamble line (a title, the card number) reads whole across the empty cells.
        const auto filled = std::count_if(cells.begin(), cells.end(),
                                          [](const QString& t) { return !t.trimmed().isEmpty(); });
        if (filled == 1 && !cells.first().trimmed().isEmpty() && columns > 1)
            grid_->setSpan(r, 0, 1, columns);
    }
    // Wide enough to read a card number, not so wide that one long cell hides the others.
    grid_->resizeColumnsToContents();
    for (int c = 0; c < columns; ++c)
        grid_->setColumnWidth(c, std::clamp(grid_->columnWidth(c), 80, 240));
}

QStringList StatementMappingDialog::headerCells() const {
    const size_t row = headerRow();
    QStringList cells;
    if (row >= sheet_.rows.size()) return cells;
    for (const QString& cell : sheet_.rows[row]) {
        const QString t = cell.trimmed();
        if (!t.isEmpty() && !cells.contains(t)) cells << t;
    }
    return cells;
}

void StatementMappingDialog::showProfile(const StatementProfile& p) {
    const QStringList cells = headerCells();
    for (QComboBox* box : columns_) {
        box->clear();
        box->addItem(kNone, QString());
        for (const QString& cell : cells) box->addItem(cell, cell);
    }
    const QString named[] = {p.date,
                             p.time,
                             p.amount,
                             p.income,
                             p.expense,
                             p.mark,
                             p.counterparty,
                             p.counterpartyAccount,
                             p.remarks.value(0),
                             p.remarks.value(1),
                             p.remarks.value(2),
                             p.balance};
    for (int f = 0; f < FieldCount; ++f) pick(columns_[f], named[f]);
    amounts_->setCurrentIndex(
        int(std::find(std::begin(kAmounts), std::end(kAmounts), p.amounts) - std::begin(kAmounts)));
    incomeMark_->setText(p.incomeMark);
    positiveIsExpense_->setChecked(p.positiveIsExpense);
    amountsChanged();

    // The header row stands out in the grid.
    const int header = int(headerRow());
    for (int r = 0; r < grid_->rowCount(); ++r) {
        for (int c = 0; c < grid_->columnCount(); ++c) {
            QTableWidgetItem* item = grid_->item(r, c);
            if (!item) continue;
            QFont font = item->font();
            font.setBold(r == header);
            item->setFont(font);
            item->setBackground(r == header ? QBrush(QColor(255, 243, 205)) : QBrush());
        }
    }
    if (header < grid_->rowCount()) grid_->scrollToItem(grid_->item(header, 0));
}

void StatementMappingDialog::headerRowChanged() {
    // Another row's words: start again from what they suggest.
    showProfile(StatementProfiles::guess(headerCells()));
}

void StatementMappingDialog::amountsChanged() {
    const Amounts a = kAmounts[std::clamp(amounts_->currentIndex(), 0, 2)];
    columns_[Amount]->setEnabled(a != Amounts::Split);
    columns_[Income]->setEnabled(a == Amounts::Split);
    columns_[Expense]->setEnabled(a == Amounts::Split);
    columns_[Mark]->setEnabled(a == Amounts::Marked);
    incomeMark_->setEnabled(a == Amounts::Marked);
    positiveIsExpense_->setEnabled(a == Amounts::Signed);
}

size_t StatementMappingDialog::headerRow() const {
    return size_t(headerRow_->value() - 1);
}

StatementProfile StatementMappingDialog::profile() const {
    StatementProfile p;
    p.name = name_->text().trimmed();
    p.amounts = kAmounts[std::clamp(amounts_->currentIndex(), 0, 2)];
    p.date = columnOf(columns_[Date]);
    p.time = columnOf(columns_[Time]);
    // Only the columns of the way money is given: a hidden choice must not narrow recognition.
    if (p.amounts != Amounts::Split) p.amount = columnOf(columns_[Amount]);
    if (p.amounts == Amounts::Split) {
        p.income = columnOf(columns_[Income]);
        p.expense = columnOf(columns_[Expense]);
    }
    if (p.amounts == Amounts::Marked) {
        p.mark = columnOf(columns_[Mark]);
        p.incomeMark = incomeMark_->text().trimmed();
    }
    p.positiveIsExpense = p.amounts == Amounts::Signed && positiveIsExpense_->isChecked();
    p.counterparty = columnOf(columns_[Counterparty]);
    p.counterpartyAccount = columnOf(columns_[CounterpartyAccount]);
    for (Field f : {Remark1, Remark2, Remark3})
        if (const QString r = columnOf(columns_[f]); !r.isEmpty() && !p.remarks.contains(r))
            p.remarks << r;
    p.balance = columnOf(columns_[Balance]);
    return p;
}

void StatementMappingDialog::ButOkClick() {
    const StatementProfile p = profile();
    QString why;
    if (!p.usable(&why)) {
        ctx_.messages.warn(why);
        return;
    }
    // Without it every row of a marked layout would read as money out.
    if (p.amounts == Amounts::Marked && p.incomeMark.isEmpty()) {
        ctx_.messages.warn(QStringLiteral("请输入表示收入的文字！"));
        incomeMark_->setFocus();
        return;
    }
    try {
        StatementProfiles::save(ctx_.db, p);
    } catch (const SheetError& e) {
        ctx_.messages.warn(e.message());
        name_->setFocus();
        return;
    }
    accept();
}

}  // namespace cw
