#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "bookkeeping/PostingKind.h"

namespace cw {

// One of the six spreadsheet imports: the posting kind it books, its dialog, the headers its
// sheet must carry and which entry field each header fills. The dialogs, the import and the
// headless companion read these descriptors.
struct ImportKind {
    const PostingKind* posting;
    QString cliName;    // "in"
    QString className;  // "TfrmD_In"
    QString caption;    // "收入导入"
    // The headers in the order the hint states; each names one entry field.
    QString dateHeader;
    QString nameHeader;  // the category or contact; empty for transfers
    QString amountHeader;
    QString accountHeader;  // for a transfer the account the money leaves
    QString targetHeader;   // transfers only
    QString memberHeader;
    QString remarkHeader;
    // Texts are cut to GBK byte lengths (date 10, names 20, remark 60); the investment import
    // takes them whole.
    bool cuts = true;

    // The headers in their stated order.
    QStringList headers() const;
    // The required ones: an empty cell under one of them refuses the row.
    QStringList required() const;
    // "打开的EXCEL文件的底部一定是Sheet1，表格头部顺序为日期、收入类别、金额、…"
    QString hint() const;

    static const std::vector<ImportKind>& all();
    static const ImportKind* byCliName(const QString& word);
    static const ImportKind* byClassName(const QString& name);
};

}  // namespace cw
