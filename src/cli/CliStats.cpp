// The statistics, analysis and account verbs of coinwick-cli:
//   stats in-out|debt-credit [by=category|account|member|day|month|year] [from=] [to=]
//         [account=] [member=] [sort=amount-desc|amount-asc|count-desc|count-asc|name-desc|
//         name-asc|none] [xlsx=FILE]
//   analysis in|out [by=day|month|year|member|category|account] [from=] [to=] [category=]
//         [account=] [member=] [png=FILE [chart=bar|line|pie]] [xlsx=FILE]
//   accounts [kind=] [member=] [account=] [remark=] [xlsx=FILE]
// Each prints its screen's grid as TSV through the screen's own run; xlsx= writes the
// workbook of the screen's Excel button and png= the chart the screen draws.
#include <QApplication>
#include <QHash>

#include "cli/Cli.h"
#include "cli/ReportTsv.h"
#include "cli/Tsv.h"
#include "reports/AnalysisReport.h"
#include "reports/ExportLayout.h"
#include "reports/ReportCatalog.h"
#include "reports/SpreadsheetExport.h"
#include "reports/StatisticsReport.h"
#include "reports/XlsxWriter.h"
#include "reports/render/AnalysisChart.h"
#include "storage/Database.h"

namespace cw {

namespace {

struct Args {
    ReportFilter filter;
    QHash<QString, QString> extra;  // xlsx, png, chart
    bool datesGiven = false;
};

// The English words of the dimension box, in the order of the statistics screen's items.
const QStringList kStatsWords{QStringLiteral("category"), QStringLiteral("account"),
                              QStringLiteral("member"),   QStringLiteral("day"),
                              QStringLiteral("month"),    QStringLiteral("year")};
// …and of the analysis screens' items.
const QStringList kAnalysisWords{QStringLiteral("day"),      QStringLiteral("month"),
                                 QStringLiteral("year"),     QStringLiteral("member"),
                                 QStringLiteral("category"), QStringLiteral("account")};
const QStringList kSortWords{QStringLiteral("amount-desc"), QStringLiteral("amount-asc"),
                             QStringLiteral("count-desc"),  QStringLiteral("count-asc"),
                             QStringLiteral("name-desc"),   QStringLiteral("name-asc")};

// A word of the list becomes the box's item; any other text stays as it is, so the box's own
// Chinese items work too and anything else meets the screen's refusal.
QString itemFor(const QString& word, const QStringList& words, const QStringList& items) {
    const qsizetype i = words.indexOf(word);
    return i < 0 ? word : items.value(i);
}

// key=value arguments; `keys` maps a key word to its filter, `extras` lists the others taken.
QString readArgs(const QStringList& args, const QHash<QString, FilterKey>& keys,
                 const QStringList& extras, Args* out) {
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq < 0) return QStringLiteral("expected key=value: ") + arg;
        const QString key = arg.left(eq);
        const QString value = arg.mid(eq + 1);
        if (key == QLatin1String("from") || key == QLatin1String("to")) {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid()) return QStringLiteral("not a date: ") + value;
            (key == QLatin1String("from") ? out->filter.from : out->filter.to) = d;
            out->datesGiven = true;
        } else if (keys.contains(key)) {
            out->filter.set(keys.value(key), value);
        } else if (extras.contains(key)) {
            out->extra.insert(key, value);
        } else {
            return QStringLiteral("unknown argument ") + arg;
        }
    }
    return QString();
}

}  // namespace

int Cli::writeScreenResult(const QString& screen, const ReportFilter& filter, const QString& xlsx,
                           ReportTable* result) {
    const ReportDefinition* def = ReportCatalog::byScreen(screen);
    ReportOutcome outcome = def->run(*db_, state_.myBName, filter);
    if (!outcome.ok()) return refuse(outcome.refusal);
    if (!def->sides.isEmpty()) {
        // Each row tagged with its side, and a 合计 line per side.
        QStringList fields;
        for (const ReportColumn& c : outcome.table.columns()) fields << c.title;
        tsv::row(out_, fields);
        for (int r = 0; r < outcome.table.rowCount(); ++r) {
            fields.clear();
            for (int c = 0; c < outcome.table.columnCount(); ++c) {
                fields << outcome.table.plainText(r, c);
            }
            tsv::row(out_, fields);
        }
        for (int s = 0; s < def->sides.size(); ++s) {
            const ReportTable side = def->sideTable(outcome.table, s);
            tsv::row(out_, {def->sides[s], QStringLiteral("合计"),
                            side.totalPlainText(side.requireColumn(Field::Count)),
                            side.totalPlainText(side.requireColumn(Field::Amount))});
        }
    } else {
        tsv::table(out_, outcome.table);
    }
    if (!xlsx.isEmpty()) {
        const Workbook wb =
            def->workbook
                ? def->workbook(*db_, state_.myBName, filter, outcome.table)
                : SpreadsheetExport::build(ExportLayout::forScreen(def->screen), outcome.table,
                                           {state_.myBName, filter.from, filter.to});
        XlsxWriter writer;
        if (!writer.write(wb, xlsx, db_->path())) return refuse(writer.errorString());
    }
    if (result) *result = std::move(outcome.table);
    return Done;
}

int Cli::cmdStats(const QStringList& args) {
    const QString which = args.value(0);
    if (which != QLatin1String("in-out") && which != QLatin1String("debt-credit")) {
        return usage(QStringLiteral("stats takes in-out or debt-credit"));
    }
    const bool inOut = which == QLatin1String("in-out");
    const ReportDefinition& def =
        *ReportCatalog::byScreen(inOut ? QStringLiteral("TfrmPage1") : QStringLiteral("TfrmPage2"));
    Args a;
    std::tie(a.filter.from, a.filter.to) = def.defaultDates(clock_.today());
    QHash<QString, FilterKey> keys{{QStringLiteral("account"), FilterKey::Account},
                                   {QStringLiteral("member"), FilterKey::Member}};
    if (inOut) {
        keys.insert(QStringLiteral("by"), FilterKey::Dimension);
        keys.insert(QStringLiteral("sort"), FilterKey::Sort);
    }
    if (const QString why = readArgs(args.mid(1), keys, {QStringLiteral("xlsx")}, &a);
        !why.isEmpty()) {
        return usage(why);
    }
    if (inOut) {
        a.filter.set(
            FilterKey::Dimension,
            itemFor(a.filter.has(FilterKey::Dimension) ? a.filter.value(FilterKey::Dimension)
                                                       : kStatsWords[0],
                    kStatsWords, StatisticsReport::dimensionItems()));
        const QString sort =
            a.filter.has(FilterKey::Sort) ? a.filter.value(FilterKey::Sort) : kSortWords[0];
        a.filter.ticked.erase(FilterKey::Sort);
        if (sort != QLatin1String("none")) {
            if (!kSortWords.contains(sort) && !StatisticsReport::orderItems().contains(sort)) {
                return usage(QStringLiteral("sort takes one of: ") +
                             kSortWords.join(QLatin1Char(' ')) + QStringLiteral(" none"));
            }
            a.filter.set(FilterKey::Sort,
                         itemFor(sort, kSortWords, StatisticsReport::orderItems()));
        }
    }
    if (!openData() || !openBook()) return Refused;
    return writeScreenResult(def.screen, a.filter, a.extra.value(QStringLiteral("xlsx")));
}

int Cli::cmdAnalysis(const QStringList& args) {
    const QString which = args.value(0);
    if (which != QLatin1String("in") && which != QLatin1String("out")) {
        return usage(QStringLiteral("analysis takes in or out"));
    }
    const AnalysisReport::Side side =
        which == QLatin1String("in") ? AnalysisReport::Side::Income : AnalysisReport::Side::Expense;
    const ReportDefinition& def =
        *ReportCatalog::byScreen(side == AnalysisReport::Side::Income ? QStringLiteral("TfrmE_I")
                                                                      : QStringLiteral("TfrmE_O"));
    Args a;
    std::tie(a.filter.from, a.filter.to) = def.defaultDates(clock_.today());
    const QHash<QString, FilterKey> keys{{QStringLiteral("by"), FilterKey::Dimension},
                                         {QStringLiteral("category"), FilterKey::Category},
                                         {QStringLiteral("account"), FilterKey::Account},
                                         {QStringLiteral("member"), FilterKey::Member}};
    if (const QString why =
            readArgs(args.mid(1), keys,
                     {QStringLiteral("xlsx"), QStringLiteral("png"), QStringLiteral("chart")}, &a);
        !why.isEmpty()) {
        return usage(why);
    }
    // As on the screen, the dates apply only when given (the date box starts unticked).
    a.filter.datesTicked = a.datesGiven;
    a.filter.set(FilterKey::Dimension,
                 itemFor(a.filter.has(FilterKey::Dimension) ? a.filter.value(FilterKey::Dimension)
                                                            : kAnalysisWords[1],
                         kAnalysisWords, AnalysisReport::dimensionItems(side)));
    AnalysisChart::Kind kind = AnalysisChart::Kind::Bar;
    const QString png = a.extra.value(QStringLiteral("png"));
    if (a.extra.contains(QStringLiteral("chart")) &&
        !AnalysisChart::kindFromWord(a.extra.value(QStringLiteral("chart")), &kind)) {
        return usage(QStringLiteral("chart takes bar, line or pie"));
    }
    if (!png.isEmpty() && !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return refuse(QStringLiteral("png= needs the graphical application object"));
    }
    if (!openData() || !openBook()) return Refused;
    ReportTable table;
    const int rc =
        writeScreenResult(def.screen, a.filter, a.extra.value(QStringLiteral("xlsx")), &table);
    if (rc != Done || png.isEmpty()) return rc;
    QString error;
    const AnalysisChart::Points points =
        AnalysisChart::points(table, def.chartTitle, side == AnalysisReport::Side::Income);
    if (!AnalysisChart::writePng(kind, points, png, db_->path(), &error)) return refuse(error);
    return Done;
}

int Cli::cmdAccounts(const QStringList& args) {
    Args a;
    const QHash<QString, FilterKey> keys{{QStringLiteral("kind"), FilterKey::AccountType},
                                         {QStringLiteral("type"), FilterKey::AccountType},
                                         {QStringLiteral("member"), FilterKey::Member},
                                         {QStringLiteral("account"), FilterKey::Account},
                                         {QStringLiteral("remark"), FilterKey::Remark}};
    if (const QString why = readArgs(args, keys, {QStringLiteral("xlsx")}, &a); !why.isEmpty()) {
        return usage(why);
    }
    if (!openData() || !openBook()) return Refused;
    return writeScreenResult(QStringLiteral("TfrmA_Q"), a.filter,
                             a.extra.value(QStringLiteral("xlsx")));
}

}  // namespace cw
