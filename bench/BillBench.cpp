// Payment-app bills on a generated household book: a month of 5,000 rows read and planned (the
// preview the bill dialog shows), the same rows booked in one transaction, and the preview of a
// bill already booked (every row "已导入").
//
//   coinwick_bill_bench [--book_n=N] [Google Benchmark flags]
//
// The two bills are written once per run into a temporary folder: a WeChat Pay .xlsx through the
// program's own workbook writer, and an Alipay .csv in GBK. N comes from --book_n, else from
// COINWICK_BENCH_N, else 10000; the book is the cached one of coinwick_bench (see README.md),
// copied to scratch files of its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QStringEncoder>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "import/SheetRows.h"
#include "import/bills/BillImport.h"
#include "import/bills/BillReader.h"
#include "import/bills/ui/BillImportDialog.h"
#include "import/bills/ui/BillRowsModel.h"
#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "widgets/AppContext.h"
#include "widgets/Messages.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

constexpr int kRows = 5'000;

qint64 gBookSize = 10'000;

// One transaction of the month, in neither app's words yet.
struct Txn {
    QDateTime when;
    enum { In, Out, Neutral } direction = Out;
    bool refunded = false;
    qint64 cents = 0;
    int who = 0;     // counterparty
    int method = 0;  // payment method
    int number = 0;  // running number, for unique transaction numbers
};

struct Party {
    const char* name;
    const char* goods;
    const char* wechatType;
    const char* alipayType;
};

// Shops and people a household pays or is paid by in a month; incomes last.
const Party kParties[] = {
    {"美宜佳便利店", "饮料", "商户消费", "餐饮美食"},
    {"沙县小吃", "午餐", "商户消费", "餐饮美食"},
    {"瑞幸咖啡", "生椰拿铁", "商户消费", "餐饮美食"},
    {"肯德基", "早餐套餐", "商户消费", "餐饮美食"},
    {"盒马鲜生", "蔬菜水果", "商户消费", "日用百货"},
    {"永辉超市", "日用品", "扫二维码付款", "日用百货"},
    {"朴朴超市", "牛奶鸡蛋", "商户消费", "日用百货"},
    {"滴滴出行", "快车", "商户消费", "交通出行"},
    {"深圳通", "地铁乘车码", "商户消费", "交通出行"},
    {"中国石化", "92号汽油", "扫二维码付款", "爱车养车"},
    {"国家电网", "电费", "商户消费", "充值缴费"},
    {"中国移动", "话费充值", "商户消费", "充值缴费"},
    {"优衣库", "T恤", "商户消费", "服饰装扮"},
    {"京东", "耳机", "商户消费", "数码电器"},
    {"大参林药房", "感冒药", "扫二维码付款", "医疗健康"},
    {"万达影城", "电影票", "商户消费", "文化休闲"},
    {"新华书店", "图书", "商户消费", "教育培训"},
    {"美团外卖", "晚餐", "商户消费", "餐饮美食"},
    {"理发店", "/", "扫二维码付款", "美容美发"},
    {"菜市场王阿姨", "/", "扫二维码付款", "日用百货"},
    {"物业管理处", "物业费", "商户消费", "住房物业"},
    {"宠物医院", "疫苗", "商户消费", "宠物"},
    {"张三", "/", "转账", "转账红包"},
    {"李四", "/", "微信红包", "转账红包"},
    // Incomes.
    {"王五", "/", "转账", "收入"},
    {"老陈", "/", "微信红包", "转账红包"},
    {"闲鱼买家", "二手书", "转账", "收入"},
};
constexpr int kIncomeParties = 3;
constexpr int kPartyCount = int(std::size(kParties));

const char* const kWeChatMethods[] = {"零钱",
                                      "零钱",
                                      "招商银行储蓄卡(1234)",
                                      "工商银行储蓄卡(5678)",
                                      "零钱通",
                                      "交通银行信用卡(9012)"};
const char* const kAlipayMethods[] = {
    "花呗", "余额", "余额宝", "招商银行储蓄卡(1234)", "中国银行信用卡(3456)", "账户余额"};

// A month of transactions: most of them small spending, a few incomes, about 2.5 % neutral
// (withdrawals, top-ups, yield) and 2.5 % refunded or closed, times spread over November.
std::vector<Txn> month() {
    std::mt19937 rng(20261109);
    const QDateTime start(QDate(2026, 11, 1), QTime(0, 0));
    const qint64 seconds = 30LL * 24 * 3600;
    std::vector<Txn> out(kRows);
    for (int i = 0; i < kRows; ++i) {
        Txn& t = out[size_t(i)];
        t.number = i;
        // Newest first, as both apps list them; a little jitter keeps times uneven.
        t.when = start.addSecs(seconds - (qint64(i) * seconds / kRows) -
                               std::uniform_int_distribution<int>(0, 400)(rng));
        const int kind = std::uniform_int_distribution<int>(0, 999)(rng);
        t.method = std::uniform_int_distribution<int>(0, 5)(rng);
        if (kind < 25) {
            t.direction = Txn::Neutral;
            t.who = 0;
        } else if (kind < 100) {
            t.direction = Txn::In;
            t.who =
                kPartyCount - 1 - std::uniform_int_distribution<int>(0, kIncomeParties - 1)(rng);
        } else {
            t.direction = Txn::Out;
            t.who = std::uniform_int_distribution<int>(0, kPartyCount - kIncomeParties - 1)(rng);
            t.refunded = kind >= 975;
        }
        // Mostly a few yuan to a few hundred, now and then thousands (with a separator).
        std::lognormal_distribution<double> spend(3.3, 1.2);
        qint64 cents = qint64(spend(rng) * 100);
        if (t.direction == Txn::In && kind < 40) cents = 800'000 + cents;
        t.cents = std::clamp<qint64>(cents, 1, 2'000'000);
    }
    return out;
}

QString yuan(qint64 cents) {
    QString whole = QString::number(cents / 100);
    for (int at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, QLatin1Char(','));
    return whole + QStringLiteral(".%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString stamp(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString weChatXlsx(const std::vector<Txn>& txns, const QString& path) {
    Workbook book;
    int r = 1;
    const QStringList preamble{
        "微信支付账单明细",
        "微信昵称：[小王]",
        "起始时间：[2026-11-01 00:00:00] 终止时间：[2026-11-30 23:59:59]",
        "导出类型：[全部]",
        "导出时间：[2026-12-01 09:12:45]",
        "",
        QStringLiteral("共%1笔记录").arg(txns.size()),
        "收入：若干笔 若干元",
        "支出：若干笔 若干元",
        "中性交易：若干笔 若干元",
        "注：",
        "1. 充值/提现/理财通购买/零钱通存取/信用卡还款等交易，将计入中性交易",
        "2. 本明细仅展示当前账单中的交易，不包括已删除的记录",
        "3. 本明细仅供个人对账使用",
        "",
        "",
        "----------------------微信支付账单明细列表--------------------"};
    for (const QString& l : preamble) book.setValue(r++, 1, l);
    const QStringList header{"交易时间", "交易类型", "交易对方", "商品",     "收/支", "金额(元)",
                             "支付方式", "当前状态", "交易单号", "商户单号", "备注"};
    for (int c = 0; c < header.size(); ++c) book.setValue(r, c + 1, header[c]);
    ++r;
    for (const Txn& t : txns) {
        const Party& p = kParties[t.who];
        QString type = QString::fromUtf8(p.wechatType);
        QString party = QString::fromUtf8(p.name);
        QString goods = QString::fromUtf8(p.goods);
        QString dir, method = QString::fromUtf8(kWeChatMethods[t.method]), status;
        switch (t.direction) {
            case Txn::In:
                dir = QStringLiteral("收入");
                method = QStringLiteral("/");
                status = QStringLiteral("已收钱");
                break;
            case Txn::Out:
                dir = QStringLiteral("支出");
                status = t.refunded ? QStringLiteral("已全额退款") : QStringLiteral("支付成功");
                break;
            case Txn::Neutral:
                dir = QStringLiteral("/");
                type = t.number % 2 ? QStringLiteral("零钱提现") : QStringLiteral("零钱充值");
                party = QStringLiteral("招商银行(1234)");
                goods = QStringLiteral("/");
                method = QStringLiteral("零钱");
                status = t.number % 2 ? QStringLiteral("提现已到账") : QStringLiteral("充值完成");
                break;
        }
        const QStringList cells{
            stamp(t.when),
            type,
            party,
            goods,
            dir,
            QStringLiteral("¥") + yuan(t.cents),
            method,
            status,
            QStringLiteral("42000026112026%1").arg(t.number, 8, 10, QLatin1Char('0')),
            t.direction == Txn::Out ? QStringLiteral("M%1").arg(t.number + 700000)
                                    : QStringLiteral("/"),
            QStringLiteral("/")};
        for (int c = 0; c < cells.size(); ++c) book.setValue(r, c + 1, cells[c]);
        ++r;
    }
    XlsxWriter writer;
    if (!writer.write(book, path)) throw DbError(writer.errorString());
    return path;
}

QString alipayCsv(const std::vector<Txn>& txns, const QString& path) {
    QStringList lines{
        "支付宝交易明细", "账号：[xiaowang@example.com]",
        "起始日期：[2026-11-01 00:00:00]    终止日期：[2026-12-01 00:00:00]",
        "---------------------------------交易记录明细列表------------------------------------",
        "交易时间\t,交易分类\t,交易对方\t,对方账号\t,商品说明\t,收/支\t,金额\t,收/付款方式\t,"
        "交易状态\t,交易订单号\t,商家订单号\t,备注\t,"};
    for (const Txn& t : txns) {
        const Party& p = kParties[t.who];
        QString type = QString::fromUtf8(p.alipayType);
        QString party = QString::fromUtf8(p.name);
        QString goods = QString::fromUtf8(p.goods);
        QString dir, method = QString::fromUtf8(kAlipayMethods[t.method]), status;
        switch (t.direction) {
            case Txn::In:
                dir = QStringLiteral("收入");
                method = t.number % 3 ? QString() : QStringLiteral("余额");
                status = QStringLiteral("交易成功");
                break;
            case Txn::Out:
                dir = QStringLiteral("支出");
                status = t.refunded ? (t.number % 2 ? QStringLiteral("退款成功")
                                                    : QStringLiteral("交易关闭"))
                                    : QStringLiteral("交易成功");
                break;
            case Txn::Neutral:
                dir = QStringLiteral("不计收支");
                type = QStringLiteral("投资理财");
                party = QStringLiteral("余额宝");
                goods = QStringLiteral("收益发放");
                method = QStringLiteral("余额宝");
                status = QStringLiteral("交易成功");
                break;
        }
        // The export pads every cell with a tab and quotes amounts holding a separator.
        QString amount = yuan(t.cents);
        if (amount.contains(QLatin1Char(',')))
            amount = QLatin1Char('"') + amount + QLatin1Char('"');
        const QStringList cells{
            stamp(t.when),
            type,
            party,
            QStringLiteral("%1***@example.com").arg(t.who),
            goods == QStringLiteral("/") ? QString() : goods,
            dir,
            amount,
            method,
            status,
            QStringLiteral("2026110922001%1").arg(t.number, 8, 10, QLatin1Char('0')),
            t.direction == Txn::Out ? QStringLiteral("T%1").arg(t.number) : QString(),
            QString()};
        lines << cells.join(QStringLiteral("\t,")) + QStringLiteral("\t,");
    }
    lines << "------------------------------------------------------------------------------------"
          << "导出时间：[2026-12-01 10:00:00]";
    QStringEncoder gbk("GB18030");
    if (!gbk.isValid()) throw DbError(QStringLiteral("没有 GB18030 编码"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw DbError(QStringLiteral("无法写入 ") + path);
    file.write(gbk.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return path;
}

// The two bills, written once per run.
struct Bills {
    QTemporaryDir dir;
    QString paths[2];

    Bills() {
        if (!dir.isValid()) throw DbError(QStringLiteral("无法建立临时文件夹"));
        const std::vector<Txn> txns = month();
        paths[0] = weChatXlsx(txns, dir.filePath(QStringLiteral("微信支付账单.xlsx")));
        paths[1] = alipayCsv(txns, dir.filePath(QStringLiteral("支付宝交易明细.csv")));
    }
};

Bills& bills() {
    static Bills b;
    return b;
}

BenchBook& readOnlyBook() {
    static BenchBook s;
    if (!s.db) s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("bills"));
    return s;
}

bool sane(benchmark::State& st, const std::vector<BillImport::Planned>& rows, bool booked) {
    const BillImport::Counts c = BillImport::count(rows);
    if (int(rows.size()) != kRows) {
        st.SkipWithError("the bill did not read back whole");
        return false;
    }
    if (booked ? c.added != 0 || c.imported < kRows * 9 / 10 : c.added < kRows * 9 / 10) {
        st.SkipWithError(booked ? "rows of a booked bill would be booked again"
                                : "too few rows proposed for booking");
        return false;
    }
    return true;
}

// What the dialog does before it shows the grid: read the file, then match every row.
void BM_BillPreview(benchmark::State& st, int which) {
    const QString& path = bills().paths[which];
    BillImport import(*readOnlyBook().dm);
    for (auto _ : st) {
        const auto rows = import.plan(BillReader::read(path));
        if (!sane(st, rows, false)) break;
        benchmark::DoNotOptimize(rows.data());
    }
}

// The booking button: every ticked row as a posting with its journal row, the transaction
// numbers stored, one commit. The book is a fresh copy each time, planned outside the timing.
void BM_BillBook(benchmark::State& st, int which) {
    const QString& path = bills().paths[which];
    const Bill bill = BillReader::read(path);
    BenchBook s;
    int booked = 0;
    for (auto _ : st) {
        st.PauseTiming();
        s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("bills-book"));
        BillImport import(*s.dm);
        const auto rows = import.plan(bill);
        if (!sane(st, rows, false)) break;
        st.ResumeTiming();
        booked = import.book(rows);
    }
    st.counters["booked"] = booked;
}

// The same bill opened again after it was booked: every row found among the stored numbers.
void BM_BillPreviewAfterBooking(benchmark::State& st, int which) {
    const QString& path = bills().paths[which];
    BenchBook s;
    s.open(gBookSize, COINWICK_BENCH_DATA_DIR, QStringLiteral("bills-rebook"));
    BillImport import(*s.dm);
    import.book(import.plan(BillReader::read(path)));
    for (auto _ : st) {
        const auto rows = import.plan(BillReader::read(path));
        if (!sane(st, rows, true)) break;
        benchmark::DoNotOptimize(rows.data());
    }
}

// What the user waits for after choosing the file: the dialog reads and matches the bill,
// fills its grid and paints the first screenful.
void BM_BillDialogOpen(benchmark::State& st, int which) {
    const QString& path = bills().paths[which];
    BenchBook& book = readOnlyBook();
    QtMessages messages;
    AppContext ctx{*book.db,        *book.dm, book.state, messages, QString(),
                   Clock::system(), {},       {},         {},       {}};
    BillImportDialog dialog(ctx);
    dialog.show();
    for (auto _ : st) {
        dialog.openFile(path);
        dialog.grid()->viewport()->repaint();
        if (!sane(st, dialog.model()->rows(), false)) break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The dialog case paints (offscreen).
    return benchMain<QApplication>(argc, argv, [](qint64 n) {
        gBookSize = n;
        bills();
        benchmark::AddCustomContext("book_postings", std::to_string(gBookSize));
        benchmark::AddCustomContext("bill_rows", std::to_string(kRows));
        const std::pair<const char*, void (*)(benchmark::State&, int)> cases[] = {
            {"BM_BillPreview", BM_BillPreview},
            {"BM_BillDialogOpen", BM_BillDialogOpen},
            {"BM_BillBook", BM_BillBook},
            {"BM_BillPreviewAfterBooking", BM_BillPreviewAfterBooking},
        };
        const char* const sources[] = {"wechat-xlsx", "alipay-csv"};
        // A commit waits for the disk, not for the processor: real time is the figure.
        for (const auto& [name, fn] : cases) {
            for (int which = 0; which < 2; ++which) {
                const std::string full = std::string(name) + "/" + sources[which];
                const auto run = [fn = fn, which](benchmark::State& st) { fn(st, which); };
                benchmark::RegisterBenchmark(full.c_str(), run)
                    ->UseRealTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    });
}
