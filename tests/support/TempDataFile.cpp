#include "support/TempDataFile.h"

#include <QDir>
#include <QFile>

#include "storage/DataFile.h"
#include "storage/PinyinCode.h"

namespace cw::test {

namespace {

// Writing a data file costs a few dozen milliseconds; every test copies one made once.
QString templateFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = DataFile::pathIn(dir.path());
        DataFile::make(p);
        return p;
    }();
    return path;
}

}  // namespace

TempDataFile::TempDataFile(const QDate& today) : today_(today) {
    QDir().mkpath(dir_.path() + QStringLiteral("/Data"));
    QFile::copy(templateFile(), dataPath());
    state_.myToday = today.toString(QStringLiteral("yyyy-MM-dd"));
    state_.myTodayText = state_.myToday;
    state_.myVersion = GlobalState::version();
    reopen();
}

QString TempDataFile::dataPath() const {
    return DataFile::pathIn(dir_.path());
}

void TempDataFile::reopen() {
    dm_.reset();
    db_.reset();
    db_ = Database::open(dataPath());
    dm_ = std::make_unique<TfrmDM>(*db_, state_, Clock::fixed(today_));
}

void TempDataFile::addBook(const QString& name, const QString& password, const QString& px,
                           const QString& jzpx) {
    db_->exec(QStringLiteral("INSERT INTO SBook(BName,BPass,BDate,Remark,thePX,theJZPX) "
                             "VALUES(?,?,?,'',?,?)"),
              name, password, state_.myToday, px.toInt(), jzpx.toInt());
    db_->exec(QStringLiteral("INSERT INTO SMRX(BName,BPassKG,BPass,TX_M) VALUES(?,0,'',-1)"), name);
    openBook(name);
}

void TempDataFile::openBook(const QString& name) {
    const Query q =
        db_->query(QStringLiteral("SELECT thePX, theJZPX FROM SBook WHERE BName=?"), name);
    state_.myBName = name;
    state_.myPX = q.text(QStringLiteral("thePX"));
    state_.myJZPX = q.text(QStringLiteral("theJZPX"));
}

void TempDataFile::addAccount(const QString& name, double balance, const QString& member,
                              const QString& type) {
    db_->exec(QStringLiteral("INSERT INTO SAccount(AName,BName,thePY,theType,FName,AMoney,Remark,"
                             "theState,theCount) VALUES(?,?,?,?,?,?,'','启用',0)"),
              name, state_.myBName, PinyinCode::of(name), type, member, balance);
}

int TempDataFile::count(const QString& table) {
    return int(db_->query(QStringLiteral("SELECT count(*) AS n FROM ") + table)
                   .integer(QStringLiteral("n")));
}

}  // namespace cw::test
