#include <gtest/gtest.h>

#include <QHash>
#include <random>

#include "bookkeeping/SubPostingFixture.h"

using namespace cw;
using namespace cw::test;

namespace {

const PostingKind& kDebt = PostingKind::debt();
const PostingKind& kCredit = PostingKind::credit();
const PostingKind& kInvestment = PostingKind::investment();

class OutstandingCheckTest : public SubPostingTest {
  protected:
    void SetUp() override {
        SubPostingTest::SetUp();
        debt_ = rules().saveNew(kDebt, parentPosting("2026-11-01", "老李", "1000", kBank, kMum));
        subs().settle(kDebt, debt_, entry("2026-11-02", "300", kBank, kMum));
        subs().change(kDebt, Change::Increase, debt_, entry("2026-11-03", "50", kCash, kDad));
        rules().saveEdit(kDebt, debt_, parentPosting("2026-11-01", "老李", "900", kBank, kMum));
        credit_ = rules().saveNew(kCredit, parentPosting("2026-11-01", "小张", "200", kBank, kMum));
        subs().settle(kCredit, credit_, entry("2026-11-02", "20", kCash, kDad));
        fund_ =
            rules().saveNew(kInvestment, parentPosting("2026-11-01", "基金", "400", kBank, kMum));
        subs().settle(kInvestment, fund_, returnEntry("2026-11-02", "100", "-7.5", kCash, kDad));
    }

    QStringList check() { return BookCheck(f.dm()).check(); }

    qint64 debt_ = 0, credit_ = 0, fund_ = 0;
};

}  // namespace

TEST_F(OutstandingCheckTest, EachRunningFigureThatLeftItsRecordsIsReported) {
    EXPECT_EQ(check(), QStringList());

    f.db().exec(QStringLiteral("UPDATE Borrow SET BMoney=BMoney+1, RMoney=RMoney-0.01"));
    EXPECT_EQ(check(),
              (QStringList{
                  QStringLiteral(
                      "债务「老李」（ID %1）：债务金额 901，按记账、增减和还债记录重算应为 900")
                      .arg(debt_),
                  QStringLiteral("债务「老李」（ID %1）：已还金额 299.99，按还债记录重算应为 300")
                      .arg(debt_)}));
    f.db().exec(QStringLiteral("UPDATE Borrow SET BMoney=BMoney-1, RMoney=RMoney+0.01"));

    f.db().exec(QStringLiteral("UPDATE TTable SET RMoney=0, TMoney=301"));
    EXPECT_EQ(
        check(),
        (QStringList{QStringLiteral(
                         "投资「基金」（ID %1）：投资金额 301，按记账、增减和收益记录重算应为 300")
                         .arg(fund_),
                     QStringLiteral("投资「基金」（ID %1）：收益金额 0，按收益记录重算应为 -7.5")
                         .arg(fund_)}));
    f.db().exec(QStringLiteral("UPDATE TTable SET RMoney=-7.5, TMoney=300"));

    // A credit above its records is a difference; below them it may have been written off.
    f.db().exec(QStringLiteral("UPDATE Debt SET DMoney=180.01"));
    EXPECT_EQ(check(), QStringList{QStringLiteral("债权「小张」（ID %1）：债权金额 180.01，按记账、"
                                                  "增减和收债记录重算应为 180")
                                       .arg(credit_)});
    f.db().exec(QStringLiteral("UPDATE Debt SET DMoney=12"));
    EXPECT_EQ(check(), QStringList());
}

TEST_F(OutstandingCheckTest, ARecordWithoutItsParentOrAParentWithoutItsJournalIsReported) {
    f.db().exec(QStringLiteral("INSERT INTO BorrowR(BID,RDate,RMoney,AName,FName,Remark,BName) "
                               "VALUES(999,'2026-12-01',5,?,?,'',?)"),
                kCash, kDad, kBook);
    const qint64 orphan = f.db().lastInsertId();
    EXPECT_EQ(
        check(),
        QStringList{QStringLiteral("还债记录（ID %1）：所属债务（ID 999）已不存在").arg(orphan)});
    f.db().exec(QStringLiteral("DELETE FROM BorrowR WHERE ID=?"), orphan);

    // The log window can delete journal rows: the debt's own "修改" row gone, its figure is off
    // (and its account's balance with it).
    f.db().exec(QStringLiteral("DELETE FROM UList WHERE theT='Borrow' AND theE='修改'"));
    const QStringList found = check();
    ASSERT_EQ(found.size(), 2);
    EXPECT_TRUE(found[0].startsWith(QStringLiteral("账户「工行卡」")));
    EXPECT_EQ(found[1], QStringLiteral(
                            "债务「老李」（ID %1）：债务金额 900，按记账、增减和还债记录重算应为 0")
                            .arg(debt_));
}

TEST_F(OutstandingCheckTest, ImportedParentsNamesWithPlaceholdersAndOtherBooks) {
    // An imported debt is journaled "导入"; it counts like "新增".
    f.db().exec(QStringLiteral("INSERT INTO Borrow(BName,BDate,BPro,BMoney,AName,FName,Remark) "
                               "VALUES(?,'2026-12-01','50%1 %2',70,?,?,'')"),
                kBook, kCash, kDad);
    const qint64 imported = f.db().lastInsertId();
    f.dm().AccountUp(70, kCash);
    f.dm().List_Add("2026-12-01", "债务", "", 70, 0, kCash, kDad, "Borrow", imported, "导入");
    EXPECT_EQ(check(), QStringList());
    f.db().exec(QStringLiteral("UPDATE Borrow SET BMoney=71 WHERE ID=?"), imported);
    // The name is shown as stored, placeholders and all.
    EXPECT_EQ(check(), QStringList{"债务「50%1 %2」（ID " + QString::number(imported) +
                                   "）：债务金额 71，按记账、增减和还债记录重算应为 70"});

    f.addBook(QStringLiteral("别人的账簿"));
    EXPECT_EQ(check(), QStringList());
}

// --- a long random sequence ----------------------------------------------------------------------

namespace {

// What the book must hold after each operation, computed apart from the rules, in cents.
struct Model {
    struct Settlement {
        qint64 id;
        qint64 amount, profit;
        QString account;
    };
    struct Parent {
        const PostingKind* kind;
        qint64 id;
        qint64 outstanding = 0, running = 0;
        QString account;
        std::vector<Settlement> settlements;
    };
    QHash<QString, qint64> balances;
    std::vector<Parent> parents;
    std::vector<std::pair<qint64, QString>> gains;  // income postings a return booked
};

qint64 centsOf(const QString& text) {
    return Money::cents(text.toDouble());
}

class RandomWalk : public SubPostingTest {
  protected:
    std::mt19937 rng{20261209};

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(int percent) { return pick(100) < percent; }
    // Amounts of whole cents, now and then with a third decimal that rounds.
    QString amount(int maxYuan) {
        const int cents = pick(maxYuan * 100 + 1);
        if (chance(10)) return QString::number(cents / 100.0 + 0.005, 'f', 3);
        return QString::number(cents / 100.0, 'f', 2);
    }
    QString account() {
        static const QStringList names{kCash, kBank, QStringLiteral("支付宝")};
        return names[pick(3)];
    }
    QString member() { return chance(50) ? kDad : kMum; }

    void expectModel(const Model& m, int step) {
        for (auto it = m.balances.cbegin(); it != m.balances.cend(); ++it)
            ASSERT_EQ(Money::cents(balance(it.key())), it.value())
                << it.key().toStdString() << " step " << step;
        for (const Model::Parent& p : m.parents) {
            const auto [outstanding, running] = figures(*p.kind, p.id);
            ASSERT_EQ(Money::cents(outstanding), p.outstanding) << "step " << step;
            ASSERT_EQ(Money::cents(running), p.running) << "step " << step;
        }
    }
};

}  // namespace

TEST_F(RandomWalk, AFewHundredOperationsKeepBalancesOutstandingAmountsAndTheJournalAgreed) {
    // The walk is about the books, not the disk: no waiting for each commit to reach it.
    f.db().execScript(QStringLiteral("PRAGMA synchronous=OFF"));
    f.dm().NewAccount(QStringLiteral("支付宝"), kDad);
    Model m;
    m.balances = {{kCash, 10000}, {kBank, 100000}, {QStringLiteral("支付宝"), 0}};
    const std::vector<const PostingKind*> kinds{&kDebt, &kCredit, &kInvestment};
    int refused = 0, done = 0;

    for (int step = 0; step < 400; ++step) {
        const qint64 journalBefore = lastJournalId(f.db());
        const int op = m.parents.empty() ? 0 : pick(10);
        Model::Parent* p =
            m.parents.empty() ? nullptr : &m.parents[size_t(pick(int(m.parents.size())))];
        bool expectRefusal = false;
        try {
            if (op == 0 || op == 1) {  // a new parent
                const PostingKind& kind = *kinds[size_t(pick(3))];
                const QString a = amount(3000), acc = account();
                const qint64 id =
                    rules().saveNew(kind, parentPosting("2026-11-01",
                                                        kind.id == PostingKind::Id::Investment
                                                            ? QStringLiteral("基金")
                                                            : QStringLiteral("老李"),
                                                        a, acc, member()));
                m.balances[acc] += kind.sign * centsOf(a);
                m.parents.push_back({&kind, id, centsOf(a), 0, acc, {}});
            } else if (op == 2) {  // a change of the parent on its screen
                const QString a = amount(3000), acc = account();
                rules().saveEdit(*p->kind, p->id,
                                 parentPosting("2026-11-02", "改", a, acc, member()));
                m.balances[p->account] -= p->kind->sign * p->outstanding;
                m.balances[acc] += p->kind->sign * centsOf(a);
                p->outstanding = centsOf(a);
                p->account = acc;
            } else if (op == 3) {  // delete the parent
                expectRefusal = p->kind == &kInvestment ? !p->settlements.empty() : p->running != 0;
                rules().remove(*p->kind, p->id);
                m.balances[p->account] -= p->kind->sign * p->outstanding;
                m.parents.erase(m.parents.begin() + (p - m.parents.data()));
            } else if (op <= 5) {  // settle
                const QString acc = account();
                if (p->kind == &kInvestment) {
                    const QString principal =
                        amount(int(qMax<qint64>(p->outstanding, 0) / 100) + 10);
                    const QString profit = (chance(50) ? "-" : "") + amount(300);
                    const qint64 id =
                        subs().settle(kInvestment, p->id,
                                      returnEntry("2026-12-01", principal, profit, acc, member()));
                    const qint64 c = centsOf(principal), g = centsOf(profit);
                    m.balances[acc] += c + g;
                    p->outstanding -= c;
                    p->running += g;
                    p->settlements.push_back({id, c, g, acc});
                } else {
                    const QString a = amount(int(qMax<qint64>(p->outstanding, 0) / 100) + 2);
                    const qint64 c = centsOf(a);
                    expectRefusal = c > p->outstanding || c <= 0;
                    const qint64 id =
                        subs().settle(*p->kind, p->id, entry("2026-12-01", a, acc, member()));
                    m.balances[acc] += p->kind == &kDebt ? -c : c;
                    p->outstanding -= c;
                    p->running += c;
                    p->settlements.push_back({id, c, 0, acc});
                }
            } else if (op == 6) {  // delete a settlement
                if (p->settlements.empty()) continue;
                const size_t which = size_t(pick(int(p->settlements.size())));
                const Model::Settlement s = p->settlements[which];
                subs().removeSettlement(*p->kind, s.id);
                const qint64 back = p->kind == &kCredit ? -s.amount : s.amount;
                m.balances[s.account] += p->kind == &kInvestment ? -(s.amount + s.profit) : back;
                p->outstanding += s.amount;
                p->running -= p->kind == &kInvestment ? s.profit : s.amount;
                p->settlements.erase(p->settlements.begin() + qsizetype(which));
            } else if (op <= 8) {  // increase or decrease
                const bool up = chance(50);
                const QString a = amount(up ? 500 : int(qMax<qint64>(p->outstanding, 0) / 100) + 2);
                const qint64 c = centsOf(a);
                const QString acc = account();
                expectRefusal = !up && c > p->outstanding;
                subs().change(*p->kind, up ? Change::Increase : Change::Decrease, p->id,
                              entry("2026-12-02", a, acc, member()));
                m.balances[acc] += (up ? 1 : -1) * p->kind->sign * c;
                p->outstanding += up ? c : -c;
            } else {  // write a credit off
                if (p->kind != &kCredit) continue;
                subs().writeOff(p->id);
                p->outstanding = 0;
            }
            EXPECT_FALSE(expectRefusal) << "step " << step << " was not refused";
            ++done;
        } catch (const PostingRules::Refused& e) {
            EXPECT_TRUE(expectRefusal) << "step " << step << ": " << e.message().toStdString();
            EXPECT_EQ(lastJournalId(f.db()), journalBefore) << "a refusal wrote to the journal";
            ++refused;
        }
        expectModel(m, step);
        if (HasFatalFailure()) return;
        if (step % 50 == 49) {
            ASSERT_EQ(BookCheck(f.dm()).check(), QStringList()) << "step " << step;
        }
    }
    EXPECT_EQ(BookCheck(f.dm()).check(), QStringList());
    // The walk went through both doors often enough to mean something.
    EXPECT_GT(done, 250);
    EXPECT_GT(refused, 10);
    EXPECT_GT(f.count("BorrowR") + f.count("DebtR") + f.count("TTableR"), 20);

    // Every settlement and then every parent can be deleted, each booked back.
    for (const Model::Parent& p : m.parents) {
        for (const Model::Settlement& s : p.settlements) {
            subs().removeSettlement(*p.kind, s.id);
            m.balances[s.account] += p.kind == &kInvestment ? -(s.amount + s.profit)
                                     : p.kind == &kCredit   ? -s.amount
                                                            : s.amount;
        }
        rules().remove(*p.kind, p.id);
        m.balances[p.account] -= p.kind->sign * (p.outstanding + [&] {
                                     qint64 settled = 0;
                                     for (const Model::Settlement& s : p.settlements)
                                         settled += s.amount;
                                     return settled;
                                 }());
    }
    m.parents.clear();
    expectModel(m, -1);
    EXPECT_EQ(BookCheck(f.dm()).check(), QStringList());
    EXPECT_EQ(f.count("BorrowR") + f.count("DebtR") + f.count("TTableR"), 0);
    EXPECT_EQ(f.count("Borrow") + f.count("Debt") + f.count("TTable"), 0);
}
