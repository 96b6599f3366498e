// The report verb of coinwick-cli:
//   report NAME [from=YYYY-MM-DD] [to=YYYY-MM-DD] [account=…] [member=…] … [xlsx=FILE] [pdf=FILE]
// NAME is a report of the catalog (monthly, yearly, …); the filters are the screen's, by
// their key words, and dates not given take the screen's defaults. It prints the screen's grid
// as TSV; xlsx= writes the workbook of the screen's Excel button and pdf= the report of its
// 打印, through the very same code.
//   report income-by-category|…|expense-by-member [xlsx=FILE]
// prints the month-by-category workbook of the menus 收入月报表 and 支出月报表 as TSV (月份, one
// column per name, 合计) and writes it with xlsx=.
#include <QDateTime>
#include <QGuiApplication>

#include "cli/Cli.h"
#include "cli/ReportTsv.h"
#include "cli/Tsv.h"
#include "reports/ExportLayout.h"
#include "reports/MonthCategoryReport.h"
#include "reports/PrintLayout.h"
#include "reports/ReportCatalog.h"
#include "reports/SpreadsheetExport.h"
#include "reports/XlsxWriter.h"
#include "reports/render/ReportPainter.h"
#include "storage/Database.h"
#include "storage/Money.h"

namespace cw {

namespace {

struct ReportArgs {
    ReportFilter filter;
    QString xlsx;
    QString pdf;
};

QStringList reportNames() {
    QStringList names;
    for (const ReportDefinition& d : ReportCatalog::all()) names << d.cliName;
    for (const MonthCategoryReport::Spec& s : MonthCategoryReport::all()) names << s.cliName;
    return names;
}

const MonthCategoryReport::Spec* monthCategory(const QString& name) {
    for (const MonthCategoryReport::Spec& s : MonthCategoryReport::all()) {
        if (s.cliName == name) return &s;
    }
    return nullptr;
}

// The workbook's table from its header row on, without the running number: 月份, the names,
// 合计; the last row is the totals row.
void printWorkbook(QTextStream& out, const Workbook& wb) {
    int columns = 2;
    while (!wb.text(2, columns + 1).isEmpty() || wb.value(3, columns + 1).isValid()) ++columns;
    for (int r = 2; r <= wb.lastRow(); ++r) {
        QStringList fields;
        for (int c = 2; c <= columns; ++c) {
            const QVariant v = wb.value(r, c);
            fields << (v.typeId() == QMetaType::Double ? Money::plain(v.toDouble()) : v.toString());
        }
        tsv::row(out, fields);
    }
}

// Reads key=value arguments into the filter; returns the complaint about the first one it
// cannot take, empty when all are fine.
QString readArgs(const ReportDefinition& def, const QStringList& args, ReportArgs* out) {
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? arg : arg.left(eq);
        const QString value = eq < 0 ? QString() : arg.mid(eq + 1);
        if (eq < 0) return QStringLiteral("expected key=value: ") + arg;
        if (key == QLatin1String("from") || key == QLatin1String("to")) {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid()) return QStringLiteral("not a date: ") + value;
            (key == QLatin1String("from") ? out->filter.from : out->filter.to) = d;
            continue;
        }
        if (key == QLatin1String("xlsx")) {
            out->xlsx = value;
            continue;
        }
        if (key == QLatin1String("pdf") && !def.printLayout.isEmpty()) {
            out->pdf = value;
            continue;
        }
        bool known = false;
        for (const ReportDefinition::FilterField& f : def.filters) {
            if (ReportFilter::keyword(f.key) != key) continue;
            out->filter.set(f.key, value);
            known = true;
        }
        if (!known)
            return QStringLiteral("unknown argument for report ") + def.cliName + ": " + arg;
    }
    return QString();
}

}  // namespace

int Cli::cmdReport(const QStringList& args) {
    if (const MonthCategoryReport::Spec* spec = args.isEmpty() ? nullptr : monthCategory(args[0])) {
        QString xlsx;
        for (const QString& arg : args.mid(1)) {
            if (!arg.startsWith(QLatin1String("xlsx="))) {
                return usage(QStringLiteral("report ") + args[0] +
                             QStringLiteral(" takes only xlsx=FILE"));
            }
            xlsx = arg.mid(5);
        }
        if (!openData() || !openBook()) return Refused;
        const Workbook wb = MonthCategoryReport::build(*db_, state_.myBName, *spec);
        printWorkbook(out_, wb);
        XlsxWriter writer;
        if (!xlsx.isEmpty() && !writer.write(wb, xlsx, db_->path()))
            return refuse(writer.errorString());
        return Done;
    }
    const ReportDefinition* def = args.isEmpty() ? nullptr : ReportCatalog::byCliName(args[0]);
    if (!def) {
        return usage(QStringLiteral("report takes one of: ") +
                     reportNames().join(QStringLiteral(" ")));
    }
    ReportArgs a;
    if (def->defaultDates) {
        std::tie(a.filter.from, a.filter.to) = def->defaultDates(clock_.today());
    }
    if (const QString why = readArgs(*def, args.mid(1), &a); !why.isEmpty()) return usage(why);
    if (!a.pdf.isEmpty() && !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return refuse(QStringLiteral("pdf= needs the graphical application object"));
    }
    if (!openData() || !openBook()) return Refused;

    ReportOutcome outcome = def->run(*db_, state_.myBName, a.filter);
    if (!outcome.ok()) return refuse(outcome.refusal);
    tsv::table(out_, outcome.table);

    if (!a.xlsx.isEmpty()) {
        // Screens with a block layout of their own (the statistics tables) build their workbook.
        const Workbook wb =
            def->workbook
                ? def->workbook(*db_, state_.myBName, a.filter, outcome.table)
                : SpreadsheetExport::build(ExportLayout::forScreen(def->screen), outcome.table,
                                           {state_.myBName, a.filter.from, a.filter.to});
        XlsxWriter writer;
        if (!writer.write(wb, a.xlsx, db_->path())) return refuse(writer.errorString());
    }
    if (!a.pdf.isEmpty()) {
        const ReportPainter painter(PrintLayout::named(def->printLayout), outcome.table,
                                    state_.myBName, QDateTime::currentDateTime());
        QString error;
        if (!painter.writePdf(a.pdf, db_->path(), &error)) return refuse(error);
    }
    return Done;
}

}  // namespace cw
