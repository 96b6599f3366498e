#include "notes/NoteBook.h"

#include "bookkeeping/PostingRules.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {}  // namespace

NoteBook::NoteBook(TfrmDM& dm) : dm_(dm) {}

QString NoteBook::summaryOf(const QString& detail) {
    QString s = detail;
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    s.remove(QLatin1Char(' '));
    // Characters, not UTF-16 units: a character outside the basic plane counts one and is
    // never split.
    int units = 0;
    for (int chars = 0; units < s.size() && chars < kSummaryLength; ++chars) {
        units += s[units].isHighSurrogate() && units + 1 < s.size() ? 2 : 1;
    }
    return s.left(units);
}

NoteBook::Verdict NoteBook::validate(const Note& note) {
    if (!PostingRules::isDay(note.date)) return {PostingRules::kBadDate, Field::Date};
    if (note.member.trimmed().isEmpty()) {
        return {QStringLiteral("家庭成员 不能为空！请重新选择！"), Field::Member};
    }
    if (NameText::hasControl(note.member)) return {NameText::controlMessage(), Field::Member};
    if (note.title.trimmed().isEmpty()) {
        return {QStringLiteral("标题 不能为空！请重新录入！"), Field::Title};
    }
    if (note.title.size() > kTitleLength) {
        return {QStringLiteral("标题 不能超过50个字符！请重新录入！"), Field::Title};
    }
    if (note.detail.trimmed().isEmpty()) {
        return {QStringLiteral("内容 不能为空！请重新录入！"), Field::Detail};
    }
    return {};
}

NoteBook::Verdict NoteBook::add(const Note& note, qint64* id) {
    const Verdict v = validate(note);
    if (!v.ok()) return v;
    dm_.myESql(QStringLiteral("INSERT INTO UThing (BName, TDate, FName, Title, Detail, Summary) "
                              "VALUES (?, ?, ?, ?, ?, ?)"),
               dm_.book(), note.date, note.member, note.title, note.detail, summaryOf(note.detail));
    if (id) *id = dm_.db().lastInsertId();
    return {};
}

NoteBook::Verdict NoteBook::change(qint64 id, const Note& note) {
    const Verdict v = validate(note);
    if (!v.ok()) return v;
    const int changed = dm_.myESql(
        QStringLiteral("UPDATE UThing SET TDate=?, FName=?, Title=?, Detail=?, Summary=? "
                       "WHERE ID=? AND BName=?"),
        note.date, note.member, note.title, note.detail, summaryOf(note.detail), id, dm_.book());
    if (changed == 0) return {PostingRules::kNotFound, Field::None};
    return {};
}

void NoteBook::remove(qint64 id) {
    dm_.myESql(QStringLiteral("DELETE FROM UThing WHERE ID=? AND BName=?"), id, dm_.book());
}

std::optional<NoteBook::Note> NoteBook::load(qint64 id) {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT TDate, FName, Title, Detail FROM UThing WHERE ID=? AND BName=?"), id,
        dm_.book());
    if (q.isEmpty()) return std::nullopt;
    return Note{q.text(QStringLiteral("TDate")), q.text(QStringLiteral("FName")),
                q.text(QStringLiteral("Title")), q.text(QStringLiteral("Detail"))};
}

ReportTable NoteBook::find(const Filter& f, bool withDetail) {
    QString sql =
        QStringLiteral("SELECT ID, TDate, FName, Title, Summary, Detail FROM UThing WHERE BName=?");
    QVariantList values{dm_.book()};
    if (f.byDate) {
        sql += QStringLiteral(" AND (TDate BETWEEN ? AND ?)");
        values << f.from << f.to;
    }
    if (f.byMember) {
        sql += QStringLiteral(" AND FName=?");
        values << f.member;
    }
    if (f.byTitle) {
        sql += QStringLiteral(" AND Title LIKE ? ESCAPE '\\'");
        values << Statement::containing(f.title);
    }
    if (f.byText) {
        sql += QStringLiteral(" AND Summary LIKE ? ESCAPE '\\'");
        values << Statement::containing(f.text);
    }
    // The member is a name: pinyin order.
    static const char* const orders[] = {"TDate", "NameKey(FName)", "Title", "Summary"};
    sql += QStringLiteral(" ORDER BY ") + QLatin1String(orders[int(f.sort)]) +
           (f.descending ? QStringLiteral(" DESC") : QString()) + QStringLiteral(", ID") +
           (f.descending ? QStringLiteral(" DESC") : QString());

    std::vector<ReportColumn> columns{
        {cw::Field::TDate, QStringLiteral("日期"), ColumnKind::Date, 20},
        {cw::Field::FName, QStringLiteral("家庭成员"), ColumnKind::Text, 25},
        {cw::Field::Title, QStringLiteral("标题"), ColumnKind::Text, 60},
        {cw::Field::Summary, QStringLiteral("内容"), ColumnKind::Text, 120}};
    if (withDetail) columns.push_back({cw::Field::Detail, QStringLiteral("Detail")});
    ReportTable table(std::move(columns));
    table.setTotalsRow(false);

    Statement st = dm_.db().prepare(sql);
    int index = 0;
    for (const QVariant& v : values) st.bind(++index, v);
    while (st.step()) {
        std::vector<QVariant> row{st.text(1), st.text(2), st.text(3), st.text(4)};
        if (withDetail) row.push_back(st.text(5));
        table.addRow(std::move(row), st.integer(0));
    }
    return table;
}

}  // namespace cw
