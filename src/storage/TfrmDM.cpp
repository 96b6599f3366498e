#include "storage/TfrmDM.h"

#include "storage/Money.h"
#include "storage/PinyinCode.h"
#include "storage/SortClause.h"

namespace cw {

namespace {

// Typed text is searched literally: the user's % and _ are ordinary characters.
QString likePattern(const QString& typed) {
    QString escaped;
    escaped.reserve(typed.size() + 2);
    for (const QChar c : typed) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
            escaped += QLatin1Char('\\');
        }
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

}  // namespace

TfrmDM::TfrmDM(Database& db, GlobalState& state, Clock clock)
    : db_(db), state_(state), clock_(clock) {}

void TfrmDM::moveBalance(double delta, const QString& account) {
    db_.exec(
        QStringLiteral("UPDATE SAccount SET AMoney=round(AMoney+?,2) WHERE AName=? AND BName=?"),
        delta, account, book());
}

void TfrmDM::AccountUp(double amount, const QString& account) {
    moveBalance(amount, account);
}

void TfrmDM::AccountDown(double amount, const QString& account) {
    moveBalance(-amount, account);
}

double TfrmDM::balance(const QString& account) {
    Statement st = db_.prepare(QStringLiteral(
        "SELECT AMoney FROM SAccount WHERE BName=? AND AName=? ORDER BY ID LIMIT 1"));
    st.bindAll(book(), account);
    return st.step() ? st.number(0) : 0.0;
}

QString TfrmDM::RetAMoney(const QString& account) {
    return Money::plain(balance(account));
}

qint64 TfrmDM::List_Add(const QString& theDate, const QString& theType, const QString& remark,
                        double theIn, double theOut, const QString& account, const QString& member,
                        const QString& theT, qint64 theID, const QString& theE) {
    const double after = balance(account);
    db_.exec(QStringLiteral("INSERT INTO UList(theDate,theType,Remark,theIn,theOut,AName,AMoney,"
                            "FName,BName,theT,theID,theE) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)"),
             theDate, theType, remark, Money::round(theIn), Money::round(theOut), account, after,
             member, book(), theT, theID, theE);
    return db_.lastInsertId();
}

QString TfrmDM::myRetID(const QString& table) {
    db_.requireColumn(table, QStringLiteral("ID"));
    Statement st =
        db_.prepare(QStringLiteral("SELECT ID FROM %1 ORDER BY ID DESC LIMIT 1").arg(table));
    return st.step() ? st.text(0) : QString();
}

void TfrmDM::myCountUp(const QString& table, const QString& nameColumn, const QString& name) {
    db_.requireColumn(table, nameColumn);
    db_.exec(QStringLiteral("UPDATE %1 SET theCount=theCount+1 WHERE %2=? AND BName=?")
                 .arg(table, nameColumn),
             name, book());
}

void TfrmDM::myState(const QString& table, const QString& state, qint64 id) {
    db_.requireColumn(table, QStringLiteral("theState"));
    db_.exec(QStringLiteral("UPDATE %1 SET theState=? WHERE ID=?").arg(table), state, id);
}

bool TfrmDM::mySaveNew(const QString& table, const QString& nameColumn, const QString& name) {
    db_.requireColumn(table, nameColumn);
    Statement found = db_.prepare(
        QStringLiteral("SELECT ID FROM %1 WHERE %2=? AND BName=? LIMIT 1").arg(table, nameColumn));
    found.bindAll(name, book());
    if (found.step()) return false;
    db_.exec(QStringLiteral("INSERT INTO %1(%2,BName,theState,theCount,thePY) "
                            "VALUES(?,?,'启用',0,?)")
                 .arg(table, nameColumn),
             name, book(), PinyinCode::of(name));
    return true;
}

bool TfrmDM::NewFamily(const QString& member) {
    Statement found =
        db_.prepare(QStringLiteral("SELECT ID FROM SFamily WHERE FName=? AND BName=? LIMIT 1"));
    found.bindAll(member, book());
    if (found.step()) return false;
    db_.exec(QStringLiteral("INSERT INTO SFamily(FName,BName,thePY,theGX,BirDate,Remark) "
                            "VALUES(?,?,?,'','','')"),
             member, book(), PinyinCode::of(member));
    return true;
}

bool TfrmDM::NewAccount(const QString& account, const QString& member) {
    Statement found =
        db_.prepare(QStringLiteral("SELECT ID FROM SAccount WHERE AName=? AND BName=? LIMIT 1"));
    found.bindAll(account, book());
    if (found.step()) return false;
    db_.exec(QStringLiteral("INSERT INTO SAccount(AName,BName,thePY,theState,theCount,Remark,"
                            "AMoney,theType,FName) VALUES(?,?,?,'启用',0,'',0,'现金',?)"),
             account, book(), PinyinCode::of(account), member);
    return true;
}

std::pair<QString, QString> TfrmDM::monthRange(const QString& yearMonth) {
    QString upper = yearMonth;
    if (!upper.isEmpty()) upper[upper.size() - 1] = QChar(upper.back().unicode() + 1);
    return {yearMonth, upper};
}

double TfrmDM::myRetMMoney(const QString& table, const QString& member, const QString& moneyColumn,
                           const QString& dateColumn) {
    db_.requireColumn(table, moneyColumn);
    db_.requireColumn(table, dateColumn);
    const auto [from, to] = monthRange(clock_.monthText());
    Statement st = db_.prepare(QStringLiteral("SELECT Sum(%1) FROM %2 WHERE BName=? AND FName=? "
                                              "AND %3>=? AND %3<?")
                                   .arg(moneyColumn, table, dateColumn));
    st.bindAll(book(), member, from, to);
    return st.step() ? Money::round(st.number(0)) : 0.0;
}

QStringList TfrmDM::namesOf(const QString& table, const QString& nameColumn) {
    db_.requireColumn(table, nameColumn);
    return db_
        .query(QStringLiteral("SELECT %1 FROM %2 WHERE BName=? AND theState='启用'")
                       .arg(nameColumn, table) +
                   SortClause::lists(state_.myPX, nameColumn),
               book())
        .firstColumn();
}

QStringList TfrmDM::ComInType() {
    return namesOf(QStringLiteral("InD"), QStringLiteral("IName"));
}
QStringList TfrmDM::ComOutType() {
    return namesOf(QStringLiteral("OutD"), QStringLiteral("OName"));
}
QStringList TfrmDM::ComTZType() {
    return namesOf(QStringLiteral("TD"), QStringLiteral("TName"));
}
QStringList TfrmDM::ComPType() {
    return namesOf(QStringLiteral("PD"), QStringLiteral("PName"));
}
QStringList TfrmDM::ComAccount() {
    return namesOf(QStringLiteral("SAccount"), QStringLiteral("AName"));
}

QStringList TfrmDM::ComFamily() {
    return db_
        .query(QStringLiteral("SELECT FName FROM SFamily WHERE BName=?") +
                   SortClause::family(state_.myPX),
               book())
        .firstColumn();
}

QStringList TfrmDM::DBComSBook() {
    return db_.query(QStringLiteral("SELECT BName FROM SBook ORDER BY ID")).firstColumn();
}

QStringList TfrmDM::DBComSAType() {
    return db_.query(QStringLiteral("SELECT theName FROM SAType ORDER BY ID")).firstColumn();
}

QStringList TfrmDM::DBComSZType() {
    return db_
        .query(QStringLiteral("SELECT theType FROM UList WHERE BName=? GROUP BY theType "
                              "ORDER BY NameKey(theType)"),
               book())
        .firstColumn();
}

QStringList TfrmDM::searchNames(const QString& typed, const QString& nameColumn,
                                const QString& table, int limit) {
    db_.requireColumn(table, nameColumn);
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE BName=?").arg(nameColumn, table);
    if (table.compare(QLatin1String("SFamily"), Qt::CaseInsensitive) != 0) {
        sql += QStringLiteral(" AND theState='启用'");
    }
    sql += QStringLiteral(" AND (%1 LIKE ? ESCAPE '\\' OR thePY LIKE ? ESCAPE '\\') ORDER BY ID")
               .arg(nameColumn);
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    const QString pattern = likePattern(typed);
    return db_.query(sql, book(), pattern, pattern).firstColumn();
}

std::optional<QString> TfrmDM::mySelectCom(const QString& typed, const QString& nameColumn,
                                           const QString& table) {
    // Two rows are enough to know the match is not unique.
    const QStringList names = searchNames(typed, nameColumn, table, 2);
    if (names.size() == 1) return names.front();
    return std::nullopt;
}

void TfrmDM::myShow(bool on) {
    if (menuSwitch_) menuSwitch_(on);
}

}  // namespace cw
