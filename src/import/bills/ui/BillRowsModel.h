#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <vector>

#include "import/bills/BillImport.h"

namespace cw {

// The bill preview: one line per row of the bill with what booking would make of it. The
// user ticks rows and changes what is proposed, one cell at a time or for several rows at
// once (applyTo). A category or account the user picks for one row is carried to the other
// rows of the same counterparty or payment method whose proposal the user has not changed,
// the way the remembered mapping will propose it next time. Rows already booked are shown
// "已导入" and cannot be ticked or changed.
//
// After the columns booking uses come a few the file gives for reference, chosen by its kind:
// a payment app's method, category and transaction number; a statement's counterparty, remark
// and balance, each only when some row carries it.
class BillRowsModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column : int {
        Tick,
        Status,
        Kind,
        Date,
        Amount,
        Category,
        Account,
        Member,
        Remark,
        FirstDetail  // the file's own columns start here
    };
    // Counter: the book's account a statement row's counterparty is (a transfer), editable.
    enum class Detail { Method, Type, Number, Counter, Counterparty, Summary, Balance };

    explicit BillRowsModel(BillImport& import, QObject* parent = nullptr);

    void setRows(std::vector<BillImport::Planned> rows, Bill::Source source);
    const std::vector<BillImport::Planned>& rows() const { return rows_; }
    Bill::Source source() const { return source_; }
    // The file's own columns shown after Remark, in order.
    const std::vector<Detail>& details() const { return details_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Sets one column of several rows (rows already booked are left out); Tick takes a bool.
    // A value that cannot be taken is refused once, with the field's message, and nothing
    // changes.
    bool applyTo(const QList<int>& rows, Column column, const QVariant& value);

    // Whether the user may change the column (of a row not yet booked).
    bool editable(int column) const;
    // Whether the column is a statement's 对方账户.
    bool counterColumn(int column) const;

  signals:
    // A value was refused; the dialog shows the message.
    void refused(const QString& message);
    // The ticks changed; the dialog updates its counts.
    void ticksChanged();

  private:
    static std::vector<Detail> detailsFor(const std::vector<BillImport::Planned>& rows,
                                          Bill::Source source);
    QVariant detail(const BillImport::Planned& p, Detail d) const;
    QString detailTitle(Detail d) const;
    // The value as the row will hold it, or a message why it cannot.
    QString accepted(Column column, const QString& text, QString* value) const;
    void set(int row, Column column, const QString& value);
    // The account the row's money is in (for a statement's transfer in, the receiving one).
    void setOwnAccount(BillImport::Planned& p, const QString& account) const;

    BillImport& import_;
    std::vector<BillImport::Planned> rows_;
    Bill::Source source_ = Bill::Source::WeChat;
    std::vector<Detail> details_;
    int picks_ = 0;  // picks made so far, numbering the next
};

}  // namespace cw
