#include "bookkeeping/ui/TfrmBList.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

#include "bookkeeping/SubPostingKind.h"
#include "bookkeeping/SubPostingRules.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "widgets/Dialogs.h"

namespace cw {

namespace {

void put(QTableWidget* table, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    table->setItem(row, column, item);
}

// Amounts read as in the main grids: separators, two decimals, right-aligned.
void putMoney(QTableWidget* table, int row, int column, double amount) {
    put(table, row, column, Money::display(amount));
    table->item(row, column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

TfrmBList::TfrmBList(AppContext& ctx, const PostingKind& kind, Records records, qint64 parentId,
                     QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind), records_(records), parentId_(parentId) {
    const SubPostingKind& sub = *SubPostingKind::of(kind);
    const bool settlements = records == Records::Settlements;
    setObjectName(settlements ? kind.className + QStringLiteral("_V")
                              : QStringLiteral("TfrmBList"));
    setWindowTitle(settlements ? sub.settleRecords : sub.changeRecords);

    table_ = new QTableWidget(this);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    QStringList titles;
    if (!settlements) {
        titles = {QStringLiteral("日期"), QStringLiteral("增减金额"), QStringLiteral("账户名称"),
                  QStringLiteral("家庭成员"), QStringLiteral("备注")};
    } else if (sub.hasProfit()) {
        titles = {QStringLiteral("收益日期"), QStringLiteral("收回本金"),
                  QStringLiteral("收益金额"), QStringLiteral("账户名称"),
                  QStringLiteral("家庭成员"), QStringLiteral("备注")};
    } else {
        titles = {QStringLiteral("日期"), sub.settleLabel, QStringLiteral("账户名称"),
                  QStringLiteral("家庭成员"), QStringLiteral("备注")};
    }
    table_->setColumnCount(int(titles.size()));
    table_->setHorizontalHeaderLabels(titles);

    auto* box = new QVBoxLayout(this);
    box->addWidget(table_);

    if (settlements) {
        popup_ = new QMenu(this);
        delete_ = popup_->addAction(QStringLiteral("删除 &D"));
        connect(delete_, &QAction::triggered, this, &TfrmBList::DeleteClick);
        table_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(table_, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& at) { popup_->popup(table_->viewport()->mapToGlobal(at)); });
    }
    reload();
}

void TfrmBList::reload() {
    const SubPostingKind& sub = *SubPostingKind::of(kind_);
    table_->setRowCount(0);
    ids_.clear();
    try {
        if (records_ == Records::Settlements) {
            const auto list = SubPostingRules(ctx_.dm).settlements(kind_, parentId_);
            table_->setRowCount(int(list.size()));
            int row = 0;
            for (const SubPostingRules::Settlement& s : list) {
                ids_.push_back(s.id);
                int c = 0;
                put(table_, row, c++, s.date);
                putMoney(table_, row, c++, s.amount);
                if (sub.hasProfit()) putMoney(table_, row, c++, s.profit);
                put(table_, row, c++, s.account);
                put(table_, row, c++, s.member);
                put(table_, row, c++, s.remark);
                ++row;
            }
        } else {
            Query q = ctx_.db.query(
                QStringLiteral("SELECT theDate,theMoney,AName,FName,Remark FROM %1 WHERE %2=? "
                               "ORDER BY theDate DESC")
                    .arg(sub.changeTable, sub.changeKey),
                parentId_);
            for (q.first(); !q.eof(); q.next()) {
                const int row = table_->rowCount();
                table_->insertRow(row);
                put(table_, row, 0, q.text(QStringLiteral("theDate")));
                putMoney(table_, row, 1, q.number(QStringLiteral("theMoney")));
                put(table_, row, 2, q.text(QStringLiteral("AName")));
                put(table_, row, 3, q.text(QStringLiteral("FName")));
                put(table_, row, 4, q.text(QStringLiteral("Remark")));
            }
        }
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    if (table_->rowCount() > 0) table_->selectRow(0);
    fitColumns();
}

void TfrmBList::fitColumns() {
    // Every column wide enough for its title and its longest value; the remark takes what
    // is left, and the window opens wide enough to show them all.
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    int width = 0;
    for (int c = 0; c < table_->columnCount(); ++c) {
        const int min = c == table_->columnCount() - 1 ? 200 : 96;
        table_->setColumnWidth(c, qMax(table_->columnWidth(c) + 16, min));
        width += table_->columnWidth(c);
    }
    resize(qMin(width + 48, 1100), qMax(height(), 360));
}

void TfrmBList::DeleteClick() {
    if (records_ != Records::Settlements || ids_.empty()) return;
    const int row = table_->currentRow();
    if (row < 0 || row >= int(ids_.size())) return;
    if (!Dialogs::askDelete(ctx_.messages)) return;
    try {
        SubPostingRules(ctx_.dm).removeSettlement(kind_, ids_[size_t(row)]);
    } catch (const PostingRules::Refused& e) {
        ctx_.messages.warn(e.message());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    reload();
}

}  // namespace cw
