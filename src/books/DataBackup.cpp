#include "books/DataBackup.h"

#include <QDir>

#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

const QString DataBackup::kDone = QStringLiteral("数据备份成功！");
const QString DataBackup::kFailed = QStringLiteral("数据备份失败！");
const QString DataBackup::kEmptyPath = QStringLiteral("路径不能为空！");
const QString DataBackup::kYes = QStringLiteral("是");
const QString DataBackup::kNo = QStringLiteral("否");

DataBackup::DataBackup(TfrmDM& dm) : dm_(dm) {}

QString DataBackup::fileName(const QString& today) {
    return today + QStringLiteral(".kbk");
}

QString DataBackup::targetIn(const QString& folder) const {
    const QString& today = dm_.state().myToday;
    return QDir(folder).filePath(fileName(today.isEmpty() ? dm_.clock().todayText() : today));
}

DataBackup::Result DataBackup::backup(const QString& path) {
    if (path.isEmpty()) return {false, kEmptyPath, QString()};
    try {
        dm_.db().backupTo(path);
    } catch (const DbError& e) {
        return {false, kFailed, e.message()};
    }
    return {true, kDone, QString()};
}

bool DataBackup::autoBackup() const {
    return dm_.state().myAutoBackup == kYes;
}

void DataBackup::setAutoBackup(bool on) {
    const QString value = on ? kYes : kNo;
    Transaction tx(dm_.db());
    dm_.myESql(QStringLiteral("UPDATE SBase SET theB = ? WHERE (ID = 1)"), value);
    tx.commit();
    dm_.state().myAutoBackup = value;
}

void DataBackup::loadAutoBackup() {
    const Query q = dm_.db().query(QStringLiteral("SELECT theB FROM SBase WHERE ID=1"));
    dm_.state().myAutoBackup = q.isEmpty() ? QString() : q.text(QStringLiteral("theB"));
}

}  // namespace cw
