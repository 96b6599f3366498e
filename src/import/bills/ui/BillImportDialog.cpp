#include "import/bills/ui/BillImportDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "import/SheetRows.h"
#include "import/SpreadsheetImport.h"
#include "import/bills/BillImport.h"
#include "import/bills/BillReader.h"
#include "import/bills/ui/BillRowsModel.h"
#include "import/statements/StatementFile.h"
#include "import/statements/ui/StatementMappingDialog.h"
#include "import/ui/ImportFrame.h"
#include "widgets/AppContext.h"
#include "widgets/NameComboBox.h"

namespace cw {

namespace {

using Column = BillRowsModel::Column;

struct NameSource {
    QString column;
    QString table;
};

NameSource categories(BillRow::Direction kind) {
    return kind == BillRow::Direction::In
               ? NameSource{QStringLiteral("IName"), QStringLiteral("InD")}
               : NameSource{QStringLiteral("OName"), QStringLiteral("OutD")};
}

const NameSource kAccounts{QStringLiteral("AName"), QStringLiteral("SAccount")};
const NameSource kMembers{QStringLiteral("FName"), QStringLiteral("SFamily")};

void offer(NameComboBox* box, TfrmDM& dm, const NameSource& source) {
    box->setNames(dm.searchNames(QString(), source.column, source.table));
    box->setSearch(&dm, source.column, source.table);
}

// Kind is picked from its two items; category, account and member from the book's names with
// the posting screens' type-ahead (a new name is made when the rows are booked); date, amount
// and remark are typed.
class BillCellDelegate : public QStyledItemDelegate {
  public:
    BillCellDelegate(TfrmDM& dm, QObject* parent) : QStyledItemDelegate(parent), dm_(dm) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const auto* model = static_cast<const BillRowsModel*>(index.model());
        switch (Column(index.column())) {
            case Column::Kind: {
                auto* box = new QComboBox(parent);
                box->addItems({QStringLiteral("收入"), QStringLiteral("支出")});
                // A transfer stays one unless another kind is picked.
                if (model->rows()[size_t(index.row())].kind == BillRow::Direction::Transfer)
                    box->addItem(BillImport::kindText(BillRow::Direction::Transfer));
                return box;
            }
            case Column::Category:
            case Column::Account:
            case Column::Member: {
                auto* box = new NameComboBox(parent);
                const BillImport::Planned& p = model->rows()[size_t(index.row())];
                offer(box, dm_,
                      index.column() == Column::Category  ? categories(p.kind)
                      : index.column() == Column::Account ? kAccounts
                                                          : kMembers);
                return box;
            }
            default:
                if (model->counterColumn(index.column())) {
                    auto* box = new NameComboBox(parent);
                    offer(box, dm_, kAccounts);
                    return box;
                }
                return QStyledItemDelegate::createEditor(parent, option, index);
        }
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* names = qobject_cast<NameComboBox*>(editor)) {
            names->setText(text);
        } else if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(std::max(0, box->findText(text)));
        } else {
            QStyledItemDelegate::setEditorData(editor, index);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            if (box->currentText() != index.data(Qt::EditRole).toString())
                model->setData(index, box->currentText(), Qt::EditRole);
        } else {
            QStyledItemDelegate::setModelData(editor, model, index);
        }
    }

  private:
    TfrmDM& dm_;
};

// What tells the two uses of the window apart.
struct Setup {
    QString title;
    QString id;
    QString openTitle;
    QString hint;
    QString filter;
};

const Setup& setupOf(BillImportDialog::Files files) {
    static const Setup bills{
        QStringLiteral("账单导入"), QStringLiteral("TfrmD_Bill"), QStringLiteral("打开账单文件"),
        QStringLiteral(
            "微信支付账单（.xlsx 或 .csv）或支付宝交易明细（.csv）。导入过的交易显示“已导入”，"
            "不会重复记账；未成功、已全额退款的交易不能勾选，退款从原交易中扣除，"
            "零钱充值、提现等转账和不计收支的交易默认不勾选。双击单元格修改一行，"
            "或选中多行在下面一起修改；修改的类别、账户和家庭成员会记住，下次自动使用。"),
        QStringLiteral("账单文件(*.xlsx *.csv);;微信支付账单(*.xlsx *.csv);;支付宝账单(*.csv)")};
    static const Setup statements{
        QStringLiteral("银行账单导入"), QStringLiteral("TfrmD_Statement"),
        QStringLiteral("打开银行账单文件"),
        QStringLiteral(
            "银行卡、信用卡的交易明细（.csv、.xls、.xlsx），或其它记账软件、网上银行导出的 QIF、"
            "OFX 文件。先选择账单所属的账户；认不出格式的账单请指出各列的含义，以后自动认出。"
            "导入过的交易显示“已导入”，不会重复记账；导入后与账单的余额对账。"),
        QStringLiteral("银行账单 (*.csv *.xls *.xlsx *.qif *.ofx *.qfx)")};
    return files == BillImportDialog::Files::Bills ? bills : statements;
}

QString sourceText(Bill::Source source) {
    switch (source) {
        case Bill::Source::WeChat:
            return QStringLiteral("微信支付账单");
        case Bill::Source::Alipay:
            return QStringLiteral("支付宝账单");
        case Bill::Source::Statement:
            return QStringLiteral("银行账单");
        case Bill::Source::Qif:
            return QStringLiteral("QIF 文件");
        case Bill::Source::Ofx:
            return QStringLiteral("OFX 文件");
    }
    return {};
}

QString countCaption(const BillRowsModel& model) {
    if (model.rowCount() == 0) return QStringLiteral("账单数据  共有 0 条数据");
    const BillImport::Counts c = BillImport::count(model.rows());
    return QStringLiteral("%1  共有 %2 条数据：勾选 %3 条，已导入 %4 条，不导入 %5 条")
        .arg(sourceText(model.source()))
        .arg(model.rowCount())
        .arg(c.added)
        .arg(c.imported)
        .arg(c.skipped);
}

}  // namespace

BillImportDialog::BillImportDialog(AppContext& ctx, QWidget* parent)
    : BillImportDialog(ctx, Files::Bills, parent) {}

BillImportDialog::BillImportDialog(AppContext& ctx, Files files, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      files_(files),
      import_(std::make_unique<BillImport>(ctx.dm)),
      runDialog_([](QDialog& d) { return d.exec(); }) {
    build();
}

void BillImportDialog::build() {
    const Setup& setup = setupOf(files_);
    setWindowTitle(setup.title);
    setObjectName(setup.id);
    // A statement's own columns come on top of the ones booking uses: as wide as the screen
    // of a small laptop allows.
    resize(files_ == Files::Bills ? 1180 : 1240, 700);
    chooser_ = [filter = setup.filter](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };

    QPushButton* openButton = nullptr;
    QGroupBox* openGroup = ImportFrame::openGroup(setup.openTitle, setup.hint, &openButton);

    model_ = new BillRowsModel(*import_, this);
    if (files_ == Files::Statements) model_->setRows({}, Bill::Source::Statement);
    dataGroup_ = new QGroupBox(countCaption(*model_));
    dataGroup_->setObjectName(QStringLiteral("dataGroup"));
    buildGrid();
    auto* dataBox = new QVBoxLayout(dataGroup_);
    dataBox->addWidget(grid_);

    QGroupBox* batchGroup = buildBatch();
    QPushButton* exitButton = nullptr;
    QHBoxLayout* buttons = ImportFrame::buttonRow(&importButton_, &exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(openGroup);
    if (files_ == Files::Statements) layout->addLayout(buildStatementRow());
    layout->addWidget(dataGroup_, 1);
    layout->addWidget(batchGroup);
    layout->addLayout(buttons);

    fillNames();
    connect(batchKind_, &QComboBox::currentTextChanged, this, [this] { fillNames(); });
    connect(openButton, &QPushButton::clicked, this, [this] { ButOpenClick(); });
    connect(importButton_, &QPushButton::clicked, this, [this] { ButImportClick(); });
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(model_, &BillRowsModel::refused, this,
            [this](const QString& message) { ctx_.messages.warn(message); });
    connect(model_, &BillRowsModel::ticksChanged, this, [this] { updateCounts(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { setDetailWidths(); });
}

void BillImportDialog::buildGrid() {
    grid_ = new QTableView;
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new BillCellDelegate(ctx_.dm, grid_));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // No editing on a click into the selection: a click on one row of several selected must
    // select that row, not edit a cell and keep the others selected.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    grid_->setAlternatingRowColors(true);
    grid_->installEventFilter(this);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    // Fixed widths from the font: measuring 5,000 rows' contents would cost more than the
    // reading of the bill.
    const QFontMetrics fm = grid_->fontMetrics();
    const auto width = [&fm](const QString& sample) { return fm.horizontalAdvance(sample) + 24; };
    // A statement names no payment method and no refunds, and has columns of its own to show.
    const bool bills = files_ == Files::Bills;
    const std::pair<Column, QString> widths[] = {
        {Column::Tick, QStringLiteral("导入")},
        {Column::Status, bills ? QStringLiteral("已全额退款") : QStringLiteral("金额为0")},
        {Column::Kind, QStringLiteral("不计收支")},
        {Column::Date, QStringLiteral("2026-11-30")},
        {Column::Amount, QStringLiteral("12,345.00")},
        {Column::Category, QStringLiteral("餐饮美食类别")},
        {Column::Account,
         bills ? QStringLiteral("招商银行储蓄卡(1234)") : QStringLiteral("招商银行储蓄卡")},
        {Column::Member, QStringLiteral("家庭成员")},
        {Column::Remark,
         bills ? QStringLiteral("美团外卖 午餐和饮料一份") : QStringLiteral("美团外卖 网上")}};
    for (const auto& [column, sample] : widths) grid_->setColumnWidth(column, width(sample));
    setDetailWidths();
    // The app's own columns come last, for reference; the transaction number takes what is left.
    grid_->horizontalHeader()->setStretchLastSection(true);
}

QGroupBox* BillImportDialog::buildBatch() {
    auto* batchGroup = new QGroupBox(QStringLiteral("修改选中的行"));
    batchKind_ = new QComboBox;
    batchKind_->setObjectName(QStringLiteral("batchKind"));
    batchKind_->addItems({QString(), QStringLiteral("收入"), QStringLiteral("支出")});
    batchCategory_ = new NameComboBox;
    batchCategory_->setObjectName(QStringLiteral("batchCategory"));
    batchAccount_ = new NameComboBox;
    batchAccount_->setObjectName(QStringLiteral("batchAccount"));
    batchMember_ = new NameComboBox;
    batchMember_->setObjectName(QStringLiteral("batchMember"));
    auto* applyButton = new QPushButton(QStringLiteral("应用到选中行 &S"));
    applyButton->setObjectName(QStringLiteral("ButApply"));
    auto* tickButton = new QPushButton(QStringLiteral("勾选 &T"));
    tickButton->setObjectName(QStringLiteral("ButTick"));
    auto* untickButton = new QPushButton(QStringLiteral("不勾选 &U"));
    untickButton->setObjectName(QStringLiteral("ButUntick"));
    auto* batchRow = new QHBoxLayout(batchGroup);
    const std::pair<QString, QWidget*> fields[] = {{QStringLiteral("收/支"), batchKind_},
                                                   {QStringLiteral("类别"), batchCategory_},
                                                   {QStringLiteral("账户"), batchAccount_},
                                                   {QStringLiteral("家庭成员"), batchMember_}};
    for (const auto& [label, field] : fields) {
        batchRow->addWidget(new QLabel(label));
        batchRow->addWidget(field, 1);
    }
    batchRow->addWidget(applyButton);
    batchRow->addSpacing(16);
    batchRow->addWidget(tickButton);
    batchRow->addWidget(untickButton);

    connect(applyButton, &QPushButton::clicked, this, [this] { ButApplyClick(); });
    connect(tickButton, &QPushButton::clicked, this, [this] { tickSelected(true); });
    connect(untickButton, &QPushButton::clicked, this, [this] { tickSelected(false); });
    return batchGroup;
}

QHBoxLayout* BillImportDialog::buildStatementRow() {
    account_ = new NameComboBox;
    account_->setObjectName(QStringLiteral("account"));
    offer(account_, ctx_.dm, kAccounts);
    formatButton_ = new QPushButton(QStringLiteral("更改格式"));
    formatButton_->setObjectName(QStringLiteral("ButFormat"));
    formatButton_->setEnabled(false);
    format_ = new QLabel;
    format_->setObjectName(QStringLiteral("format"));
    auto* accountRow = new QHBoxLayout;
    accountRow->addWidget(new QLabel(QStringLiteral("账户")));
    accountRow->addWidget(account_, 1);
    accountRow->addSpacing(16);
    accountRow->addWidget(format_, 2);
    accountRow->addWidget(formatButton_);
    connect(account_, &QComboBox::activated, this, [this] { accountChanged(); });
    connect(account_->lineEdit(), &QLineEdit::editingFinished, this, [this] { accountChanged(); });
    connect(formatButton_, &QPushButton::clicked, this, [this] { ButFormatClick(); });
    return accountRow;
}

void BillImportDialog::setDetailWidths() {
    const QFontMetrics fm = grid_->fontMetrics();
    using Detail = BillRowsModel::Detail;
    const auto sample = [](Detail d) {
        switch (d) {
            case Detail::Method:
                return QStringLiteral("招商银行储蓄卡(1234)");
            case Detail::Type:
                return QStringLiteral("商户消费");
            case Detail::Number:
                return QStringLiteral("420000000000000000");
            case Detail::Counter:
                return QStringLiteral("招商储蓄卡");
            case Detail::Counterparty:
                return QStringLiteral("某某科技公司");
            case Detail::Summary:
                return QStringLiteral("网上支付");
            case Detail::Balance:
                return QStringLiteral("123,456.00");
        }
        return QString();
    };
    const auto& details = model_->details();
    for (size_t i = 0; i < details.size(); ++i)
        grid_->setColumnWidth(Column::FirstDetail + int(i),
                              fm.horizontalAdvance(sample(details[i])) + 24);
}

BillImportDialog::~BillImportDialog() = default;

void BillImportDialog::fillNames() {
    const BillRow::Direction kind = batchKind_->currentText() == QStringLiteral("收入")
                                        ? BillRow::Direction::In
                                        : BillRow::Direction::Out;
    const QString typed = batchCategory_->text();
    offer(batchCategory_, ctx_.dm, categories(kind));
    batchCategory_->setText(typed);
    if (batchAccount_->count() == 0) offer(batchAccount_, ctx_.dm, kAccounts);
    if (batchMember_->count() == 0) offer(batchMember_, ctx_.dm, kMembers);
}

void BillImportDialog::updateCounts() {
    dataGroup_->setTitle(countCaption(*model_));
    importButton_->setEnabled(BillImport::count(model_->rows()).added > 0);
}

void BillImportDialog::ButOpenClick() {
    const QString path = chooser_(this);
    if (path.isEmpty()) return;
    openFile(path);
}

void BillImportDialog::openFile(const QString& path) {
    if (files_ == Files::Statements) {
        openStatement(path);
        return;
    }
    reading([&] {
        const Bill bill = BillReader::read(path);
        model_->setRows(import_->plan(bill), bill.source);
    });
}

bool BillImportDialog::reading(const std::function<void()>& read) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        read();
    } catch (const SheetError& e) {
        QApplication::restoreOverrideCursor();
        // Nothing of a file that cannot be read is shown.
        clearRows();
        ctx_.messages.warn(e.message());
        return false;
    }
    QApplication::restoreOverrideCursor();
    return true;
}

void BillImportDialog::clearRows() {
    model_->setRows({}, files_ == Files::Bills ? Bill::Source::WeChat : Bill::Source::Statement);
}

QString BillImportDialog::accountText() const {
    return account_ ? account_->text().trimmed() : QString();
}

void BillImportDialog::openStatement(const QString& path) {
    sheet_ = {};
    profile_.reset();
    bill_ = {};
    format_->clear();
    formatButton_->setEnabled(false);
    std::vector<StatementProfile> profiles;
    StatementFile::Opened opened;
    const bool read = reading([&] {
        profiles = StatementProfiles::all(ctx_.db);
        opened = StatementFile::open(path, profiles);
    });
    if (!read) return;
    if (opened.format != StatementFile::Format::Table) {
        format_->setText(opened.format == StatementFile::Format::Qif ? QStringLiteral("格式：QIF")
                                                                     : QStringLiteral("格式：OFX"));
        showBill(std::move(*opened.bill));
        return;
    }
    sheet_ = std::move(opened.sheet);
    if (opened.profile < 0) {
        // Nobody's layout: the user maps it, starting from what its likeliest header suggests.
        const size_t header = StatementProfiles::guessHeaderRow(sheet_.rows);
        const QStringList cells = header < sheet_.rows.size() ? sheet_.rows[header] : QStringList();
        mapTable(StatementProfiles::guess(cells), header);
        return;
    }
    profile_ = profiles[size_t(opened.profile)];
    headerRow_ = opened.headerRow;
    formatButton_->setEnabled(true);
    format_->setText(QStringLiteral("格式：") + profile_->name);
    if (!opened.bill) {
        // Recognised by its header, yet a row the layout cannot take: nothing is shown, and
        // "更改格式" maps the rows otherwise.
        clearRows();
        ctx_.messages.warn(opened.refusal +
                           QStringLiteral("\n可以按“更改格式”重新指定各列的含义。"));
        return;
    }
    showBill(std::move(*opened.bill));
}

void BillImportDialog::mapTable(const StatementProfile& start, size_t headerRow) {
    StatementMappingDialog mapping(ctx_, sheet_, start, headerRow, this);
    if (runDialog_(mapping) != QDialog::Accepted) {
        // Left as it was: a table still unmapped shows nothing.
        if (!profile_) clearRows();
        return;
    }
    profile_ = mapping.profile();
    headerRow_ = mapping.headerRow();
    formatButton_->setEnabled(true);
    format_->setText(QStringLiteral("格式：") + profile_->name);
    readTable();
}

void BillImportDialog::readTable() {
    // When the rows cannot be read so, they stay for "更改格式" to map them otherwise.
    reading(
        [this] { showBill(StatementReader::read(sheet_, *profile_, headerRow_, accountText())); });
}

void BillImportDialog::showBill(Bill bill) {
    bill.account = accountText();
    bill_ = std::move(bill);
    reading([this] { model_->setRows(import_->plan(bill_), bill_.source); });
}

void BillImportDialog::accountChanged() {
    if (model_->rowCount() == 0 || accountText() == bill_.account) return;
    // The rows are planned again for the account (what was booked into it, its transfers),
    // keeping what the user changed in them.
    const std::vector<BillImport::Planned> before = model_->rows();
    showBill(std::move(bill_));
    std::vector<BillImport::Planned> rows = model_->rows();
    import_->keepEdits(rows, before);
    model_->setRows(std::move(rows), bill_.source);
}

void BillImportDialog::ButFormatClick() {
    if (!profile_) return;
    mapTable(*profile_, headerRow_);
}

QList<int> BillImportDialog::selectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes()) rows.insert(i.row());
    return QList<int>(rows.begin(), rows.end());
}

bool BillImportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        // (While a cell is edited its editor has the keys.)
        const QList<int> rows = selectedRows();
        bool all = true;
        for (int r : rows) {
            const BillImport::Planned& p = model_->rows()[size_t(r)];
            all = all && (p.ticked || p.fixed());
        }
        model_->applyTo(rows, Column::Tick, !all);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void BillImportDialog::tickSelected(bool on) {
    model_->applyTo(selectedRows(), Column::Tick, on);
}

void BillImportDialog::ButApplyClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        ctx_.messages.warn(QStringLiteral("请先选中要修改的行！"));
        return;
    }
    // Kind first: a category is proposed for the kind, then replaced by the one typed.
    const std::pair<Column, QString> values[] = {{Column::Kind, batchKind_->currentText()},
                                                 {Column::Category, batchCategory_->text()},
                                                 {Column::Account, batchAccount_->text()},
                                                 {Column::Member, batchMember_->text()}};
    for (const auto& [column, value] : values) {
        if (value.trimmed().isEmpty()) continue;
        if (!model_->applyTo(rows, column, value)) return;
    }
}

void BillImportDialog::showRow(int index) {
    grid_->selectRow(index);
    grid_->scrollTo(model_->index(index, Column::Tick));
}

QString BillImportDialog::doneMessage(int booked) {
    QString message = SpreadsheetImport::doneMessage(booked);
    if (files_ == Files::Bills) return message;
    const QString balance = BillImport::balanceText(import_->balanceCheck(bill_));
    if (!balance.isEmpty()) message += QStringLiteral("\n") + balance;
    return message;
}

void BillImportDialog::ButImportClick() {
    const auto& rows = model_->rows();
    if (BillImport::count(rows).added == 0) {
        ctx_.messages.warn(QStringLiteral("没有勾选要导入的交易！"));
        return;
    }
    if (account_) {
        // A table's rows book into the account picked; a QIF or OFX row may name its own.
        if (accountText().isEmpty() && bill_.source == Bill::Source::Statement) {
            ctx_.messages.warn(QStringLiteral("请选择账户！"));
            account_->setFocus();
            return;
        }
        // What is shown is what is booked: the account typed but not yet taken plans first.
        if (accountText() != bill_.account) {
            accountChanged();
            return;
        }
    }
    QString why;
    if (const int refused = BillImport::firstRefused(rows, &why); refused >= 0) {
        showRow(refused);
        ctx_.messages.warn(why);
        return;
    }
    int booked = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        booked = import_->book(rows);
    } catch (const PostingRules::Refused& e) {
        QApplication::restoreOverrideCursor();
        ctx_.messages.warn(e.message());
        return;
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        ctx_.messages.warn(QString::fromUtf8(e.what()) + SpreadsheetImport::nothingImported());
        return;
    }
    QApplication::restoreOverrideCursor();
    ctx_.messages.inform(doneMessage(booked));
    ctx_.mySum();
    accept();
}

}  // namespace cw
