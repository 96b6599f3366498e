// The posting rules under a generated household book of N postings: what one save, change or
// delete costs the user, committed to disk as the screens commit it, and the book check.
//
//   coinwick_posting_bench [--book_n=N] [Google Benchmark flags]
//
// N comes from --book_n, else from COINWICK_BENCH_N, else 10000; the book is the cached one of
// coinwick_bench (see README.md), copied to a scratch file of its own.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "bookkeeping/BookCheck.h"
#include "bookkeeping/PostingRules.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

struct Book {
    std::unique_ptr<Database> db;
    GlobalState state;
    std::unique_ptr<TfrmDM> dm;
    std::unique_ptr<PostingRules> rules;
};

Book& book() {
    static Book b;
    return b;
}

PostingRules::Posting income(const QString& amount) {
    return {QStringLiteral("2025-12-31"),
            BookGenerator::incomeCategories()[0],
            amount,
            BookGenerator::accounts()[1],
            QString(),
            BookGenerator::members()[0],
            QString()};
}

// A whole income save as the screen's save button runs it: checks, names, counts, balance,
// row and journal row, one durable commit.
void BM_SaveNewIncome_Durable(benchmark::State& state) {
    const PostingRules::Posting p = income(QStringLiteral("12.34"));
    for (auto _ : state) benchmark::DoNotOptimize(book().rules->saveNew(PostingKind::income(), p));
}

// A transfer: two balances and two journal rows.
void BM_SaveNewTransfer_Durable(benchmark::State& state) {
    const QStringList accounts = BookGenerator::accounts();
    const PostingRules::Posting p{
        QStringLiteral("2025-12-31"), QString(), QStringLiteral("5"), accounts[1], accounts[0],
        BookGenerator::members()[1],  QString()};
    for (auto _ : state) {
        benchmark::DoNotOptimize(book().rules->saveNew(PostingKind::transfer(), p));
    }
}

// A change of one income: the stored row read back, reversal, new values, two journal rows.
void BM_SaveEditIncome_Durable(benchmark::State& state) {
    PostingRules& rules = *book().rules;
    const qint64 id = rules.saveNew(PostingKind::income(), income(QStringLiteral("1")));
    int i = 0;
    for (auto _ : state) {
        rules.saveEdit(PostingKind::income(), id, income(QString::number(++i % 100 + 1)));
    }
}

// A delete of one income; the posting deleted is saved beforehand, outside the timing.
void BM_RemoveIncome_Durable(benchmark::State& state) {
    PostingRules& rules = *book().rules;
    for (auto _ : state) {
        state.PauseTiming();
        const qint64 id = rules.saveNew(PostingKind::income(), income(QStringLiteral("2")));
        state.ResumeTiming();
        rules.remove(PostingKind::income(), id);
    }
}

// Every account's balance recomputed from the whole journal.
void BM_BookCheck(benchmark::State& state) {
    for (auto _ : state) {
        const QStringList differences = BookCheck(*book().dm).check();
        if (!differences.isEmpty()) state.SkipWithError("the generated book has differences");
    }
}

void openScratch(qint64 postings) {
    const QString scratch =
        BookGenerator::scratchCopy(postings, COINWICK_BENCH_DATA_DIR, QStringLiteral("postings"));
    Book& b = book();
    b.db = Database::open(scratch);
    BookGenerator::openBook(*b.db, b.state);
    b.dm = std::make_unique<TfrmDM>(*b.db, b.state);
    b.rules = std::make_unique<PostingRules>(*b.dm);
    benchmark::AddCustomContext("book_postings", std::to_string(postings));
}

}  // namespace

int main(int argc, char** argv) {
    return benchMain<QCoreApplication>(argc, argv, [](qint64 n) {
        openScratch(n);
        // The check reads first, on the book as generated; the writes come after it. A commit
        // waits for the disk, not for the processor: real time is the figure.
        benchmark::RegisterBenchmark("BM_BookCheck", BM_BookCheck)->Unit(benchmark::kMillisecond);
        using Fn = void (*)(benchmark::State&);
        const std::pair<const char*, Fn> writes[] = {
            {"BM_SaveNewIncome_Durable", BM_SaveNewIncome_Durable},
            {"BM_SaveNewTransfer_Durable", BM_SaveNewTransfer_Durable},
            {"BM_SaveEditIncome_Durable", BM_SaveEditIncome_Durable},
            {"BM_RemoveIncome_Durable", BM_RemoveIncome_Durable},
        };
        for (const auto& [name, fn] : writes) {
            benchmark::RegisterBenchmark(name, fn)->UseRealTime()->Unit(benchmark::kMillisecond);
        }
    });
}
