#include "import/bills/ui/BillRowsModel.h"

#include <QBrush>
#include <QColor>

#include "import/SpreadsheetImport.h"
#include "import/bills/BillReader.h"
#include "storage/Money.h"
#include "storage/NameText.h"

namespace cw {

namespace {

using Direction = BillRow::Direction;

QString kindText(Direction d) {
    return BillImport::kindText(d);
}

QString statusText(const BillImport::Planned& p) {
    if ((p.ticked && !p.fixed()) || p.why.isEmpty()) return QStringLiteral("新增");
    return p.why;
}

bool fromApp(Bill::Source source) {
    return source == Bill::Source::WeChat || source == Bill::Source::Alipay;
}

// A statement's 摘要 (or a QIF or OFX memo); a bill row's note where it has no other.
QString summaryOf(const BillRow& row) {
    return row.goods.isEmpty() ? row.note : row.goods;
}

}  // namespace

BillRowsModel::BillRowsModel(BillImport& import, QObject* parent)
    : QAbstractTableModel(parent), import_(import), details_(detailsFor({}, source_)) {}

void BillRowsModel::setRows(std::vector<BillImport::Planned> rows, Bill::Source source) {
    beginResetModel();
    rows_ = std::move(rows);
    source_ = source;
    details_ = detailsFor(rows_, source);
    endResetModel();
    emit ticksChanged();
}

int BillRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int BillRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FirstDetail + int(details_.size());
}

std::vector<BillRowsModel::Detail> BillRowsModel::detailsFor(
    const std::vector<BillImport::Planned>& rows, Bill::Source source) {
    if (fromApp(source)) return {Detail::Method, Detail::Type, Detail::Number};
    // A statement's layout decides what it gives; a column no row fills would only take room.
    bool counterparty = false, summary = false, balance = false;
    for (const BillImport::Planned& p : rows) {
        counterparty = counterparty || !p.row.counterparty.isEmpty();
        summary = summary || !summaryOf(p.row).isEmpty();
        balance = balance || p.row.hasBalance;
    }
    // Whom the money went to or came from may be another of the household's accounts.
    std::vector<Detail> out{Detail::Counter};
    if (counterparty) out.push_back(Detail::Counterparty);
    if (summary) out.push_back(Detail::Summary);
    if (balance) out.push_back(Detail::Balance);
    return out;
}

QVariant BillRowsModel::detail(const BillImport::Planned& p, Detail d) const {
    switch (d) {
        case Detail::Method:
            return p.row.method;
        case Detail::Type:
            return p.row.type;
        case Detail::Number:
            return p.row.number;
        case Detail::Counter:
            return BillImport::counterAccount(p);
        case Detail::Counterparty:
            return p.row.counterparty;
        case Detail::Summary:
            return summaryOf(p.row);
        case Detail::Balance:
            return p.row.hasBalance ? Money::display(p.row.balance) : QString();
    }
    return {};
}

QString BillRowsModel::detailTitle(Detail d) const {
    const bool wechat = source_ == Bill::Source::WeChat;
    switch (d) {
        case Detail::Method:
            return wechat ? QStringLiteral("支付方式") : QStringLiteral("收/付款方式");
        case Detail::Type:
            return wechat ? QStringLiteral("交易类型") : QStringLiteral("交易分类");
        case Detail::Number:
            return wechat ? QStringLiteral("交易单号") : QStringLiteral("交易订单号");
        case Detail::Counter:
            return QStringLiteral("对方账户");
        case Detail::Counterparty:
            return QStringLiteral("对方户名");
        case Detail::Summary:
            return QStringLiteral("摘要");
        case Detail::Balance:
            return QStringLiteral("余额");
    }
    return {};
}

bool BillRowsModel::editable(int column) const {
    return column == Kind || column == Date || column == Amount || column == Category ||
           column == Account || column == Member || column == Remark || counterColumn(column);
}

bool BillRowsModel::counterColumn(int column) const {
    return column >= FirstDetail && column - FirstDetail < int(details_.size()) &&
           details_[size_t(column - FirstDetail)] == Detail::Counter;
}

QVariant BillRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const BillImport::Planned& p = rows_[size_t(index.row())];
    const auto column = Column(index.column());
    if (role == Qt::CheckStateRole && column == Tick) {
        // A row booked before, or one that moved no money, has no box to tick: its status
        // says why.
        if (p.fixed()) return {};
        return p.ticked ? Qt::Checked : Qt::Unchecked;
    }
    const bool money =
        column == Amount ||
        (column >= FirstDetail && details_[size_t(column - FirstDetail)] == Detail::Balance);
    if (role == Qt::TextAlignmentRole && money)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole) {
        // Rows that will not be booked read grey; a booked-before row stays grey whatever.
        if (p.fixed() || !p.ticked) return QBrush(QColor(128, 128, 128));
        if (column == Kind)
            return QBrush(p.kind == Direction::In ? QColor(0, 128, 0) : QColor(192, 0, 0));
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (column) {
        case Tick:
            return {};
        case Status:
            return statusText(p);
        case Kind:
            return kindText(p.kind);
        case Date:
            return p.posting.date;
        case Amount: {
            if (role == Qt::EditRole) return p.posting.amount;
            double amount = 0;
            return Money::parse(p.posting.amount, &amount) ? Money::display(amount)
                                                           : p.posting.amount;
        }
        case Category:
            return p.posting.name;
        case Account:
            if (role == Qt::DisplayRole && p.kind == Direction::Transfer)
                return QString(p.posting.account + QStringLiteral("→") + p.posting.target);
            if (!fromApp(source_) && p.kind == Direction::Transfer &&
                p.row.direction == Direction::In)
                return p.posting.target;
            return p.posting.account;
        case Member:
            return p.posting.member;
        case Remark:
            return p.posting.remark;
        default:
            return detail(p, details_[size_t(column - FirstDetail)]);
    }
}

QVariant BillRowsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return rows_[size_t(section)].row.rowNumber;
    switch (Column(section)) {
        case Tick:
            return QStringLiteral("导入");
        case Status:
            return QStringLiteral("状态");
        case Kind:
            return QStringLiteral("收/支");
        case Date:
            return QStringLiteral("日期");
        case Amount:
            return QStringLiteral("金额");
        case Category:
            return QStringLiteral("类别");
        case Account:
            return QStringLiteral("账户");
        case Member:
            return QStringLiteral("家庭成员");
        case Remark:
            return QStringLiteral("备注");
        default:
            return detailTitle(details_[size_t(section - FirstDetail)]);
    }
}

Qt::ItemFlags BillRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (rows_[size_t(index.row())].fixed()) return f;
    const auto column = Column(index.column());
    if (column == Tick) f |= Qt::ItemIsUserCheckable;
    if (editable(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool BillRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    if (index.column() == Tick) {
        if (role != Qt::CheckStateRole) return false;
        return applyTo({index.row()}, Tick, value.toInt() == Qt::Checked);
    }
    if (role != Qt::EditRole) return false;
    return applyTo({index.row()}, Column(index.column()), value);
}

QString BillRowsModel::accepted(Column column, const QString& text, QString* value) const {
    const QString t = text.trimmed();
    switch (column) {
        case Kind:
            // 转账 is offered for a row that is one, so the editor can be left unchanged.
            if (t != kindText(Direction::In) && t != kindText(Direction::Out) &&
                t != kindText(Direction::Transfer))
                return QStringLiteral("收/支 只能是收入或支出！");
            *value = t;
            return QString();
        case Date:
            *value = SpreadsheetImport::dayOf(t);
            return value->isEmpty() ? QStringLiteral("日期 不是有效的日期！请重新录入！")
                                    : QString();
        case Amount: {
            double amount = 0;
            // Typed as shown ("1,234.50") or as the bill writes it ("¥12.50").
            if (!BillReader::parseAmount(t, &amount))
                return QStringLiteral("金额 不是有效的数字！请重新录入！");
            if (Money::round(amount) <= 0) return QStringLiteral("金额 必须大于 0！请重新录入！");
            *value = Money::plain(amount);
            return QString();
        }
        case Category:
        case Account:
        case Member: {
            const QString header = headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            if (t.isEmpty()) return header + QStringLiteral(" 不能为空！请重新录入！");
            if (NameText::hasControl(t)) return NameText::controlMessage();
            *value = SpreadsheetImport::gbkCut(t, BillImport::kNameBytes);
            return QString();
        }
        case Remark:
            *value = SpreadsheetImport::gbkCut(text, BillImport::kRemarkBytes);
            return QString();
        default:
            if (!counterColumn(column)) return QStringLiteral("这一列不能修改！");
            // Emptied, the row is the income or expense the statement shows again.
            if (NameText::hasControl(t)) return NameText::controlMessage();
            *value = SpreadsheetImport::gbkCut(t, BillImport::kNameBytes);
            return QString();
    }
}

bool BillRowsModel::applyTo(const QList<int>& rows, Column column, const QVariant& value) {
    if (column == Tick) {
        bool changed = false;
        for (int r : rows) {
            BillImport::Planned& p = rows_[size_t(r)];
            if (p.fixed() || p.ticked == value.toBool()) continue;
            p.ticked = value.toBool();
            changed = true;
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
        }
        if (changed) emit ticksChanged();
        return changed;
    }
    QString v;
    const QString why = accepted(column, value.toString(), &v);
    if (!why.isEmpty()) {
        emit refused(why);
        return false;
    }
    bool ticks = false;
    for (int r : rows) {
        if (rows_[size_t(r)].fixed()) continue;
        const bool wasTicked = rows_[size_t(r)].ticked;
        set(r, column, v);
        ticks = ticks || wasTicked != rows_[size_t(r)].ticked;
    }
    // Carried proposals may sit anywhere in the list.
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (ticks) emit ticksChanged();
    return true;
}

void BillRowsModel::set(int row, Column column, const QString& value) {
    BillImport::Planned& p = rows_[size_t(row)];
    switch (column) {
        case Kind: {
            if (value == kindText(Direction::Transfer)) return;
            const Direction kind =
                value == kindText(Direction::In) ? Direction::In : Direction::Out;
            if (kind == p.kind) return;
            // A statement's transfer made an income or expense again books to its own account.
            if (!fromApp(source_)) import_.setCounterAccount(p, QString());
            p.kind = kind;
            if (p.categoryPick == 0) p.posting.name = import_.proposeCategory(p.row, kind);
            // Giving a row a kind is asking for it to be booked.
            p.ticked = true;
            return;
        }
        case Date:
            p.posting.date = value;
            return;
        case Amount:
            p.posting.amount = value;
            return;
        case Category: {
            const QString key = BillImport::categoryKey(p.row);
            for (BillImport::Planned& other : rows_) {
                if (&other == &p || other.categoryPick > 0 || other.kind != p.kind ||
                    other.fixed() || BillImport::categoryKey(other.row) != key)
                    continue;
                other.posting.name = value;
            }
            p.posting.name = value;
            p.categoryPick = ++picks_;
            return;
        }
        case Account:
            for (BillImport::Planned& other : rows_) {
                if (&other == &p || other.accountPick > 0 || other.methodKey != p.methodKey ||
                    other.fixed())
                    continue;
                setOwnAccount(other, value);
            }
            setOwnAccount(p, value);
            p.accountPick = ++picks_;
            return;
        case Member:
            p.posting.member = value;
            p.memberPick = ++picks_;
            return;
        case Remark:
            p.posting.remark = value;
            return;
        default:
            if (!counterColumn(column)) return;
            import_.setCounterAccount(p, value);
            p.counterPick = ++picks_;
            p.ticked = true;
            return;
    }
}

void BillRowsModel::setOwnAccount(BillImport::Planned& p, const QString& account) const {
    // Money a statement's transfer brought in reaches the statement's own account.
    if (!fromApp(source_) && p.kind == Direction::Transfer && p.row.direction == Direction::In)
        p.posting.target = account;
    else
        p.posting.account = account;
}

}  // namespace cw
