// The report engines on the generated book of N postings.
//
//   QT_QPA_PLATFORM=offscreen coinwick_report_bench [--book_n=N] [Google Benchmark flags]
//
// - BM_MonthlyReport: the monthly (and yearly) income/expense report over 240 months, all the
//   book's postings inside the range; the statements' query plans go to stderr first;
// - BM_MonthCategoryWorkbook: the month-by-category workbook of 支出月报表 › 按支出类别;
// - BM_XlsxExport: 10,000 and 100,000 income rows through the export procedure into an .xlsx
//   file, the process's peak resident memory beside it;
// - BM_Paginate / BM_PaintPdf: a 45-page printed report laid out, then painted into a PDF.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "reports/ExportLayout.h"
#include "reports/IncomeExpenseReport.h"
#include "reports/MonthCategoryReport.h"
#include "reports/Pagination.h"
#include "reports/PrintLayout.h"
#include "reports/SpreadsheetExport.h"
#include "reports/XlsxWriter.h"
#include "reports/render/ReportPainter.h"
#include "storage/Database.h"
#include "storage/DbError.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

// 2006-01 … 2025-12: the book's postings lie in its last ten years.
ReportFilter twentyYears() {
    ReportFilter f;
    f.from = QDate(2006, 1, 1);
    f.to = QDate(2025, 12, 31);
    return f;
}

void BM_MonthlyReport(benchmark::State& state) {
    const auto period = state.range(0) == 0 ? IncomeExpenseReport::Period::Month
                                            : IncomeExpenseReport::Period::Year;
    ReportFilter f = twentyYears();
    if (state.range(1) == 1) f.set(FilterKey::Member, BookGenerator::members().front());
    if (state.range(1) == 2) f.set(FilterKey::Account, BookGenerator::accounts().front());
    int rows = 0;
    for (auto _ : state) {
        const ReportOutcome out =
            IncomeExpenseReport::run(*benchBook().db, benchBook().state.myBName, period, f);
        rows = out.table.rowCount();
        benchmark::DoNotOptimize(out.table.total(Field::theSM));
    }
    state.counters["lines"] = rows;
}

void BM_MonthCategoryWorkbook(benchmark::State& state) {
    const MonthCategoryReport::Spec& spec =
        MonthCategoryReport::forScreen(QStringLiteral("OutMonthByCategory"));
    for (auto _ : state) {
        const Workbook wb =
            MonthCategoryReport::build(*benchBook().db, benchBook().state.myBName, spec);
        benchmark::DoNotOptimize(wb.lastRow());
    }
}

// The income query's rows as its screen would hand them to the export; a book with fewer
// income rows than asked for gives its rows again until there are enough.
ReportTable incomeRows(int limit) {
    ReportTable t({{Field::IDate, QStringLiteral("日期"), ColumnKind::Date},
                   {Field::IName, QStringLiteral("收入类别")},
                   {Field::IMoney, QStringLiteral("金额"), ColumnKind::Money, 20, true},
                   {Field::AName, QStringLiteral("账户名称")},
                   {Field::FName, QStringLiteral("家庭成员")},
                   {Field::Remark, QStringLiteral("备注")}});
    Statement st = benchBook().db->prepare(
        QStringLiteral("SELECT ID, IDate, IName, IMoney, AName, FName, Remark FROM InTable "
                       "WHERE BName=? ORDER BY ID LIMIT ?"));
    for (int before = -1; t.rowCount() < limit && t.rowCount() > before;) {
        before = t.rowCount();
        st.reset();
        st.bindAll(benchBook().state.myBName, limit - t.rowCount());
        while (st.step()) {
            t.addRow({st.text(1), st.text(2), st.number(3), st.text(4), st.text(5), st.text(6)},
                     st.integer(0));
        }
    }
    return t;
}

// The process's peak resident memory so far (VmHWM), in MB; 0 where /proc is missing.
double peakResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    }
    return 0;
}

void BM_XlsxExport(benchmark::State& state) {
    const ReportTable rows = incomeRows(int(state.range(0)));
    const ExportLayout& layout = ExportLayout::forScreen(QStringLiteral("TfrmP_In"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.xlsx"));
    for (auto _ : state) {
        const Workbook wb = SpreadsheetExport::build(
            layout, rows, {benchBook().state.myBName, QDate(2016, 1, 1), QDate(2025, 12, 31)});
        XlsxWriter writer;
        if (!writer.write(wb, path)) state.SkipWithError("the workbook could not be written");
    }
    state.counters["rows"] = rows.rowCount();
    state.counters["bytes"] = double(QFileInfo(path).size());
    state.counters["peakMB"] = peakResidentMb();
}

// The income report on A4 landscape, with as many rows as fill 45 pages.
struct FortyFivePages {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    ReportTable rows;
    FortyFivePages() {
        BandMetrics m = BandMetrics::a4(true);
        m.pageFooterMm += 4.5;  // the painter's address line
        rows = incomeRows(Pagination::rowsPerPage(layout, m) * 45 - 5);
    }
};

void BM_Paginate(benchmark::State& state) {
    const FortyFivePages report;
    size_t pages = 0;
    for (auto _ : state) {
        pages =
            Pagination::paginate(report.rows, report.layout, BandMetrics::a4(true)).pages.size();
    }
    state.counters["pages"] = double(pages);
}

void BM_PaintPdf(benchmark::State& state) {
    const FortyFivePages report;
    const ReportPainter painter(report.layout, report.rows, benchBook().state.myBName,
                                QDateTime::currentDateTime());
    int pages = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setPageLayout(painter.pageLayout());
            pdf.setResolution(600);
            pages = painter.paint(&pdf);
        }
        bytes = buffer.size();
    }
    state.counters["pages"] = pages;
    state.counters["rows"] = report.rows.rowCount();
    state.counters["bytes"] = double(bytes);
}

// The plans of the report's statements: unfiltered, by member, by account.
void showPlans() {
    for (const char* filter : {"", " AND FName=?", " AND AName=?"}) {
        for (const char* table : {"InTable", "OutTable"}) {
            const bool in = table[0] == 'I';
            const QString date = in ? QStringLiteral("IDate") : QStringLiteral("ODate");
            const QString sql =
                QStringLiteral(
                    "SELECT %1, sum(%2), count(*) FROM %3 WHERE BName=?%4 AND %1>=? "
                    "AND %1<? GROUP BY %1")
                    .arg(date, in ? QStringLiteral("IMoney") : QStringLiteral("OMoney"),
                         QString::fromLatin1(table), QString::fromLatin1(filter));
            Statement st = benchBook().db->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
            int i = 0;
            st.bind(++i, benchBook().state.myBName);
            if (*filter) st.bind(++i, QStringLiteral("x"));
            st.bind(++i, QStringLiteral("2006-01"));
            st.bind(++i, QStringLiteral("2025-13"));
            std::fprintf(stderr, "-- %s\n", sql.toUtf8().constData());
            while (st.step()) std::fprintf(stderr, "   %s\n", st.text(3).toUtf8().constData());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    return benchMain<QGuiApplication>(argc, argv, [](qint64 n) {
        benchBook().open(n, COINWICK_BENCH_DATA_DIR, QStringLiteral("reports"));
        showPlans();
        benchmark::RegisterBenchmark("BM_MonthlyReport", BM_MonthlyReport)
            ->ArgNames({"yearly", "filter"})
            ->Args({0, 0})
            ->Args({1, 0})
            ->Args({0, 1})
            ->Args({0, 2})
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_MonthCategoryWorkbook", BM_MonthCategoryWorkbook)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_XlsxExport", BM_XlsxExport)
            ->Arg(10000)
            ->Arg(100000)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_Paginate", BM_Paginate)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_PaintPdf", BM_PaintPdf)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    });
}
