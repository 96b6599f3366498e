// Plans: a ten-year daily series, a run of 1,000 due plans (one durable transaction each), and
// the due-plans count at start over a book holding 100,000 plans.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "BookGenerator.h"
#include "plans/PlanBook.h"
#include "storage/Database.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

using namespace cw;

namespace {

struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    GlobalState state;
    std::unique_ptr<TfrmDM> dm;

    Book() {
        const QString path = dir.path() + QStringLiteral("/Data/db.kbk");
        BookGenerator(100).write(path);
        db = Database::open(path);
        BookGenerator::openBook(*db, state);
        dm = std::make_unique<TfrmDM>(*db, state, Clock::fixed(QDate(2026, 12, 9)));
    }

    PlanBook::Series series(const QDate& from, const QDate& to) const {
        PlanBook::Series s;
        s.kind = QStringLiteral("支出");
        s.name = BookGenerator::expenseCategories().front();
        s.amount = QStringLiteral("12.5");
        s.account = BookGenerator::accounts().front();
        s.member = BookGenerator::members().front();
        s.from = from;
        s.to = to;
        return s;
    }
};

void BM_DailySeriesOfTenYears(benchmark::State& st) {
    Book b;
    for (auto _ : st) {
        const int n =
            PlanBook(*b.dm).createSeries(b.series(QDate(2027, 1, 1), QDate(2036, 12, 31)));
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_DailySeriesOfTenYears)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExecuteThousandDuePlans(benchmark::State& st) {
    Book b;
    for (auto _ : st) {
        st.PauseTiming();
        PlanBook plans(*b.dm);
        plans.createSeries(b.series(QDate(2024, 3, 15), QDate(2026, 12, 9)));
        const ReportTable due = plans.due();
        std::vector<qint64> ids;
        for (int r = 0; r < due.rowCount() && r < 1000; ++r) ids.push_back(due.rowId(r));
        st.ResumeTiming();
        const PlanBook::Run run = plans.executeAll(ids, false, [](int) {});
        if (run.executed != 1000) st.SkipWithError("not every plan went");
    }
}
BENCHMARK(BM_ExecuteThousandDuePlans)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_DueCountOverHundredThousandPlans(benchmark::State& st) {
    Book b;
    {
        Transaction tx(*b.db);
        PlanBook plans(*b.dm);
        // 100,000 plans: 27 years of days, most in the future, some already executed.
        plans.createSeries(b.series(QDate(2000, 1, 1), QDate(2273, 10, 15)));
        b.db->exec(QStringLiteral("UPDATE UPlan SET PState='是' WHERE PDate<'2020-01-01'"));
        tx.commit();
    }
    for (auto _ : st) benchmark::DoNotOptimize(PlanBook(*b.dm).dueCount());
}
BENCHMARK(BM_DueCountOverHundredThousandPlans)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
