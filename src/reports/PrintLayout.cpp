#include "reports/PrintLayout.h"

#include <stdexcept>

namespace cw {

namespace {

PrintLayout incomeExpense(const char* name, const char* title, const char* period) {
    return {
        .name = QString::fromUtf8(name),
        .title = QString::fromUtf8(title),
        .landscape = false,
        .columns = {{Field::theDate, QString::fromUtf8(period), 20},
                    {Field::theSM, QStringLiteral("收入金额"), 20},
                    {Field::theSC, QStringLiteral("收入笔数"), 20},
                    {Field::theZM, QStringLiteral("支出金额"), 20},
                    {Field::theZC, QStringLiteral("支出笔数"), 20},
                    {Field::theJY, QStringLiteral("结余"), 20},
                    {Field::theBC, QString(), 20}},
        .summed = {Field::theSM, Field::theSC, Field::theZM, Field::theZC, Field::theJY},
    };
}

// Debts and credits print alike.
PrintLayout settled(const char* name, const char* title, Field date, const char* person, Field who,
                    const char* amount, Field money, const char* back) {
    return {
        .name = QString::fromUtf8(name),
        .title = QString::fromUtf8(title),
        .bookInTitle = true,
        .columns = {{date, QStringLiteral("日期"), 20},
                    {who, QString::fromUtf8(person), 20},
                    {money, QString::fromUtf8(amount), 20},
                    {Field::AName, QStringLiteral("账户名称"), 20},
                    {Field::FName, QStringLiteral("家庭成员"), 20},
                    {Field::RMoney, QString::fromUtf8(back), 20},
                    {Field::Remark, QStringLiteral("备注"), 121, true}},
        .summed = {money, Field::RMoney},
    };
}

std::vector<PrintLayout> makeLayouts() {
    std::vector<PrintLayout> all;
    all.push_back({
        .name = QStringLiteral("Print/thePage3.rf3"),
        .title = QStringLiteral("资金流动日志"),
        .bookInTitle = true,
        .columns = {{Field::theDate, QStringLiteral("日期"), 20},
                    {Field::theType, QStringLiteral("收支类别"), 30},
                    {Field::Remark, QStringLiteral("摘要"), 82, true},
                    {Field::theIn, QStringLiteral("收入"), 20},
                    {Field::theOut, QStringLiteral("支出"), 20},
                    {Field::AName, QStringLiteral("账户名称"), 22},
                    {Field::AMoney, QStringLiteral("账户余额"), 20},
                    {Field::FName, QStringLiteral("家庭成员"), 25}},
        .summed = {Field::theIn, Field::theOut},
    });
    all.push_back({
        .name = QStringLiteral("Print/theSR.rf3"),
        .title = QStringLiteral("收入报表"),
        .bookInTitle = true,
        .columns = {{Field::IDate, QStringLiteral("收入日期"), 20},
                    {Field::IName, QStringLiteral("收入类别"), 32},
                    {Field::IMoney, QStringLiteral("收入金额"), 20},
                    {Field::AName, QStringLiteral("账户名称"), 22},
                    {Field::FName, QStringLiteral("家庭成员"), 20},
                    {Field::Remark, QStringLiteral("备注"), 146, true}},
        .summed = {Field::IMoney},
    });
    all.push_back({
        .name = QStringLiteral("Print/theZC.rf3"),
        .title = QStringLiteral("支出报表"),
        .bookInTitle = true,
        .columns = {{Field::ODate, QStringLiteral("支出日期"), 20},
                    {Field::OName, QStringLiteral("支出类别"), 31},
                    {Field::OMoney, QStringLiteral("支出金额"), 20},
                    {Field::AName, QStringLiteral("账户名称"), 22},
                    {Field::FName, QStringLiteral("家庭成员"), 20},
                    {Field::Remark, QStringLiteral("备注"), 134, true}},
        .summed = {Field::OMoney},
    });
    all.push_back({
        .name = QStringLiteral("Print/theZZ.rf3"),
        .title = QStringLiteral("转账报表"),
        .bookInTitle = true,
        .columns = {{Field::CDate, QStringLiteral("转帐日期"), 20},
                    {Field::OldN, QStringLiteral("原始帐户"), 20},
                    {Field::NewN, QStringLiteral("到账账户"), 20},
                    {Field::CMoney, QStringLiteral("转账金额"), 20},
                    {Field::FName, QStringLiteral("家庭成员"), 20},
                    {Field::Remark, QStringLiteral("备注"), 145, true}},
        .summed = {Field::CMoney},
    });
    all.push_back(settled("Print/theZW.rf3", "债务报表", Field::BDate, "债权人名", Field::BPro,
                          "债务金额", Field::BMoney, "已还金额"));
    all.push_back(settled("Print/theZQ.rf3", "债权报表", Field::DDate, "债务人名", Field::DPro,
                          "债权金额", Field::DMoney, "已收金额"));
    all.push_back({
        .name = QStringLiteral("Print/theTZ.rf3"),
        .title = QStringLiteral("投资报表"),
        .bookInTitle = true,
        .columns = {{Field::TDate, QStringLiteral("投资日期"), 20},
                    {Field::TName, QStringLiteral("投资类别"), 20},
                    {Field::TMoney, QStringLiteral("投资金额"), 20},
                    {Field::RMoney, QStringLiteral("收益金额"), 20},
                    {Field::AName, QStringLiteral("帐户名称"), 22},
                    {Field::FName, QStringLiteral("家庭成员"), 20},
                    {Field::Remark, QStringLiteral("备注"), 120, true}},
        .summed = {Field::TMoney, Field::RMoney},
    });
    all.push_back(incomeExpense("Print/theSZ_M.rf3", "收支月统计表", "月份"));
    all.push_back(incomeExpense("Print/theSZ_Y.rf3", "收支年统计表", "年份"));
    all.push_back({
        .name = QStringLiteral("Print/theJS.rf3"),
        .title = QStringLiteral("记事报表"),
        .bookInTitle = true,
        .columns = {{Field::TDate, QStringLiteral("记事日期"), 20},
                    {Field::FName, QStringLiteral("家庭成员"), 32},
                    {Field::Title, QStringLiteral("标题"), 79, true},
                    {Field::Detail, QStringLiteral("内容"), 124, true}},
        .footers = false,
    });
    return all;
}

}  // namespace

const std::vector<PrintLayout>& PrintLayout::all() {
    static const std::vector<PrintLayout> layouts = makeLayouts();
    return layouts;
}

const PrintLayout& PrintLayout::named(const QString& name) {
    for (const PrintLayout& l : all()) {
        if (l.name == name) return l;
    }
    throw std::out_of_range("no print layout " + name.toStdString());
}

PrintLayout PrintLayout::fromTable(const ReportTable& table, const QString& title, bool landscape) {
    PrintLayout l;
    l.name = title;
    l.title = title;
    l.landscape = landscape;
    for (const ReportColumn& c : table.columns()) {
        l.columns.push_back({c.key, c.title, c.widthMm});
        if (c.summed) l.summed.push_back(c.key);
    }
    return l;
}

}  // namespace cw
