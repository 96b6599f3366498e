#include "books/BookManager.h"

#include "books/BookCreation.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

BookManager::Result refuse(const QString& message) {
    return {message};
}

}  // namespace

const QString BookManager::kRenamed = QStringLiteral("账簿名称 修改成功，请重新打开 Coinwick ！");
const QString BookManager::kDeleteQuestion =
    QStringLiteral("确认要删除吗？该删除将将删除该账簿所有记账数据！");

BookManager::BookManager(TfrmDM& dm) : dm_(dm) {}

const QStringList& BookManager::renameTables() {
    // The notes belong to the book like everything else: left out, they would vanish from
    // the renamed book and turn up in a later book of the old name.
    static const QStringList tables = {
        QStringLiteral("BList"),    QStringLiteral("Borrow"),    QStringLiteral("BorrowR"),
        QStringLiteral("ChangeT"),  QStringLiteral("Debt"),      QStringLiteral("DebtR"),
        QStringLiteral("DList"),    QStringLiteral("InD"),       QStringLiteral("InTable"),
        QStringLiteral("OutD"),     QStringLiteral("OutTable"),  QStringLiteral("PD"),
        QStringLiteral("SAccount"), QStringLiteral("SBook"),     QStringLiteral("SFamily"),
        QStringLiteral("SMRB"),     QStringLiteral("SMRX"),      QStringLiteral("TD"),
        QStringLiteral("TList"),    QStringLiteral("TTable"),    QStringLiteral("TTableR"),
        QStringLiteral("UList"),    QStringLiteral("UPlan"),     QStringLiteral("UWarn"),
        QStringLiteral("UThing"),   QStringLiteral("SBillDone"), QStringLiteral("SBillMap"),
    };
    return tables;
}

const QStringList& BookManager::deleteTables() {
    static const QStringList tables = [] {
        QStringList t = renameTables();
        t.removeAll(QStringLiteral("SBook"));
        t << QStringLiteral("SBook");
        return t;
    }();
    return tables;
}

Query BookManager::books() {
    return dm_.db().query(
        QStringLiteral("SELECT BName AS 账簿名称, BDate AS 创建日期, Remark AS 备注, ID "
                       "FROM SBook ORDER BY ID DESC"));
}

bool BookManager::exists(const QString& name) {
    return !dm_.db()
                .query(QStringLiteral("SELECT ID FROM SBook WHERE BName=? LIMIT 1"), name)
                .isEmpty();
}

BookManager::Result BookManager::rename(const QString& oldName, const QString& newName) {
    if (newName.isEmpty()) return refuse(QStringLiteral("账簿名称 不能为空！"));
    if (newName == oldName) return refuse(QStringLiteral("账簿名称 不能和以前一样！"));
    // The same rules as a new book's name: a name no field can hold or show is refused.
    if (newName.size() > BookCreation::kMaxBookNameLength)
        return refuse(QStringLiteral("账簿名称 长度不能大于20！"));
    if (NameText::hasControl(newName)) return refuse(NameText::controlMessage());
    Transaction tx(dm_.db());
    if (exists(newName)) return refuse(QStringLiteral("账簿名称 已经存在！"));
    if (!exists(oldName)) return refuse(QStringLiteral("账簿名称 不存在！"));
    for (const QString& table : renameTables()) {
        dm_.myESql(QStringLiteral("UPDATE %1 SET BName = ? WHERE BName = ?").arg(table), newName,
                   oldName);
    }
    tx.commit();
    if (dm_.book() == oldName) dm_.state().myBName = newName;
    return {};
}

BookManager::Result BookManager::remove(const QString& name) {
    if (name == dm_.book()) return refuse(QStringLiteral("不能删除当前打开账簿！"));
    Transaction tx(dm_.db());
    if (!exists(name)) return refuse(QStringLiteral("账簿名称 不存在！"));
    for (const QString& table : deleteTables()) {
        dm_.myESql(QStringLiteral("DELETE FROM %1 WHERE BName = ?").arg(table), name);
    }
    tx.commit();
    return {};
}

}  // namespace cw
