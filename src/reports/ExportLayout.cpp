#include "reports/ExportLayout.h"

#include <stdexcept>

namespace cw {

namespace {

using Col = ExportLayout::Column;
using Total = ExportLayout::Total;
using Source = ExportLayout::Total::Source;
using Margins = ExportLayout::Margins;
using Orientation = Workbook::Orientation;

Total rowCount() {
    return {2, Source::RowCount};
}

Total sum(int column, Field field) {
    return {column, Source::Sum, field};
}

// The monthly and yearly reports differ only in the period column.
ExportLayout incomeExpense(const char* screen, const char* suffix, const char* period) {
    return {
        .screen = QString::fromUtf8(screen),
        .suffix = QString::fromUtf8(suffix),
        .rangeNote = false,
        .columns = {{Field::theDate, QString::fromUtf8(period), 8},
                    {Field::theSM, QStringLiteral("收入金额"), 10},
                    {Field::theSC, QStringLiteral("收入笔数"), 10},
                    {Field::theZM, QStringLiteral("支出金额"), 10},
                    {Field::theZC, QStringLiteral("支出笔数"), 10},
                    {Field::theJY, QStringLiteral("结余金额"), 10},
                    {Field::theBC, QStringLiteral("支出占收入"), 11}},
        .totals = {sum(3, Field::theSM), sum(4, Field::theSC), sum(5, Field::theZM),
                   sum(6, Field::theZC), sum(7, Field::theJY)},
        .margins = Margins::BottomOnly,
    };
}

// The income and expense queries share their shape.
ExportLayout posting(const char* screen, const char* suffix, Field date, const char* category,
                     Field name, Field money) {
    return {
        .screen = QString::fromUtf8(screen),
        .suffix = QString::fromUtf8(suffix),
        .rangeNote = true,
        .columns = {{date, QStringLiteral("日期"), 10},
                    {name, QString::fromUtf8(category), 12},
                    {money, QStringLiteral("金额"), 10},
                    {Field::AName, QStringLiteral("账户名称"), 12},
                    {Field::FName, QStringLiteral("家庭成员"), 12},
                    {Field::Remark, QStringLiteral("备注"), 56}},
        .totals = {rowCount(), sum(4, money)},
        .orientation = Orientation::Landscape,
        .margins = Margins::AllFour,
    };
}

// Debts and credits: the person, the amount and what has come back of it.
ExportLayout settled(const char* screen, const char* suffix, Field date, const char* person,
                     Field who, const char* amount, Field money, const char* back) {
    return {
        .screen = QString::fromUtf8(screen),
        .suffix = QString::fromUtf8(suffix),
        .rangeNote = true,
        .columns = {{date, QStringLiteral("日期"), 10},
                    {who, QString::fromUtf8(person), 12},
                    {money, QString::fromUtf8(amount), 10},
                    {Field::AName, QStringLiteral("账户名称"), 12},
                    {Field::FName, QStringLiteral("家庭成员"), 12},
                    {Field::RMoney, QString::fromUtf8(back), 10},
                    {Field::Remark, QStringLiteral("备注"), 46}},
        .totals = {rowCount(), sum(4, money)},
        .orientation = Orientation::Landscape,
        .margins = Margins::AllFour,
    };
}

// The records under debts, credits and investments.
ExportLayout record(const char* screen, const char* suffix, const char* what, Field which,
                    const char* amount, Field money, const char* account) {
    return {
        .screen = QString::fromUtf8(screen),
        .suffix = QString::fromUtf8(suffix),
        .rangeNote = true,
        .columns = {{Field::RDate, QStringLiteral("日期"), 10},
                    {which, QString::fromUtf8(what), 10},
                    {money, QString::fromUtf8(amount), 10},
                    {Field::AName, QString::fromUtf8(account), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 10},
                    {Field::Remark, QStringLiteral("备注"), 20}},
        .totals = {rowCount(), sum(4, money)},
        .margins = Margins::BottomOnly,
    };
}

// The analysis screens write only the title, the rows and the totals.
ExportLayout analysis(const char* screen, const char* suffix) {
    return {
        .screen = QString::fromUtf8(screen),
        .suffix = QString::fromUtf8(suffix),
        .columns = {{Field::Item, QStringLiteral("统计的项"), 10},
                    {Field::Amount, QStringLiteral("金额"), 10}},
        .totals = {rowCount(), sum(3, Field::Amount)},
        .margins = Margins::BottomOnly,
        .reduced = true,
    };
}

std::vector<ExportLayout> makeLayouts() {
    std::vector<ExportLayout> all;
    all.push_back({
        .screen = QStringLiteral("TfrmPage3"),
        .suffix = QStringLiteral("-资金流动日志"),
        .rangeNote = true,
        .columns = {{Field::theDate, QStringLiteral("日期"), 10},
                    {Field::theType, QStringLiteral("收支类别"), 12},
                    {Field::Remark, QStringLiteral("摘要"), 40},
                    {Field::theIn, QStringLiteral("收入"), 10},
                    {Field::theOut, QStringLiteral("支出"), 10},
                    {Field::AName, QStringLiteral("账户名称"), 12},
                    {Field::AMoney, QStringLiteral("本次余额"), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 12}},
        .totals = {sum(5, Field::theIn), sum(6, Field::theOut)},
        .orientation = Orientation::Landscape,
        .margins = Margins::AllFour,
    });
    all.push_back(
        posting("TfrmP_In", "-收入表", Field::IDate, "收入类别", Field::IName, Field::IMoney));
    all.push_back(
        posting("TfrmP_Out", "-支出表", Field::ODate, "支出类别", Field::OName, Field::OMoney));
    all.push_back({
        .screen = QStringLiteral("TfrmP_A"),
        .suffix = QStringLiteral("-转账表"),
        .rangeNote = true,
        .columns = {{Field::CDate, QStringLiteral("日期"), 10},
                    {Field::OldN, QStringLiteral("原账户"), 12},
                    {Field::NewN, QStringLiteral("到账账户"), 10},
                    {Field::CMoney, QStringLiteral("转账金额"), 12},
                    {Field::FName, QStringLiteral("家庭成员"), 12},
                    {Field::Remark, QStringLiteral("备注"), 56}},
        .totals = {rowCount(), sum(5, Field::CMoney)},
        .orientation = Orientation::Landscape,
    });
    all.push_back(settled("TfrmP_B", "-债务表", Field::BDate, "债权人", Field::BPro, "债务金额",
                          Field::BMoney, "已还金额"));
    all.push_back(settled("TfrmP_D", "-债权表", Field::DDate, "债务人", Field::DPro, "债权金额",
                          Field::DMoney, "已收金额"));
    all.push_back({
        .screen = QStringLiteral("TfrmTZ_Qu"),
        .suffix = QStringLiteral("-投资表"),
        .rangeNote = true,
        .columns = {{Field::TDate, QStringLiteral("日期"), 10},
                    {Field::TName, QStringLiteral("投资类别"), 10},
                    {Field::TMoney, QStringLiteral("投资金额"), 10},
                    {Field::RMoney, QStringLiteral("收益金额"), 10},
                    {Field::AName, QStringLiteral("账户名称"), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 10},
                    {Field::Remark, QStringLiteral("备注"), 10}},
        .totals = {rowCount(), sum(4, Field::TMoney), sum(5, Field::RMoney)},
        .margins = Margins::BottomOnly,
    });
    all.push_back(record("TfrmBR_Q", "-还债表", "债权人", Field::BPro, "还债金额", Field::RMoney,
                         "账户名称"));
    all.push_back(record("TfrmDR_Q", "-收债表", "债务人", Field::DPro, "收债金额", Field::RMoney,
                         "账户名称"));
    // The return records write 帐 in their account column, as their screen does.
    all.push_back(record("TfrmTR_Q", "-收益表", "投资类别", Field::TName, "收益金额", Field::SMoney,
                         "帐户名称"));
    all.push_back(incomeExpense("TfrmSZ_M", "-收支月报表", "月份"));
    all.push_back(incomeExpense("TfrmSZ_Y", "-收支年报表", "年份"));
    all.push_back({
        .screen = QStringLiteral("TfrmA_Q"),
        .suffix = QStringLiteral("-账户表"),
        .columns = {{Field::theType, QStringLiteral("账户分类"), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 12},
                    {Field::AName, QStringLiteral("账户名称"), 14},
                    {Field::AMoney, QStringLiteral("账户余额"), 10},
                    {Field::Remark, QStringLiteral("备注"), 20}},
        .totals = {rowCount(), {5, Source::SumDisplay, Field::AMoney}},
        .orientation = Orientation::Portrait,
        .margins = Margins::AllFour,
    });
    all.push_back({
        .screen = QStringLiteral("TfrmPlan_V"),
        .suffix = QStringLiteral("-计划表"),
        .columns = {{Field::PType, QStringLiteral("类别"), 4},
                    {Field::PDate, QStringLiteral("日期"), 10},
                    {Field::PName, QString(), 12},
                    {Field::PMoney, QStringLiteral("金额"), 10},
                    {Field::AName, QStringLiteral("账户名称"), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 10},
                    {Field::Remark, QStringLiteral("备注"), 14}},
        .totals = {rowCount(), sum(5, Field::PMoney)},
        .margins = Margins::BottomOnly,
    });
    all.push_back({
        .screen = QStringLiteral("TfrmUThing_Q"),
        .suffix = QStringLiteral("-记事表"),
        .rangeNote = true,
        .columns = {{Field::TDate, QStringLiteral("日期"), 10},
                    {Field::FName, QStringLiteral("家庭成员"), 12},
                    {Field::Title, QStringLiteral("标题"), 30},
                    {Field::Detail, QStringLiteral("内容"), 60, true}},
        .totalsRow = false,
        .orientation = Orientation::Landscape,
        .margins = Margins::AllFour,
    });
    all.push_back(analysis("TfrmE_I", "-收入分析表"));
    all.push_back(analysis("TfrmE_O", "-支出分析表"));
    return all;
}

}  // namespace

const std::vector<ExportLayout>& ExportLayout::all() {
    static const std::vector<ExportLayout> layouts = makeLayouts();
    return layouts;
}

const ExportLayout& ExportLayout::forScreen(const QString& screen) {
    for (const ExportLayout& l : all()) {
        if (l.screen == screen) return l;
    }
    throw std::out_of_range("no export layout for " + screen.toStdString());
}

}  // namespace cw
