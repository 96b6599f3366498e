#include "reports/ReportCatalog.h"

#include "reports/AnalysisReport.h"
#include "reports/IncomeExpenseReport.h"
#include "reports/StatisticsReport.h"

namespace cw {

namespace {

std::vector<ReportDefinition> makeCatalog() {
    return {
        IncomeExpenseReport::definition(IncomeExpenseReport::Period::Month),
        IncomeExpenseReport::definition(IncomeExpenseReport::Period::Year),
        // statistics tables, analysis charts, account query
        StatisticsReport::inOutDefinition(),
        StatisticsReport::debtCreditDefinition(),
        AnalysisReport::definition(AnalysisReport::Side::Income),
        AnalysisReport::definition(AnalysisReport::Side::Expense),
        AccountQuery::definition(),
    };
}

}  // namespace

const std::vector<ReportDefinition>& ReportCatalog::all() {
    static const std::vector<ReportDefinition> catalog = makeCatalog();
    return catalog;
}

const ReportDefinition* ReportCatalog::byCliName(const QString& name) {
    for (const ReportDefinition& d : all()) {
        if (d.cliName == name) return &d;
    }
    return nullptr;
}

const ReportDefinition* ReportCatalog::byScreen(const QString& screen) {
    for (const ReportDefinition& d : all()) {
        if (d.screen == screen) return &d;
    }
    return nullptr;
}

}  // namespace cw
