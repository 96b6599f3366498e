// The income import on a generated household book: a sheet of 100,000 rows read, checked and
// booked in one transaction with the progress bar's callback, and the resident memory of
// reading a sheet of about 10 MB.
//
//   coinwick_import_bench [--book_n=N] [Google Benchmark flags]
//
// Both sheets are written once per run into a temporary folder through the program's own
// workbook writer, in the layout the income import expects. N comes from --book_n, else from
// COINWICK_BENCH_N, else 10000; the book is the cached one of coinwick_bench (see README.md),
// copied to a scratch file of its own for every booking.
//
// The memory case starts this executable again as a fresh process (--read_peak=FILE), so the
// peak it reports is that of reading alone, not of heap pages left over from writing the sheet.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zip.h>

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "AttackFiles.h"
#include "BenchMain.h"
#include "BookGenerator.h"
#include "bookkeeping/PostingRules.h"
#include "import/ImportKind.h"
#include "import/SheetRows.h"
#include "import/SpreadsheetImport.h"
#include "import/SpreadsheetReader.h"
#include "import/bills/BillReader.h"
#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

constexpr int kRows = 100'000;
// The large sheet: more rows, and remarks long enough that the file comes to about 10 MB.
constexpr int kBigRows = 320'000;
// A genuine sheet at the scale a reader must still take whole.
constexpr int kMillion = 1'000'000;
// The attack set: each hostile file at these packed sizes.
constexpr qint64 kAttackSizes[] = {512 * 1024, 1024 * 1024, 4 * 1024 * 1024};
constexpr const char* kAttackKinds[] = {"declared", "lying", "far-cells", "shared-strings",
                                        "bill-zeros"};

qint64 gBookSize = 10'000;

const ImportKind& incomeKind() {
    const ImportKind* kind = ImportKind::byClassName(QStringLiteral("TfrmD_In"));
    if (!kind) throw DbError(QStringLiteral("没有收入导入"));
    return *kind;
}

// Remarks a household writes beside its incomes; a few carry a month, an order or a person.
const char* const kRemarks[] = {
    "",         "",           "",           "月工资",       "年终奖",     "季度奖金",
    "加班费",   "周末兼职",   "稿费",       "银行活期利息", "定期到期",   "基金分红",
    "房租收入", "差旅费报销", "医药费报销", "过年红包",     "网购退款",   "婚礼礼金",
    "卖旧手机", "闲鱼二手书", "公积金提取", "个税退税",     "朋友还的钱", "股票卖出收益"};
const char* const kExtraCategories[] = {"稿费", "分红", "二手转让", "退税"};
const char* const kPeople[] = {"张三", "李四", "王五", "老陈", "小刘", "赵阿姨"};

// Rows of the income layout: 日期、收入类别、金额、账户名称、家庭成员、备注. Most names are
// the book's own, about one row in fifty a category the book does not have yet. With `longRemarks`
// the remarks run to 30–60 characters, drawn from a pool of 30,000 so each repeats about ten times.
Workbook incomeSheet(int rows, bool longRemarks, std::uint32_t seed) {
    std::mt19937 rng(seed);
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const QStringList categories = BookGenerator::incomeCategories();
    const QStringList accounts = BookGenerator::accounts();
    const QStringList members = BookGenerator::members();
    QStringList pool;
    if (longRemarks) {
        const QString filler = QStringLiteral(
            "按合同约定结算本期款项已核对无误入账备查请保留凭证以便年底汇总对账家庭理财记录");
        for (int i = 0; i < 30000; ++i) {
            const int length = 30 + pick(31);
            pool << QStringLiteral("%1 第%2笔 %3 ")
                            .arg(QString::fromUtf8(kRemarks[3 + i % 21]))
                            .arg(i)
                            .arg(QString::fromUtf8(kPeople[i % 6])) +
                        filler.left(std::max(0, length - 16));
        }
    }
    Workbook book;
    const QStringList header{"日期", "收入类别", "金额", "账户名称", "家庭成员", "备注"};
    for (int c = 0; c < header.size(); ++c) book.setValue(1, c + 1, header[c]);
    const QDate first(2016, 1, 1);
    const int days = int(first.daysTo(QDate(2026, 12, 8)));
    std::lognormal_distribution<double> amount(6.0, 1.3);
    for (int i = 0; i < rows; ++i) {
        const int r = i + 2;
        const QDate day = first.addDays(qint64(i) * days / rows);
        book.setValue(r, 1, day.toString(QStringLiteral("yyyy-MM-dd")));
        const QString category = pick(50) == 0 ? QString::fromUtf8(kExtraCategories[pick(4)])
                                               : categories[pick(int(categories.size()))];
        book.setValue(r, 2, category);
        book.setValue(r, 3, std::round(std::min(amount(rng), 200'000.0) * 100) / 100);
        book.setValue(r, 4, accounts[pick(int(accounts.size()))]);
        book.setValue(r, 5, members[pick(int(members.size()))]);
        QString remark;
        if (longRemarks) {
            remark = pool[pick(int(pool.size()))];
        } else {
            remark = QString::fromUtf8(kRemarks[pick(int(std::size(kRemarks)))]);
            // One in ten names the order or the month, so not every remark repeats.
            if (!remark.isEmpty() && pick(10) == 0)
                remark += QStringLiteral(" %1").arg(day.toString(QStringLiteral("yyyy年M月")));
            if (pick(40) == 0) remark += QStringLiteral(" 单号%1").arg(700000 + i);
        }
        if (!remark.isEmpty()) book.setValue(r, 6, remark);
    }
    return book;
}

// The uncompressed size of one member of a package, 0 when it is missing.
qint64 memberSize(const QString& path, const char* member) {
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip) return 0;
    zip_stat_t st;
    zip_stat_init(&st);
    const qint64 size = zip_stat(zip, member, 0, &st) == 0 ? qint64(st.size) : 0;
    zip_discard(zip);
    return size;
}

// The two sheets, written once per run.
struct Sheets {
    QTemporaryDir dir;
    QString rows100k;
    QString big;

    Sheets() {
        if (!dir.isValid()) throw DbError(QStringLiteral("无法建立临时文件夹"));
        rows100k = dir.filePath(QStringLiteral("收入导入.xlsx"));
        big = dir.filePath(QStringLiteral("收入导入-大.xlsx"));
        XlsxWriter writer;
        if (!writer.write(incomeSheet(kRows, false, 20261209), rows100k) ||
            !writer.write(incomeSheet(kBigRows, true, 20261210), big)) {
            throw DbError(writer.errorString());
        }
    }
};

Sheets& sheets() {
    static Sheets s;
    return s;
}

void BM_ImportRead(benchmark::State& st) {
    const QString& path = sheets().rows100k;
    for (auto _ : st) {
        const SheetRows sheet = SpreadsheetReader::read(path);
        if (sheet.rowCount() != size_t(kRows)) {
            st.SkipWithError("the sheet did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(sheet.cellCount());
    }
    st.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
}

void BM_ImportCheck(benchmark::State& st) {
    const SheetRows sheet = SpreadsheetReader::read(sheets().rows100k);
    const ImportKind& kind = incomeKind();
    for (auto _ : st) {
        const SpreadsheetImport::Checked checked = SpreadsheetImport::check(kind, sheet);
        if (!checked.ok() || checked.postings.size() != size_t(kRows)) {
            st.SkipWithError(checked.ok() ? "rows went missing" : qPrintable(checked.message));
            break;
        }
        benchmark::DoNotOptimize(checked.postings.data());
    }
}

// The import button after the check: every row with its balance move and journal row in one
// commit, the progress callback doing what the dialog's does (a bar update every 500 rows).
void BM_ImportBook(benchmark::State& st) {
    const ImportKind& kind = incomeKind();
    const SpreadsheetImport::Checked checked =
        SpreadsheetImport::check(kind, SpreadsheetReader::read(sheets().rows100k));
    if (!checked.ok()) {
        st.SkipWithError(qPrintable(checked.message));
        return;
    }
    BenchBook s;
    int booked = 0;
    int calls = 0;
    int barUpdates = 0;
    for (auto _ : st) {
        st.PauseTiming();
        s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("import-book"));
        calls = 0;
        barUpdates = 0;
        st.ResumeTiming();
        booked = SpreadsheetImport(*s.dm).book(kind, checked.postings, [&](int done) {
            ++calls;
            if (done % 500 == 0) benchmark::DoNotOptimize(++barUpdates);
        });
        if (booked != kRows || calls != kRows) {
            st.SkipWithError("not every row was booked or reported");
            break;
        }
    }
    st.counters["booked"] = booked;
    st.counters["progress_calls"] = calls;
    st.counters["bar_updates"] = barUpdates;
}

qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray k(key);
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// In the fresh process: the resident set before reading, and the peak while reading and while
// the rows are held (what the dialog keeps for its preview). Printed as "before peak" in kB.
int readPeak(const QString& path) {
    const qint64 before = statusKb("VmRSS:");
    const SheetRows sheet = SpreadsheetReader::read(path);
    const qint64 peak = statusKb("VmHWM:");
    std::printf("%lld %lld %zu\n", (long long)before, (long long)peak, sheet.rowCount());
    return before < 0 || peak < 0 ? 1 : 0;
}

// What the read rows hold: the characters of every cell, as if each held its own copy; the
// characters of the distinct buffers behind them (one per shared string, one per number cell);
// and those of the distinct texts. Buffers no larger than the texts mean no string is held twice
// (numbers alike in two cells are the only texts allowed a buffer each).
struct Holding {
    double perCellBytes = 0;
    double distinctBytes = 0;
    double uniqueTextBytes = 0;
    // The same two without the amount column: every cell there is a number, read afresh.
    double textBuffersBytes = 0;
    double textUniqueBytes = 0;
    // The cells' own records (column and text number) and the rows' ends and numbers.
    double listBytes = 0;
    qint64 cells = 0;
    qint64 buffers = 0;
};

Holding holding(const SheetRows& sheet) {
    Holding h;
    QSet<const void*> seen;
    QSet<QString> texts;
    const int amountColumn = int(sheet.header.indexOf(incomeKind().amountHeader));
    // The cells themselves: a column and a text number each.
    h.listBytes = double(sheet.cellCount()) * 8 + double(sheet.rowCount()) * 8;
    for (size_t r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < sheet.header.size(); ++c) {
            const QStringView cell = sheet.cell(r, c);
            if (cell.isEmpty()) continue;
            ++h.cells;
            const double bytes = double(cell.size()) * 2;
            const bool text = c != amountColumn;
            h.perCellBytes += bytes;
            if (!seen.contains(cell.data())) {
                seen.insert(cell.data());
                h.distinctBytes += bytes;
                if (text) h.textBuffersBytes += bytes;
            }
            const QString s = cell.toString();
            if (!texts.contains(s)) {
                texts.insert(s);
                h.uniqueTextBytes += bytes;
                if (text) h.textUniqueBytes += bytes;
            }
        }
    }
    h.buffers = seen.size();
    return h;
}

void BM_ImportReadPeakMemory(benchmark::State& st) {
    const QString& path = sheets().big;
    double before = 0;
    double peak = 0;
    for (auto _ : st) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--read_peak=") + path});
        if (!child.waitForFinished(600'000) || child.exitCode() != 0) {
            st.SkipWithError("the reading process failed");
            return;
        }
        const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
        if (out.size() != 3 || out[2].toInt() != kBigRows) {
            st.SkipWithError("the reading process did not read the sheet whole");
            return;
        }
        before = out[0].toDouble() * 1024;
        peak = out[1].toDouble() * 1024;
    }
    const Holding h = holding(SpreadsheetReader::read(path));
    st.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
    st.counters["sst_xml_MB"] = double(memberSize(path, "xl/sharedStrings.xml")) / 1e6;
    st.counters["sheet_xml_MB"] = double(memberSize(path, "xl/worksheets/sheet1.xml")) / 1e6;
    st.counters["peak_delta_MB"] = (peak - before) / 1e6;
    st.counters["text_per_cell_MB"] = h.perCellBytes / 1e6;
    st.counters["text_held_MB"] = h.distinctBytes / 1e6;
    st.counters["text_distinct_MB"] = h.uniqueTextBytes / 1e6;
    st.counters["row_lists_MB"] = h.listBytes / 1e6;
    st.counters["strings_held_MB"] = h.textBuffersBytes / 1e6;
    st.counters["strings_distinct_MB"] = h.textUniqueBytes / 1e6;
    st.counters["cells"] = double(h.cells);
    st.counters["buffers"] = double(h.buffers);
}

// The million-row income sheet, written on first use (about half a minute).
const QString& millionSheet() {
    static const QString path = [] {
        const QString p = sheets().dir.filePath(QStringLiteral("收入导入-百万.xlsx"));
        XlsxWriter writer;
        if (!writer.write(incomeSheet(kMillion, false, 20261211), p))
            throw DbError(writer.errorString());
        return p;
    }();
    return path;
}

// The attack set, written on first use: kAttackKinds for each of kAttackSizes, in that order,
// and /dev/zero read as a bill last.
const QStringList& attackFiles() {
    static const QStringList files = [] {
        QStringList all;
        for (const qint64 size : kAttackSizes) all += AttackFiles::write(sheets().dir.path(), size);
        all << QStringLiteral("/dev/zero");
        return all;
    }();
    return files;
}

// Processor seconds this process has used so far (user and system).
double processorSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Runs this executable again on one file; its output split at blanks, empty on failure.
QList<QByteArray> runChild(const QStringList& args, benchmark::State& st) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(-1)) {
        st.SkipWithError("the child process did not finish");
        return {};
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        st.SkipWithError(
            ("the child process failed: " + child.readAllStandardError().left(300).toStdString())
                .c_str());
        return {};
    }
    return child.readAllStandardOutput().trimmed().split(' ');
}

// In the fresh process: the sheet read, checked and booked into a scratch copy of the book as
// the import dialog does. Prints seconds, the resident set before reading and the peak (kB),
// the rows booked, and the processor seconds in all, of reading and of checking.
int importAll(const QString& path, qint64 bookSize) {
    BenchBook s;
    s.open(bookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("import-all"));
    const qint64 before = statusKb("VmRSS:");
    const double cpu = processorSeconds();
    QElapsedTimer timer;
    timer.start();
    const ImportKind& kind = incomeKind();
    SpreadsheetImport::Checked checked;
    double readCpu = 0;
    {
        const SheetRows sheet = SpreadsheetReader::read(path);
        readCpu = processorSeconds() - cpu;
        checked = SpreadsheetImport::check(kind, sheet);
    }
    const double checkCpu = processorSeconds() - cpu - readCpu;
    if (!checked.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(checked.message));
        return 1;
    }
    const int booked = SpreadsheetImport(*s.dm).book(kind, checked.postings, [](int) {});
    std::printf("%.3f %lld %lld %d %.3f %.3f %.3f\n", double(timer.elapsed()) / 1000,
                (long long)before, (long long)statusKb("VmHWM:"), booked, processorSeconds() - cpu,
                readCpu, checkCpu);
    return 0;
}

// In the fresh process: one file of the attack set read as the dialogs read it (a .csv or
// /dev/zero as a bill). Prints seconds, the peak (kB), 1 when it was refused, and the
// processor seconds (the machine may be shared: wall time waits for others too).
int readAttack(const QString& path) {
    const double cpu = processorSeconds();
    QElapsedTimer timer;
    timer.start();
    int refused = 0;
    try {
        if (path.endsWith(QLatin1String(".csv")) || path.startsWith(QLatin1String("/dev/")))
            BillReader::read(path);
        else
            SpreadsheetReader::read(path);
    } catch (const SheetError& e) {
        refused = 1;
        std::fprintf(stderr, "%s\n", e.what());
    }
    std::printf("%.3f %lld %d %.3f\n", double(timer.elapsed()) / 1000,
                (long long)statusKb("VmHWM:"), refused, processorSeconds() - cpu);
    return 0;
}

void BM_ImportMillion(benchmark::State& st) {
    const QString& path = millionSheet();
    // The cached book is written here, if at all, not in the child's timing.
    BookGenerator::scratchCopy(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("import-all"));
    for (auto _ : st) {
        const QList<QByteArray> out =
            runChild({QStringLiteral("--import_all=") + path, QString::number(gBookSize)}, st);
        if (out.size() != 7 || out[3].toInt() != kMillion) {
            st.SkipWithError("the sheet was not booked whole");
            return;
        }
        st.counters["seconds"] = out[0].toDouble();
        st.counters["rss_before_MB"] = out[1].toDouble() * 1024 / 1e6;
        st.counters["peak_MB"] = out[2].toDouble() * 1024 / 1e6;
        st.counters["cpu_seconds"] = out[4].toDouble();
        st.counters["read_cpu_s"] = out[5].toDouble();
        st.counters["check_cpu_s"] = out[6].toDouble();
    }
    st.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
}

void BM_ImportAttack(benchmark::State& st) {
    const QString& path = attackFiles().at(int(st.range(0)));
    for (auto _ : st) {
        const QList<QByteArray> out = runChild({QStringLiteral("--attack=") + path}, st);
        if (out.size() != 4) return;
        st.counters["seconds"] = out[0].toDouble();
        st.counters["peak_MB"] = out[1].toDouble() * 1024 / 1e6;
        st.counters["refused"] = out[2].toDouble();
        st.counters["cpu_seconds"] = out[3].toDouble();
    }
    st.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
}

void registerAttacks() {
    int index = 0;
    for (const qint64 size : kAttackSizes) {
        for (const char* kind : kAttackKinds) {
            benchmark::RegisterBenchmark(
                ("BM_ImportAttack/" + std::string(kind) + "/" + std::to_string(size / 1024) + "k")
                    .c_str(),
                BM_ImportAttack)
                ->Arg(index++)
                ->Iterations(1)
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("BM_ImportAttack/dev-zero", BM_ImportAttack)
        ->Arg(index)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], "--read_peak=", 12) == 0) {
        QCoreApplication app(argc, argv);
        try {
            return readPeak(QString::fromLocal8Bit(argv[1] + 12));
        } catch (const SheetError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    if (argc >= 2 && std::strncmp(argv[1], "--attack=", 9) == 0) {
        QCoreApplication app(argc, argv);
        return readAttack(QString::fromLocal8Bit(argv[1] + 9));
    }
    if (argc == 3 && std::strncmp(argv[1], "--import_all=", 13) == 0) {
        QCoreApplication app(argc, argv);
        try {
            return importAll(QString::fromLocal8Bit(argv[1] + 13), std::atoll(argv[2]));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    return benchMain<QCoreApplication>(argc, argv, [](qint64 n) {
        gBookSize = n;
        const Sheets& s = sheets();
        benchmark::AddCustomContext("book_postings", std::to_string(gBookSize));
        benchmark::AddCustomContext("sheet_rows", std::to_string(kRows));
        benchmark::AddCustomContext("sheet_bytes", std::to_string(QFileInfo(s.rows100k).size()));
        benchmark::AddCustomContext("big_sheet_rows", std::to_string(kBigRows));
        benchmark::AddCustomContext("big_sheet_bytes", std::to_string(QFileInfo(s.big).size()));
        // A commit waits for the disk, not for the processor: real time is the figure.
        benchmark::RegisterBenchmark("BM_ImportRead", BM_ImportRead)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ImportCheck", BM_ImportCheck)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ImportBook", BM_ImportBook)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        benchmark::RegisterBenchmark("BM_ImportReadPeakMemory", BM_ImportReadPeakMemory)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        // A whole genuine sheet, in a fresh process: seconds and peak are the figures.
        benchmark::RegisterBenchmark("BM_ImportMillion", BM_ImportMillion)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        registerAttacks();
    });
}
