#include "plans/PlanBook.h"

#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

const QString kOpen = QStringLiteral("否");
const QString kDone = QStringLiteral("是");

QString pick(const QString& what) {
    return QStringLiteral("请选择 ") + what + QStringLiteral("！");
}

// Binds values in order to a statement of the plan lists.
void bindValues(Statement& st, const QVariantList& values, int& index) {
    for (const QVariant& v : values) st.bind(++index, v);
}

}  // namespace

const QString PlanBook::kSaved = QStringLiteral("计划保存成功！");
const QString PlanBook::kExecuted = QStringLiteral("计划执行成功！");
const QString PlanBook::kDeleted = QStringLiteral("数据删除成功！");

const QStringList& PlanBook::kinds() {
    static const QStringList k = {QStringLiteral("收入"), QStringLiteral("支出"),
                                  QStringLiteral("投资"), QStringLiteral("债务"),
                                  QStringLiteral("债权")};
    return k;
}

const PostingKind* PlanBook::postingKind(const QString& planKind) {
    if (planKind == QStringLiteral("收入")) return &PostingKind::income();
    if (planKind == QStringLiteral("支出")) return &PostingKind::expense();
    if (planKind == QStringLiteral("投资")) return &PostingKind::investment();
    if (planKind == QStringLiteral("债务")) return &PostingKind::debt();
    if (planKind == QStringLiteral("债权")) return &PostingKind::credit();
    return nullptr;
}

QString PlanBook::nameTitle(const QString& planKind) {
    if (planKind == QStringLiteral("债务")) return QStringLiteral("债权人");
    if (planKind == QStringLiteral("债权")) return QStringLiteral("债务人");
    return planKind + QStringLiteral("类别");
}

PlanBook::PlanBook(TfrmDM& dm) : dm_(dm) {}

PlanBook::Verdict PlanBook::validate(const Series& s) {
    if (!postingKind(s.kind)) return {QStringLiteral("计划类别 不是有效的类别！"), Field::None};
    // Executing books the plan as its posting screen would, and that screen needs a category
    // or a person; a plan without one could never be executed, so it is refused here.
    if (s.name.trimmed().isEmpty()) return {pick(nameTitle(s.kind)), Field::Name};
    QString amount = s.amount;
    if (amount == QLatin1String("0") || amount == QLatin1String("0.") ||
        amount == QLatin1String(".0"))
        amount.clear();
    if (amount.trimmed().isEmpty())
        return {QStringLiteral("金额不能为空！请重新录入！"), Field::Amount};
    double value = 0;
    if (!Money::parse(amount, &value) || value < 0)
        return {QStringLiteral("金额 不是有效的数字！请重新录入！"), Field::Amount};
    if (s.account.trimmed().isEmpty()) return {pick(QStringLiteral("账户名称")), Field::Account};
    if (s.member.trimmed().isEmpty()) return {pick(QStringLiteral("家庭成员")), Field::Member};
    // Names become rows of the book when the plan is executed; a control character would make
    // a name no list can show.
    if (NameText::hasControl(s.name)) return {NameText::controlMessage(), Field::Name};
    if (NameText::hasControl(s.account)) return {NameText::controlMessage(), Field::Account};
    if (NameText::hasControl(s.member)) return {NameText::controlMessage(), Field::Member};
    if (!s.from.isValid() || !s.to.isValid() || s.to <= s.from)
        return {QStringLiteral("结束日期 不能小于或等于 开始日期，请重新选择日期！"),
                Field::EndDate};
    if (!s.schedule.valid()) return {QStringLiteral("执行周期 不是有效的周期！"), Field::Schedule};
    return {};
}

int PlanBook::createSeries(const Series& s, Verdict* verdict) {
    const Verdict v = validate(s);
    if (verdict) *verdict = v;
    if (!v.ok()) return 0;
    double amount = 0;
    QString text = s.amount;
    Money::parse(text, &amount);
    amount = Money::round(amount);

    Transaction tx(dm_.db());
    Statement st = dm_.db().prepare(QStringLiteral(
        "INSERT INTO UPlan(BName,PType,PDate,PName,PMoney,AName,FName,PState,Remark) "
        "VALUES(?,?,?,?,?,?,?,?,?)"));
    int written = 0;
    for (const QDate& day : s.schedule.dates(s.from, s.to)) {
        st.reset();
        st.bindAll(dm_.book(), s.kind, day.toString(QStringLiteral("yyyy-MM-dd")), s.name, amount,
                   s.account, s.member, kOpen, s.remark);
        st.run();
        ++written;
    }
    tx.commit();
    return written;
}

PlanBook::Where PlanBook::where(const Filter& f) const {
    Where w{QStringLiteral(" WHERE BName=? AND PState=?"), {dm_.book(), kOpen}};
    const auto add = [&w](const QString& condition, const QVariant& value) {
        w.sql += condition;
        w.values << value;
    };
    if (f.dates) {
        add(QStringLiteral(" AND PDate>=?"), f.dates->first);
        add(QStringLiteral(" AND PDate<=?"), f.dates->second);
    }
    if (f.dueBy) add(QStringLiteral(" AND PDate<=?"), *f.dueBy);
    if (!f.kind.isEmpty()) add(QStringLiteral(" AND PType=?"), f.kind);
    if (f.name) add(QStringLiteral(" AND PName=?"), *f.name);
    if (f.account) add(QStringLiteral(" AND AName=?"), *f.account);
    if (f.member) add(QStringLiteral(" AND FName=?"), *f.member);
    // The remark is searched as text: % and _ typed by the user are no wildcards.
    if (f.remark) add(QStringLiteral(" AND instr(Remark, ?)>0"), *f.remark);
    return w;
}

ReportTable PlanBook::read(const Where& w, const QString& title, const QString& order) {
    ReportTable t({{cw::Field::PType, QStringLiteral("类别"), ColumnKind::Text, 12},
                   {cw::Field::PDate, QStringLiteral("日期"), ColumnKind::Date, 24},
                   {cw::Field::PName, title, ColumnKind::Text, 30},
                   {cw::Field::PMoney, QStringLiteral("金额"), ColumnKind::Money, 24, true},
                   {cw::Field::AName, QStringLiteral("账户名称"), ColumnKind::Text, 24},
                   {cw::Field::FName, QStringLiteral("家庭成员"), ColumnKind::Text, 24},
                   {cw::Field::Remark, QStringLiteral("备注"), ColumnKind::Text, 34}});
    Statement st = dm_.db().prepare(
        QStringLiteral("SELECT ID,PType,PDate,PName,PMoney,AName,FName,Remark FROM UPlan") + w.sql +
        order);
    int index = 0;
    bindValues(st, w.values, index);
    while (st.step()) {
        t.addRow({st.text(1), st.text(2), st.text(3), Money::round(st.number(4)), st.text(5),
                  st.text(6), st.text(7)},
                 st.integer(0));
    }
    return t;
}

ReportTable PlanBook::list(const Filter& filter) {
    const QString title =
        filter.kind.isEmpty() ? QStringLiteral("计划名称") : nameTitle(filter.kind);
    return read(where(filter), title, QStringLiteral(" ORDER BY ID"));
}

ReportTable PlanBook::due() {
    Filter f;
    f.dueBy = dm_.clock().todayText();
    return read(where(f), QStringLiteral("计划名称"), QStringLiteral(" ORDER BY PDate DESC, ID"));
}

int PlanBook::dueCount() {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT count(*) AS n FROM UPlan WHERE BName=? AND PState=? AND PDate<=?"),
        dm_.book(), kOpen, dm_.clock().todayText());
    return int(q.integer(QStringLiteral("n")));
}

bool PlanBook::remove(qint64 id) {
    return dm_.db().exec(QStringLiteral("DELETE FROM UPlan WHERE ID=? AND BName=? AND PState=?"),
                         id, dm_.book(), kOpen) > 0;
}

int PlanBook::removeAll(const Filter& filter) {
    const Where w = where(filter);
    Transaction tx(dm_.db());
    Statement st = dm_.db().prepare(QStringLiteral("DELETE FROM UPlan") + w.sql);
    int index = 0;
    bindValues(st, w.values, index);
    st.run();
    const int n = dm_.db().changes();
    tx.commit();
    return n;
}

bool PlanBook::execute(qint64 id) {
    Transaction tx(dm_.db());
    // The plan is read inside the write transaction, so a plan executed or deleted meanwhile
    // by another copy of the program is not booked twice.
    const Query q = dm_.db().query(
        QStringLiteral("SELECT PType,PDate,PName,PMoney,AName,FName,Remark FROM UPlan "
                       "WHERE ID=? AND BName=? AND PState=?"),
        id, dm_.book(), kOpen);
    if (q.isEmpty()) return false;
    const PostingKind* kind = postingKind(q.text(QStringLiteral("PType")));
    if (!kind) throw PostingRules::Refused(QStringLiteral("计划类别 不是有效的类别！"));
    PostingRules::Posting p;
    p.date = q.text(QStringLiteral("PDate"));
    p.name = q.text(QStringLiteral("PName"));
    p.amount = Money::plain(Money::round(q.number(QStringLiteral("PMoney"))));
    p.account = q.text(QStringLiteral("AName"));
    p.member = q.text(QStringLiteral("FName"));
    p.remark = q.text(QStringLiteral("Remark"));

    dm_.myESql(QStringLiteral("UPDATE UPlan SET PState=? WHERE ID=? AND BName=?"), kDone, id,
               dm_.book());
    PostingRules(dm_).saveNew(*kind, p);
    tx.commit();
    return true;
}

PlanBook::Run PlanBook::executeAll(const std::vector<qint64>& ids, bool skipFuture,
                                   const std::function<void(int)>& step) {
    Run run;
    const QString today = dm_.clock().todayText();
    Database& db = dm_.db();
    // One durable commit for the whole run, not one per plan: a thousand commits would wait
    // a thousand times for the disk. Each plan still goes all or nothing inside its own
    // savepoint, so a refused plan is undone alone and the ones before it are kept.
    Transaction outer(db);
    Statement date = db.prepare(QStringLiteral("SELECT PDate FROM UPlan WHERE ID=?"));
    int done = 0;
    for (qint64 id : ids) {
        if (skipFuture) {
            date.reset();
            date.bindAll(id);
            const bool future = date.step() && date.text(0) > today;
            date.reset();
            if (future) {
                ++run.skipped;
                if (step) step(++done);
                continue;
            }
        }
        db.execScript(QStringLiteral("SAVEPOINT plan"));
        try {
            if (execute(id)) ++run.executed;
            db.execScript(QStringLiteral("RELEASE plan"));
        } catch (const std::exception& e) {
            const auto* refused = dynamic_cast<const PostingRules::Refused*>(&e);
            run.failure = refused ? refused->message() : QString::fromUtf8(e.what());
            if (!db.inTransaction()) {
                // The engine gave up the whole transaction (a full disk, an I/O error):
                // nothing of this run was kept, and no plan is half done.
                run.executed = 0;
                return run;
            }
            db.execScript(QStringLiteral("ROLLBACK TO plan; RELEASE plan"));
            break;
        }
        if (step) step(++done);
    }
    outer.commit();
    return run;
}

}  // namespace cw
