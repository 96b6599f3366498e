#pragma once

#include <QString>
#include <optional>

#include "reports/ReportTable.h"

namespace cw {

class TfrmDM;

// Dated notes of the open book (UThing): save, change, delete, find. A note's Summary, the
// one-line form the lists show and the text filter searches, is derived from its text on
// every save; the text itself is stored whole.
class NoteBook {
  public:
    struct Note {
        QString date;  // yyyy-mm-dd
        QString member;
        QString title;
        QString detail;
    };

    // The fields a failed check sends the user back to.
    enum class Field { None, Date, Member, Title, Detail };
    struct Verdict {
        QString message;
        Field focus = Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    // The query window's conditions; an unticked one is left out.
    struct Filter {
        bool byDate = true;
        QString from;
        QString to;
        bool byMember = false;
        QString member;
        bool byTitle = false;
        QString title;
        bool byText = false;
        QString text;
        enum class Sort { Date, Member, Title, Text };
        Sort sort = Sort::Date;
        bool descending = false;
    };

    static constexpr int kTitleLength = 50;
    static constexpr int kSummaryLength = 240;

    explicit NoteBook(TfrmDM& dm);

    // Line breaks and ASCII blanks removed (the full-width blank stays), then the first 240
    // characters.
    static QString summaryOf(const QString& detail);
    static Verdict validate(const Note& note);
    static QString savedMessage() { return QStringLiteral("恭喜！恭喜！ 记事 保存成功！"); }

    // A failed check returns its verdict and stores nothing; add() gives the new ID in *id.
    Verdict add(const Note& note, qint64* id = nullptr);
    Verdict change(qint64 id, const Note& note);
    void remove(qint64 id);
    std::optional<Note> load(qint64 id);

    // The query's rows: 日期, 家庭成员, 标题, 内容 (the summary) and, unless left out, the
    // full text (Detail) that the export and the printed report show; no totals line.
    ReportTable find(const Filter& filter, bool withDetail = true);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
