// The notes verbs of coinwick-cli:
//   notes [from=YYYY-MM-DD] [to=YYYY-MM-DD] [member=NAME] [title=TEXT] [text=TEXT]
//         [xlsx=FILE] [pdf=FILE]
// lists the notes as the query window does (TSV 日期 家庭成员 标题 内容, the date order); without
// from= and to= every date is taken, with one of them the other is open-ended. xlsx= and pdf=
// write the window's workbook and printed report.
//   note add [date=YYYY-MM-DD] member=NAME [title=TEXT] text=TEXT
// saves a note as the note window does (date today when not given; without title= the first
// line of the text, cut to the title's 50 characters); prints the new note's ID.
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>

#include "cli/Cli.h"
#include "cli/ReportTsv.h"
#include "notes/NoteBook.h"
#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/SpreadsheetExport.h"
#include "reports/XlsxWriter.h"
#include "reports/render/ReportPainter.h"
#include "storage/Database.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

// key=value arguments; false (with the offending argument) when one is not of that form or
// its key is not among `keys`.
bool keyValues(const QStringList& args, const QStringList& keys, QHash<QString, QString>* out,
               QString* bad) {
    for (const QString& a : args) {
        const int eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0 || !keys.contains(a.left(eq))) {
            *bad = a;
            return false;
        }
        out->insert(a.left(eq), a.mid(eq + 1));
    }
    return true;
}

}  // namespace

int Cli::cmdNotes(const QStringList& args) {
    QHash<QString, QString> kv;
    QString bad;
    if (!keyValues(args,
                   {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("member"),
                    QStringLiteral("title"), QStringLiteral("text"), QStringLiteral("xlsx"),
                    QStringLiteral("pdf")},
                   &kv, &bad)) {
        return usage(QStringLiteral("unknown argument ") + bad);
    }
    // A date the calendar does not have would compare as text and quietly match nothing.
    for (const char* key : {"from", "to"}) {
        const QString value = kv.value(QLatin1String(key));
        if (kv.contains(QLatin1String(key)) &&
            !QDate::fromString(value, QStringLiteral("yyyy-MM-dd")).isValid()) {
            return usage(QStringLiteral("not a date: ") + value);
        }
    }
    NoteBook::Filter f;
    f.byDate = kv.contains(QStringLiteral("from")) || kv.contains(QStringLiteral("to"));
    f.from = kv.value(QStringLiteral("from"), QStringLiteral("0000-00-00"));
    f.to = kv.value(QStringLiteral("to"), QStringLiteral("9999-99-99"));
    f.byMember = kv.contains(QStringLiteral("member"));
    f.member = kv.value(QStringLiteral("member"));
    f.byTitle = kv.contains(QStringLiteral("title"));
    f.title = kv.value(QStringLiteral("title"));
    f.byText = kv.contains(QStringLiteral("text"));
    f.text = kv.value(QStringLiteral("text"));
    const QString pdf = kv.value(QStringLiteral("pdf"));
    if (!pdf.isEmpty() && !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return refuse(QStringLiteral("pdf= needs the graphical application object"));
    }
    if (!openData() || !openBook()) return Refused;

    NoteBook notes(*dm_);
    tsv::table(out_, notes.find(f, false));
    const ReportTable table = notes.find(f);
    if (const QString xlsx = kv.value(QStringLiteral("xlsx")); !xlsx.isEmpty()) {
        const Workbook wb = SpreadsheetExport::build(
            ExportLayout::forScreen(QStringLiteral("TfrmUThing_Q")), table,
            {state_.myBName, QDate::fromString(f.from, QStringLiteral("yyyy-MM-dd")),
             QDate::fromString(f.to, QStringLiteral("yyyy-MM-dd"))});
        XlsxWriter writer;
        if (!writer.write(wb, xlsx, db_->path())) return refuse(writer.errorString());
    }
    if (!pdf.isEmpty()) {
        const ReportPainter painter(PrintLayout::named(QStringLiteral("Print/theJS.rf3")), table,
                                    state_.myBName, QDateTime::currentDateTime());
        QString error;
        if (!painter.writePdf(pdf, db_->path(), &error)) return refuse(error);
    }
    return Done;
}

int Cli::cmdNote(const QStringList& args) {
    if (args.isEmpty() || args[0] != QLatin1String("add")) {
        return usage(
            QStringLiteral("note add [date=YYYY-MM-DD] member=NAME [title=TEXT] text=TEXT"));
    }
    QHash<QString, QString> kv;
    QString bad;
    if (!keyValues(args.mid(1),
                   {QStringLiteral("date"), QStringLiteral("member"), QStringLiteral("title"),
                    QStringLiteral("text")},
                   &kv, &bad)) {
        return usage(QStringLiteral("unknown argument ") + bad);
    }
    if (!openData() || !openBook()) return Refused;
    NoteBook::Note note;
    note.date = kv.value(QStringLiteral("date"), state_.myToday);
    note.member = kv.value(QStringLiteral("member"));
    note.detail = kv.value(QStringLiteral("text"));
    note.title =
        kv.contains(QStringLiteral("title"))
            ? kv.value(QStringLiteral("title"))
            : note.detail.section(QLatin1Char('\n'), 0, 0).trimmed().left(NoteBook::kTitleLength);
    qint64 id = 0;
    const NoteBook::Verdict v = NoteBook(*dm_).add(note, &id);
    if (!v.ok()) return refuse(v.message);
    out_ << id << '\n';
    return Done;
}

}  // namespace cw
