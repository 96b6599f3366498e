// Bank statements on a generated household book: a 10,000-row statement (.csv in GBK, with a
// preamble, separate 收入/支出 columns and a running balance) read and planned as the statement
// window's preview, the same rows booked in one transaction, and the preview of the statement
// once booked (every row "已导入").
//
//   coinwick_statement_bench [--book_n=N] [Google Benchmark flags]
//
// The statement is written once per run into a temporary folder. N comes from --book_n, else
// from COINWICK_BENCH_N, else 10000; the book is the cached one of coinwick_bench (see
// README.md), copied to scratch files of its own.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <iterator>
#include <random>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "import/bills/BillImport.h"
#include "import/statements/StatementFile.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

constexpr int kRows = 10'000;
qint64 gBookSize = 10'000;

const char* const kParties[] = {"美团",     "京东",     "国家电网", "中国移动", "永辉超市",
                                "滴滴出行", "中国石化", "物业公司", "某某公司", "张三"};

QString yuan(qint64 cents) {
    const qint64 a = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

StatementProfile profile() {
    StatementProfile p;
    p.name = QStringLiteral("测试银行");
    p.amounts = StatementProfile::Amounts::Split;
    p.date = QStringLiteral("交易日期");
    p.time = QStringLiteral("交易时间");
    p.income = QStringLiteral("收入金额");
    p.expense = QStringLiteral("支出金额");
    p.balance = QStringLiteral("账户余额");
    p.counterparty = QStringLiteral("对方户名");
    p.counterpartyAccount = QStringLiteral("对方账号");
    p.remarks = {QStringLiteral("摘要")};
    return p;
}

// Two years of a card's rows, oldest first: spending most days, a salary each month.
QString writeStatement(const QString& path) {
    std::mt19937 rng(20261209);
    QStringList lines{"测试银行账户交易明细", "户名：小王,卡号：6222********1234",
                      "起止日期：2025-01-01 至 2026-11-30", "",
                      "交易日期,交易时间,摘要,收入金额,支出金额,账户余额,对方户名,对方账号"};
    qint64 balance = 5'000'000;
    const QDate start(2025, 1, 1);
    for (int i = 0; i < kRows; ++i) {
        const QDate day = start.addDays(i * 699 / kRows);
        const bool salary = i % 400 == 0;
        const qint64 cents =
            salary ? 1'200'000 : std::uniform_int_distribution<qint64>(100, 6'000)(rng);
        balance += salary ? cents : -cents;
        const QString amount = yuan(cents);
        const QString party =
            salary ? QStringLiteral("某某公司") : QString::fromUtf8(kParties[i % 8]);
        lines << QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8")
                     .arg(day.toString(QStringLiteral("yyyyMMdd")),
                          QStringLiteral("%1:%2:00")
                              .arg(8 + i % 12, 2, 10, QLatin1Char('0'))
                              .arg(i % 60, 2, 10, QLatin1Char('0')),
                          salary ? QStringLiteral("代发工资") : QStringLiteral("消费"),
                          salary ? amount : QString(), salary ? QString() : amount)
                     .arg(yuan(balance), party,
                          QStringLiteral("62%1").arg(i % 8, 8, 10, QLatin1Char('0')));
    }
    QStringEncoder gbk("GB18030");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw DbError(QStringLiteral("无法写入 ") + path);
    file.write(gbk.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return path;
}

const QString& statementPath() {
    static QTemporaryDir dir;
    static const QString path = writeStatement(dir.filePath(QStringLiteral("statement.csv")));
    return path;
}

Bill readStatement() {
    StatementFile::Opened opened = StatementFile::open(statementPath(), {profile()});
    if (!opened.bill || opened.bill->rows.size() != size_t(kRows))
        throw DbError(QStringLiteral("the statement did not read back whole"));
    opened.bill->account = QStringLiteral("招行储蓄卡");
    return *opened.bill;
}

bool sane(benchmark::State& st, const std::vector<BillImport::Planned>& rows, bool booked) {
    const BillImport::Counts c = BillImport::count(rows);
    if (booked ? c.added != 0 || c.imported != kRows : c.added != kRows) {
        st.SkipWithError(booked ? "rows of a booked statement would be booked again"
                                : "not every row proposed for booking");
        return false;
    }
    return true;
}

// What the window does before it shows the grid: read and recognise the file, match every row.
void BM_StatementPreview(benchmark::State& st) {
    BenchBook s;
    s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("statement"));
    BillImport import(*s.dm);
    for (auto _ : st) {
        const auto rows = import.plan(readStatement());
        if (!sane(st, rows, false)) break;
        benchmark::DoNotOptimize(rows.data());
    }
}

// The booking button, on a fresh copy of the book each time, planned outside the timing.
void BM_StatementBook(benchmark::State& st) {
    const Bill bill = readStatement();
    BenchBook s;
    for (auto _ : st) {
        st.PauseTiming();
        s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("statement-book"));
        BillImport import(*s.dm);
        const auto rows = import.plan(bill);
        if (!sane(st, rows, false)) break;
        st.ResumeTiming();
        import.book(rows);
    }
}

// The same statement opened again once booked: every row found among the stored keys.
void BM_StatementPreviewAfterBooking(benchmark::State& st) {
    BenchBook s;
    s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("statement-rebook"));
    BillImport import(*s.dm);
    import.book(import.plan(readStatement()));
    for (auto _ : st) {
        const auto rows = import.plan(readStatement());
        if (!sane(st, rows, true)) break;
        benchmark::DoNotOptimize(rows.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    return benchMain<QCoreApplication>(argc, argv, [](qint64 n) {
        gBookSize = n;
        benchmark::AddCustomContext("book_postings", std::to_string(gBookSize));
        benchmark::AddCustomContext("statement_rows", std::to_string(kRows));
        const std::pair<const char*, void (*)(benchmark::State&)> cases[] = {
            {"BM_StatementPreview", BM_StatementPreview},
            {"BM_StatementBook", BM_StatementBook},
            {"BM_StatementPreviewAfterBooking", BM_StatementPreviewAfterBooking}};
        for (const auto& [name, fn] : cases)
            benchmark::RegisterBenchmark(name, fn)->UseRealTime()->Unit(benchmark::kMillisecond);
    });
}
