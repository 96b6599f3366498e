// The query and recompute verbs of coinwick-cli, and the journal's filters:
//   query in|out|transfer|debt|credit|investment|repay|collect|return [from=] [to=]
//         [category=] [account=] [member=] [contact=] [remark=] [sort=ITEM] [order=asc|desc]
//         [xlsx=FILE] [pdf=FILE]
// prints the query screen's grid as TSV under its titles with a 合计 line of the status
// totals. Dates apply when from= or to= is given (an end left out is open); the other filters
// are the screen's own, by their key words. xlsx= and pdf= write the workbook of the screen's
// Excel button and the report of its 打印.
//   recompute account=NAME
// rewrites the balance column of that account's journal rows in date and event order, as the
// log's 重新计算本次余额 does; prints the number of rows rewritten.
#include <QDateTime>
#include <QGuiApplication>

#include "cli/Cli.h"
#include "cli/ReportTsv.h"
#include "reports/ExportLayout.h"
#include "reports/FundFlowLog.h"
#include "reports/PrintLayout.h"
#include "reports/QueryReports.h"
#include "reports/SpreadsheetExport.h"
#include "reports/XlsxWriter.h"
#include "reports/render/ReportPainter.h"
#include "storage/Database.h"

namespace cw {

namespace {

// The first and last day of the table's first date column; today for both when it has none.
void rowsRange(const ReportTable& table, const QDate& today, QDate* from, QDate* to) {
    *from = *to = QDate();
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.column(c).kind != ColumnKind::Date) continue;
        for (int r = 0; r < table.rowCount(); ++r) {
            const QDate d = QDate::fromString(table.value(r, c).toString(), Qt::ISODate);
            if (!d.isValid()) continue;
            if (!from->isValid() || d < *from) *from = d;
            if (!to->isValid() || d > *to) *to = d;
        }
        break;
    }
    if (!from->isValid()) *from = *to = today;
}

// The date range of from= and to=: ticked when either is given, the missing end left open.
// Returns the complaint, empty when fine.
QString readDate(const QString& key, const QString& value, ReportFilter* f) {
    const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) return QStringLiteral("not a date: ") + value;
    if (!f->datesTicked) {
        f->datesTicked = true;
        f->from = QDate(1, 1, 1);
        f->to = QDate(9999, 12, 31);
    }
    (key == QLatin1String("from") ? f->from : f->to) = d;
    return QString();
}

}  // namespace

QString Cli::readLogArgs(const QStringList& args, ReportFilter* f, int* last) {
    f->datesTicked = false;
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) return QStringLiteral("expected key=value: ") + arg;
        const QString key = arg.left(eq);
        const QString value = arg.mid(eq + 1);
        if (key == QLatin1String("from") || key == QLatin1String("to")) {
            if (QString why = readDate(key, value, f); !why.isEmpty()) return why;
        } else if (key == QLatin1String("account")) {
            f->set(FilterKey::Account, value);
        } else if (key == QLatin1String("member")) {
            f->set(FilterKey::Member, value);
        } else if (key == QLatin1String("remark")) {
            f->set(FilterKey::Remark, value);
        } else if (key == QLatin1String("kind")) {
            f->set(FilterKey::Category, value);
        } else if (key == QLatin1String("last") && last) {
            bool ok = false;
            *last = value.toInt(&ok);
            if (!ok || *last < 0) return QStringLiteral("last= takes a count: ") + value;
        } else {
            return QStringLiteral("unknown argument: ") + arg;
        }
    }
    return QString();
}

int Cli::cmdQuery(const QStringList& args) {
    const QueryDefinition* q = args.isEmpty() ? nullptr : QueryReports::byCliName(args[0]);
    if (!q) {
        QStringList names;
        for (const QueryDefinition& d : QueryReports::all()) names << d.report.cliName;
        return usage(QStringLiteral("query takes one of: ") + names.join(QLatin1Char(' ')));
    }
    const ReportDefinition& def = q->report;
    ReportFilter filter;
    filter.datesTicked = false;
    ReportSort sort;
    QString xlsx;
    QString pdf;
    for (const QString& arg : args.mid(1)) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) return usage(QStringLiteral("expected key=value: ") + arg);
        const QString key = arg.left(eq);
        const QString value = arg.mid(eq + 1);
        if (key == QLatin1String("from") || key == QLatin1String("to")) {
            if (QString why = readDate(key, value, &filter); !why.isEmpty()) return usage(why);
        } else if (key == QLatin1String("xlsx")) {
            xlsx = value;
        } else if (key == QLatin1String("pdf") && !def.printLayout.isEmpty()) {
            pdf = value;
        } else if (key == QLatin1String("sort") && !q->sortItems.isEmpty()) {
            if (!q->sortItems.contains(value)) {
                return usage(QStringLiteral("sort= takes one of: ") +
                             q->sortItems.join(QLatin1Char(' ')));
            }
            sort.item = value;
        } else if (key == QLatin1String("order") && !q->sortItems.isEmpty()) {
            if (value != QLatin1String("asc") && value != QLatin1String("desc"))
                return usage(QStringLiteral("order= takes asc or desc"));
            sort.descending = value == QLatin1String("desc");
        } else {
            bool known = false;
            for (const ReportDefinition::FilterField& f : def.filters) {
                if (ReportFilter::keyword(f.key) != key) continue;
                filter.set(f.key, value);
                known = true;
            }
            if (!known)
                return usage(QStringLiteral("unknown argument for query ") + def.cliName + ": " +
                             arg);
        }
    }
    if (!pdf.isEmpty() && !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return refuse(QStringLiteral("pdf= needs the graphical application object"));
    }
    if (!openData() || !openBook()) return Refused;

    ReportOutcome outcome = q->run(*db_, state_.myBName, filter, sort);
    if (!outcome.ok()) return refuse(outcome.refusal);
    tsv::table(out_, outcome.table);
    // The workbook's title carries the range; with no dates given, that of the rows.
    if (!xlsx.isEmpty()) {
        QDate from = filter.from;
        QDate to = filter.to;
        if (!filter.datesTicked) rowsRange(outcome.table, clock_.today(), &from, &to);
        const Workbook wb = SpreadsheetExport::build(ExportLayout::forScreen(def.screen),
                                                     outcome.table, {state_.myBName, from, to});
        XlsxWriter writer;
        if (!writer.write(wb, xlsx, db_->path())) return refuse(writer.errorString());
    }
    if (!pdf.isEmpty()) {
        const ReportPainter painter(PrintLayout::named(def.printLayout), outcome.table,
                                    state_.myBName, QDateTime::currentDateTime());
        QString error;
        if (!painter.writePdf(pdf, db_->path(), &error)) return refuse(error);
    }
    return Done;
}

int Cli::cmdRecompute(const QStringList& args) {
    if (args.size() != 1 || !args[0].startsWith(QLatin1String("account=")))
        return usage(QStringLiteral("recompute takes account=NAME"));
    if (!openData() || !openBook()) return Refused;
    ReportFilter none;
    none.datesTicked = false;
    int rows = 0;
    const QString why = FundFlowLog::recompute(*db_, state_.myBName, args[0].mid(8), none,
                                               FundFlowLog::dateOrder(), &rows);
    if (!why.isEmpty()) return refuse(why);
    out_ << rows << '\n';
    return Done;
}

}  // namespace cw
