#include "import/SpreadsheetImport.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include "storage/Money.h"
#include "storage/NameText.h"

namespace cw {

namespace {

constexpr int kDateBytes = 10;
constexpr int kNameBytes = 20;
constexpr int kRemarkBytes = 60;
// The longest name a drop-down list holds; the investment import, which does not cut, refuses
// longer ones rather than store names no list can show.
constexpr int kNameChars = 20;

QString rowMessage(int row, const QString& header, const QString& what) {
    return QStringLiteral("第 %1 行 %2 %3").arg(row).arg(header, what) +
           SpreadsheetImport::nothingImported();
}

}  // namespace

SpreadsheetImport::SpreadsheetImport(TfrmDM& dm) : dm_(dm) {}

QString SpreadsheetImport::gbkCut(const QString& text, int bytes) {
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        const int width = text[i].unicode() < 0x80 ? 1 : 2;
        if (used + width > bytes) return text.left(i);
        used += width;
        if (pair) ++i;
    }
    return text;  // whole: shared, not copied
}

QString SpreadsheetImport::dayOf(const QString& text) {
    // Most sheets write yyyy-mm-dd already: that text is the day, shared rather than rebuilt.
    if (text.size() == 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-')) {
        bool digits = true;
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
            digits = digits && text[i].isDigit() && text[i].unicode() < 0x80;
        if (digits &&
            QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt()).isValid())
            return text;
    }
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{4})(?:[-/.](\\d{1,2})[-/.](\\d{1,2})|年(\\d{1,2})月(\\d{1,2})日?)"
                       "(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return QString();
    const bool latin = !m.captured(2).isEmpty();
    const QDate day(m.captured(1).toInt(), m.captured(latin ? 2 : 4).toInt(),
                    m.captured(latin ? 3 : 5).toInt());
    return day.isValid() ? day.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString SpreadsheetImport::doneMessage(int count) {
    return QStringLiteral("数据导入 保存成功！共导入 %1 条数据。").arg(count);
}

SpreadsheetImport::Checked SpreadsheetImport::check(const ImportKind& kind,
                                                    const SheetRows& sheet) {
    Checked result;
    QHash<QString, int> columnOf;
    for (int i = sheet.header.size() - 1; i >= 0; --i)
        columnOf.insert(sheet.header[i].trimmed(), i);
    for (const QString& h : kind.headers()) {
        if (!columnOf.contains(h)) {
            result.message =
                QStringLiteral("表格头部找不到“%1”！%2。").arg(h, kind.hint()) + nothingImported();
            return result;
        }
    }
    const QStringList required = kind.required();
    result.postings.reserve(sheet.rowCount());
    for (size_t r = 0; r < sheet.rowCount(); ++r) {
        const int rowNumber = sheet.rowNumber(r);
        const auto cell = [&](const QString& header, int bytes) {
            if (header.isEmpty()) return QString();
            const QString text = sheet.text(r, columnOf.value(header));
            return kind.cuts ? gbkCut(text, bytes) : text;
        };
        PostingRules::Posting p;
        const QString dateText = cell(kind.dateHeader, kDateBytes);
        p.name = cell(kind.nameHeader, kNameBytes);
        p.amount = sheet.cell(r, columnOf.value(kind.amountHeader)).trimmed().toString();
        p.account = cell(kind.accountHeader, kNameBytes);
        p.target = cell(kind.targetHeader, kNameBytes);
        p.member = cell(kind.memberHeader, kNameBytes);
        p.remark = cell(kind.remarkHeader, kRemarkBytes);
        if (p.amount.isEmpty()) p.amount = QStringLiteral("0");

        const std::pair<const QString*, const QString*> byHeader[] = {
            {&kind.dateHeader, &dateText},
            {&kind.nameHeader, &p.name},
            {&kind.accountHeader, &p.account},
            {&kind.targetHeader, &p.target},
            {&kind.memberHeader, &p.member}};
        for (const QString& h : required) {
            QString text;
            for (const auto& [header, value] : byHeader)
                if (*header == h) text = *value;
            if (text.trimmed().isEmpty()) {
                result.message = rowMessage(rowNumber, h, QStringLiteral("不能为空！"));
                return result;
            }
            if (h == kind.dateHeader) continue;
            if (NameText::hasControl(text)) {
                result.message =
                    rowMessage(rowNumber, h, QStringLiteral("不能包含制表符、换行符等控制字符！"));
                return result;
            }
            if (!kind.cuts && text.size() > kNameChars) {
                result.message =
                    rowMessage(rowNumber, h, QStringLiteral("超过%1个字符！").arg(kNameChars));
                return result;
            }
        }
        p.date = dayOf(dateText);
        if (p.date.isEmpty()) {
            result.message =
                rowMessage(rowNumber, kind.dateHeader, QStringLiteral("不是有效的日期！"));
            return result;
        }
        if (!Money::parse(p.amount, nullptr)) {
            result.message =
                rowMessage(rowNumber, kind.amountHeader, QStringLiteral("不是有效的数字！"));
            return result;
        }
        result.postings.push_back(std::move(p));
    }
    return result;
}

int SpreadsheetImport::book(const ImportKind& kind,
                            const std::vector<PostingRules::Posting>& postings,
                            const std::function<void(int)>& progress) {
    return PostingRules(dm_).saveImported(*kind.posting, postings, progress);
}

}  // namespace cw
