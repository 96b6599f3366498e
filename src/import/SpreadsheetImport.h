#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "bookkeeping/PostingRules.h"
#include "import/ImportKind.h"
#include "import/SheetRows.h"

namespace cw {

class TfrmDM;

// The spreadsheet import: parse, check, then book once. Every row is checked before any is
// booked (required cells, dates, amounts as numbers, names without control characters); the
// first bad row is named by its row number in the spreadsheet and its column header and
// nothing is booked. Otherwise all rows go in one transaction through the posting rules.
//
// How a cell becomes a value: texts are cut to their GBK byte length where the kind says so
// (a character the cut would split is left out), an empty amount is 0, and a date may carry a
// time of day (cut off) and be written with "-", "/" or "." between its parts.
class SpreadsheetImport {
  public:
    struct Checked {
        std::vector<PostingRules::Posting> postings;
        QString message;  // empty when every row may be booked
        bool ok() const { return message.isEmpty(); }
    };

    explicit SpreadsheetImport(TfrmDM& dm);

    static Checked check(const ImportKind& kind, const SheetRows& sheet);
    // Books checked postings in one transaction; returns how many.
    int book(const ImportKind& kind, const std::vector<PostingRules::Posting>& postings,
             const std::function<void(int)>& progress = {});

    // The first `bytes` bytes of the text's GBK form, whole characters only.
    static QString gbkCut(const QString& text, int bytes);
    // yyyy-mm-dd of a date cell's text; empty when it is no date.
    static QString dayOf(const QString& text);
    // What the dialog says after booking n rows.
    static QString doneMessage(int count);
    static QString nothingImported() { return QStringLiteral("没有导入任何数据。"); }

  private:
    TfrmDM& dm_;
};

}  // namespace cw
