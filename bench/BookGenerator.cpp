#include "BookGenerator.h"

#include <cstring>

#include <cstdlib>

#include <cstdio>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <random>
#include <vector>

#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

// Raised whenever the generated rows change, so cached files of the old rules are not reused.
constexpr const char* kGeneratorVersion = "bookgen-1";

// Ten years of postings, oldest first: a household enters its postings roughly in date order,
// which is also what keeps every date index growing at its end.
const QDate kFirstDay(2016, 1, 1);
const QDate kLastDay(2025, 12, 31);

struct SeedAccount {
    const char* name;
    const char* type;
    int owner;         // index into members()
    qint64 openCents;  // opening balance
};

const SeedAccount kAccounts[] = {
    {"现金钱包", "现金", 0, 200'000},     {"工行卡", "银行卡", 0, 5'000'000},
    {"招行卡", "银行卡", 1, 3'000'000},   {"Visa信用卡", "信用卡", 0, 0},
    {"招行信用卡", "信用卡", 1, 0},       {"支付宝", "电子账户", 1, 500'000},
    {"微信钱包", "电子账户", 2, 100'000}, {"公积金", "其它", 0, 8'000'000},
};

QStringList fromUtf8List(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* n : names) out << QString::fromUtf8(n);
    return out;
}

// A posting's amount in cents, evenly spread between two bounds.
double amount(std::mt19937_64& rng, qint64 loCents, qint64 hiCents) {
    std::uniform_int_distribution<qint64> d(loCents, hiCents);
    return double(d(rng)) / 100.0;
}

template <typename T>
const T& pick(std::mt19937_64& rng, const std::vector<T>& from) {
    std::uniform_int_distribution<size_t> d(0, from.size() - 1);
    return from[d(rng)];
}

QString fingerprint() {
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(QByteArray(DataFile::schemaSql()));
    h.addData(QByteArray(kGeneratorVersion));
    return QString::fromLatin1(h.result().toHex().left(8));
}

// Writes the postings, one batch per transaction. Each posting takes the path of a screen
// save: its own row, then the balance move, then the journal row with the balance after it.
class Writer {
  public:
    Writer(TfrmDM& dm, qint64 total) : dm_(dm), total_(total), rng_(20160101) {
        const int days = int(kFirstDay.daysTo(kLastDay)) + 1;
        dates_.reserve(size_t(days));
        for (int d = 0; d < days; ++d) {
            dates_.push_back(kFirstDay.addDays(d).toString(QStringLiteral("yyyy-MM-dd")));
        }
        for (const QString& n : BookGenerator::members()) members_.push_back(n);
        for (const QString& n : BookGenerator::incomeCategories()) income_.push_back(n);
        for (const QString& n : BookGenerator::expenseCategories()) expense_.push_back(n);
        for (const QString& n : BookGenerator::investmentCategories()) invest_.push_back(n);
        for (const QString& n : BookGenerator::contacts()) contacts_.push_back(n);
        const QStringList accounts = BookGenerator::accounts();
        // Salaries land on the bank cards; spending comes mostly from the cards and wallets.
        incomeAccounts_ = {accounts[1], accounts[1], accounts[2], accounts[5], accounts[0]};
        spendAccounts_ = {accounts[0], accounts[3], accounts[4], accounts[5],
                          accounts[5], accounts[6], accounts[1], accounts[2]};
        for (int i = 0; i < 7; ++i) transferAccounts_.push_back(accounts[i]);
        remarks_ = {QString(),
                    QString(),
                    QString(),
                    QString(),
                    QStringLiteral("超市"),
                    QStringLiteral("网购"),
                    QStringLiteral("和同事聚餐"),
                    QStringLiteral("月初固定"),
                    QStringLiteral("for 100% sure: it's paid"),
                    QStringLiteral("家里人一起")};
    }

    void post(qint64 i) {
        const QString& date = dates_[size_t(i * qint64(dates_.size()) / total_)];
        const QString& member = pick(rng_, members_);
        const QString& remark = pick(rng_, remarks_);
        const int kind = std::uniform_int_distribution<int>(0, 999)(rng_);
        if (kind < 300) {
            income(date, member, remark);
        } else if (kind < 900) {
            expense(date, member, remark);
        } else if (kind < 960) {
            transfer(date, member, remark);
        } else if (kind < 973) {
            borrow(date, member, remark);
        } else if (kind < 986) {
            lend(date, member, remark);
        } else {
            invest(date, member, remark);
        }
    }

  private:
    void income(const QString& date, const QString& member, const QString& remark) {
        const QString& category = pick(rng_, income_);
        const QString& account = pick(rng_, incomeAccounts_);
        const double money = amount(rng_, 10'000, 2'000'000);
        dm_.myESql(
            QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName,Remark) "
                           "VALUES(?,?,?,?,?,?,?)"),
            dm_.book(), date, category, money, account, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        dm_.AccountUp(money, account);
        dm_.List_Add(date, category, remark, money, 0, account, member, QStringLiteral("InTable"),
                     id, added());
    }

    void expense(const QString& date, const QString& member, const QString& remark) {
        const QString& category = pick(rng_, expense_);
        const QString& account = pick(rng_, spendAccounts_);
        const double money = amount(rng_, 100, 200'000);
        dm_.myESql(QStringLiteral("INSERT INTO OutTable(BName,ODate,OName,OMoney,AName,FName,"
                                  "Remark) VALUES(?,?,?,?,?,?,?)"),
                   dm_.book(), date, category, money, account, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        dm_.AccountDown(money, account);
        dm_.List_Add(date, category, remark, 0, money, account, member, QStringLiteral("OutTable"),
                     id, added());
    }

    void transfer(const QString& date, const QString& member, const QString& remark) {
        const QString& from = pick(rng_, transferAccounts_);
        QString to = from;
        while (to == from) to = pick(rng_, transferAccounts_);
        const double money = amount(rng_, 10'000, 500'000);
        dm_.myESql(QStringLiteral("INSERT INTO ChangeT(BName,CDate,OldN,NewN,CMoney,FName,Remark) "
                                  "VALUES(?,?,?,?,?,?,?)"),
                   dm_.book(), date, from, to, money, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        // Two movements, two journal rows, each with its own account's balance after it.
        dm_.AccountDown(money, from);
        dm_.List_Add(date, QStringLiteral("转出"), remark, 0, money, from, member,
                     QStringLiteral("ChangeT"), id, added());
        dm_.AccountUp(money, to);
        dm_.List_Add(date, QStringLiteral("转入"), remark, money, 0, to, member,
                     QStringLiteral("ChangeT"), id, added());
    }

    void borrow(const QString& date, const QString& member, const QString& remark) {
        const QString& contact = pick(rng_, contacts_);
        const QString& account = pick(rng_, incomeAccounts_);
        const double money = amount(rng_, 50'000, 5'000'000);
        dm_.myESql(QStringLiteral("INSERT INTO Borrow(BName,BDate,BPro,BMoney,RMoney,AName,FName,"
                                  "Remark) VALUES(?,?,?,?,0,?,?,?)"),
                   dm_.book(), date, contact, money, account, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        dm_.AccountUp(money, account);
        dm_.List_Add(date, QStringLiteral("借入"), remark, money, 0, account, member,
                     QStringLiteral("Borrow"), id, added());
    }

    void lend(const QString& date, const QString& member, const QString& remark) {
        const QString& contact = pick(rng_, contacts_);
        const QString& account = pick(rng_, incomeAccounts_);
        const double money = amount(rng_, 50'000, 5'000'000);
        dm_.myESql(QStringLiteral("INSERT INTO Debt(BName,DDate,DPro,DMoney,RMoney,AName,FName,"
                                  "Remark) VALUES(?,?,?,?,0,?,?,?)"),
                   dm_.book(), date, contact, money, account, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        dm_.AccountDown(money, account);
        dm_.List_Add(date, QStringLiteral("借出"), remark, 0, money, account, member,
                     QStringLiteral("Debt"), id, added());
    }

    void invest(const QString& date, const QString& member, const QString& remark) {
        const QString& category = pick(rng_, invest_);
        const QString& account = pick(rng_, incomeAccounts_);
        const double money = amount(rng_, 100'000, 5'000'000);
        dm_.myESql(QStringLiteral("INSERT INTO TTable(BName,TDate,TName,TMoney,RMoney,AName,FName,"
                                  "Remark) VALUES(?,?,?,?,0,?,?,?)"),
                   dm_.book(), date, category, money, account, member, remark);
        const qint64 id = dm_.db().lastInsertId();
        dm_.AccountDown(money, account);
        dm_.List_Add(date, category, remark, 0, money, account, member, QStringLiteral("TTable"),
                     id, added());
    }

    static QString added() { return QStringLiteral("新增"); }

    TfrmDM& dm_;
    qint64 total_;
    std::mt19937_64 rng_;
    std::vector<QString> dates_;
    std::vector<QString> members_, income_, expense_, invest_, contacts_, remarks_;
    std::vector<QString> incomeAccounts_, spendAccounts_, transferAccounts_;
};

}  // namespace

QString BookGenerator::bookName() {
    return QStringLiteral("我家账簿");
}

QStringList BookGenerator::members() {
    return fromUtf8List({"爸爸", "妈妈", "女儿"});
}

QStringList BookGenerator::accounts() {
    QStringList out;
    for (const SeedAccount& a : kAccounts) out << QString::fromUtf8(a.name);
    return out;
}

QStringList BookGenerator::accountTypes() {
    QStringList out;
    for (const SeedAccount& a : kAccounts) out << QString::fromUtf8(a.type);
    return out;
}

QStringList BookGenerator::incomeCategories() {
    return fromUtf8List({"工资", "奖金", "加班费", "兼职收入", "利息收入", "理财收益", "租金收入",
                         "报销", "红包收入", "退款", "礼金收入", "其他收入"});
}

QStringList BookGenerator::expenseCategories() {
    return fromUtf8List({"餐费", "买菜", "水电煤气", "房租", "交通", "通讯", "服装", "医疗", "教育",
                         "娱乐", "人情往来", "日用品"});
}

QStringList BookGenerator::investmentCategories() {
    return fromUtf8List({"股票", "基金", "国债", "定期存款", "黄金", "银行理财", "保险", "货币基金",
                         "债券基金", "可转债", "外汇", "期货"});
}

QStringList BookGenerator::contacts() {
    return fromUtf8List({"张三", "李四", "王五", "赵六", "老陈"});
}

void BookGenerator::write(const QString& path, const Progress& progress) const {
    DataFile::make(path);
    auto db = Database::open(path);
    GlobalState state;
    const QString today = kLastDay.toString(QStringLiteral("yyyy-MM-dd"));
    state.myToday = today;
    state.myTodayText = today;
    state.myVersion = GlobalState::version();
    TfrmDM dm(*db, state, Clock::fixed(kLastDay));

    const QString firstDay = kFirstDay.toString(QStringLiteral("yyyy-MM-dd"));
    const QStringList names = members();
    const QStringList accountNames = accounts();
    const QStringList types = accountTypes();
    {
        Transaction tx(*db);
        // A new book: its row and its settings row, as the book screen writes them.
        db->exec(QStringLiteral("INSERT INTO SBook(BName,BPass,BDate,Remark,thePX,theJZPX) "
                                "VALUES(?,'',?,'',5,3)"),
                 bookName(), firstDay);
        db->exec(QStringLiteral("INSERT INTO SMRX(BName,BPassKG,BPass,FName,AName,IName,OName,"
                                "TName,PName,TX_M) VALUES(?,0,'',?,?,?,?,?,?,-1)"),
                 bookName(), names[0], accountNames[0], incomeCategories()[0],
                 expenseCategories()[0], investmentCategories()[1], contacts()[0]);
        openBook(*db, state);

        for (const QString& m : names) dm.NewFamily(m);
        for (const QString& c : incomeCategories()) {
            dm.mySaveNew(QStringLiteral("InD"), QStringLiteral("IName"), c);
        }
        for (const QString& c : expenseCategories()) {
            dm.mySaveNew(QStringLiteral("OutD"), QStringLiteral("OName"), c);
        }
        for (const QString& c : investmentCategories()) {
            dm.mySaveNew(QStringLiteral("TD"), QStringLiteral("TName"), c);
        }
        for (const QString& c : contacts()) {
            dm.mySaveNew(QStringLiteral("PD"), QStringLiteral("PName"), c);
        }
        // Accounts start as cash with balance 0; the account screen then sets the type and
        // books the opening balance as a movement of its own.
        for (int i = 0; i < accountNames.size(); ++i) {
            const SeedAccount& seed = kAccounts[i];
            dm.NewAccount(accountNames[i], names[seed.owner]);
            dm.myESql(QStringLiteral("UPDATE SAccount SET theType=? WHERE AName=? AND BName=?"),
                      types[i], accountNames[i], bookName());
            if (seed.openCents == 0) continue;
            const qint64 id = db->query(QStringLiteral("SELECT ID FROM SAccount WHERE AName=? AND "
                                                       "BName=?"),
                                        accountNames[i], bookName())
                                  .integer(QStringLiteral("ID"));
            const double opening = double(seed.openCents) / 100.0;
            dm.AccountUp(opening, accountNames[i]);
            dm.List_Add(firstDay, QStringLiteral("开户"), QStringLiteral("期初余额"), opening, 0,
                        accountNames[i], names[seed.owner], QStringLiteral("SAccount"), id,
                        QStringLiteral("新增"));
        }
        tx.commit();
    }

    Writer writer(dm, postings_);
    qint64 done = 0;
    while (done < postings_) {
        const qint64 end = std::min(postings_, done + kBatch);
        Transaction tx(*db);
        for (; done < end; ++done) writer.post(done);
        tx.commit();
        if (progress) progress(done, postings_);
    }
    // No ANALYZE at the end: the program never runs it, so the planner must find the indexes
    // in a generated file exactly as it does in a real one.
}

QString BookGenerator::cached(const QString& dir, double* seconds, const Progress& progress) const {
    QDir().mkpath(dir);
    const QString path =
        QDir(dir).filePath(QStringLiteral("book-%1-%2.kbk").arg(postings_).arg(fingerprint()));
    if (seconds) *seconds = 0;
    if (QFileInfo::exists(path)) return path;
    // Books of this size made for an older schema are never read again; at half a gigabyte
    // each they are not worth keeping around.
    const QStringList stale =
        QDir(dir).entryList({QStringLiteral("book-%1-*.kbk").arg(postings_)}, QDir::Files);
    for (const QString& name : stale) QFile::remove(QDir(dir).filePath(name));
    // Written under a temporary name first: an interrupted run leaves no half book behind
    // that a later run would take for a whole one.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    QFile::remove(part + QStringLiteral("-journal"));
    QElapsedTimer timer;
    timer.start();
    write(part, progress);
    if (seconds) *seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!QFile::rename(part, path)) {
        throw DbError(QStringLiteral("无法把 %1 改名为 %2").arg(part, path));
    }
    return path;
}

void BookGenerator::copyTo(const QString& source, const QString& dest) {
    QDir().mkpath(QFileInfo(dest).absolutePath());
    QFile::remove(dest);
    QFile::remove(dest + QStringLiteral("-journal"));
    if (!QFile::copy(source, dest)) {
        throw DbError(QStringLiteral("无法复制 %1 到 %2").arg(source, dest));
    }
    // QFile::copy carries the source's permissions over; the scratch copy must be writable.
    QFile::setPermissions(dest, QFile::permissions(dest) | QFile::WriteOwner);
}

BenchBook::BenchBook() = default;
BenchBook::~BenchBook() = default;

void BenchBook::open(qint64 postings, const QString& defaultDir, const QString& name) {
    dm.reset();
    db.reset();  // the old copy closed before it is replaced
    db = Database::open(BookGenerator::scratchCopy(postings, defaultDir, name));
    if (const char* prepare = std::getenv("COINWICK_BENCH_PREPARE"); prepare && *prepare) {
        db->execScript(QString::fromUtf8(prepare));
    }
    BookGenerator::openBook(*db, state);
    dm = std::make_unique<TfrmDM>(*db, state);
}

BenchBook& benchBook() {
    static BenchBook b;
    return b;
}

void BookGenerator::openBook(Database& db, GlobalState& state) {
    const Query q =
        db.query(QStringLiteral("SELECT thePX, theJZPX FROM SBook WHERE BName=?"), bookName());
    if (q.isEmpty()) throw DbError(QStringLiteral("数据文件中没有账簿 ") + bookName());
    state.myBName = bookName();
    state.myPX = q.text(QStringLiteral("thePX"));
    state.myJZPX = q.text(QStringLiteral("theJZPX"));
}

qint64 BookGenerator::takeBookSize(int* argc, char** argv) {
    qint64 n = 10'000;
    if (const char* env = std::getenv("COINWICK_BENCH_N"); env && *env) n = std::atoll(env);
    int out = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], "--book_n=", 9) == 0) {
            n = std::atoll(argv[i] + 9);
        } else {
            argv[out++] = argv[i];
        }
    }
    *argc = out;
    argv[out] = nullptr;
    return n;
}

QString BookGenerator::scratchCopy(qint64 postings, const QString& defaultDir,
                                   const QString& name) {
    const char* dirEnv = std::getenv("COINWICK_BENCH_DATA");
    const QString dir = dirEnv && *dirEnv ? QString::fromLocal8Bit(dirEnv) : defaultDir;
    double seconds = 0;
    const QString cached = BookGenerator(postings).cached(dir, &seconds);
    if (seconds > 0)
        std::fprintf(stderr, "generated %lld postings in %.1f s\n", (long long)postings, seconds);
    const QString scratch =
        QDir(dir).filePath(QStringLiteral("scratch-%1-%2.kbk").arg(name).arg(postings));
    copyTo(cached, scratch);
    return scratch;
}

}  // namespace cw
