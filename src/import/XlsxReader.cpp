#include "import/XlsxReader.h"

#include <zip.h>

#include <QDate>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "import/SheetLimits.h"
#include "import/SpreadsheetImport.h"

namespace cw {

namespace {

QString damaged() {
    return QStringLiteral("Excel文件已损坏，无法读取！");
}

// One member of the package as a sequential device, read in chunks as the parser asks. It
// refuses a member that declares more than the limits allow, and stops at whatever is
// inflated past the declared size (a package can lie about it); a run of text with no markup
// longer than any cell could be is stopped too, before the parser gathers it whole. The
// parser only sees the end of its data; the reader asks refusal() afterwards.
class ZipEntry : public QIODevice {
  public:
    ZipEntry(zip_t* archive, const QString& name, const SheetLimits& limits) : limits_(limits) {
        const zip_int64_t index =
            zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0) return;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, zip_uint64_t(index), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_COMP_SIZE)) {
            throw SheetError(damaged());
        }
        const qint64 size = qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(1) << 62));
        if (size > limits.partBytes) {
            throw SheetError(SheetLimits::exceeded(
                QStringLiteral("%1 解压后 %2，最多 %3")
                    .arg(name, SheetLimits::bytes(size), SheetLimits::bytes(limits.partBytes))));
        }
        const qint64 packed = std::max<qint64>(1, qint64(st.comp_size));
        if (size > limits.ratioFromBytes && size / packed > limits.packRatio) {
            throw SheetError(SheetLimits::exceeded(QStringLiteral("%1 压缩比 %2 倍，最多 %3 倍")
                                                       .arg(name)
                                                       .arg(size / packed)
                                                       .arg(limits.packRatio)));
        }
        name_ = name;
        allowed_ = size;
        maxRun_ = qint64(limits.cellChars) * 10 + 65536;
        file_ = zip_fopen_index(archive, zip_uint64_t(index), 0);
        if (file_) open(QIODevice::ReadOnly);
    }
    ~ZipEntry() override {
        if (file_) zip_fclose(file_);
    }
    bool found() const { return file_ != nullptr; }
    bool isSequential() const override { return true; }
    // Throws the refusal that ended the data early, if one did.
    void checkRefusal() const {
        if (!refusal_.isEmpty()) throw SheetError(refusal_);
    }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (!refusal_.isEmpty()) return -1;
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(maxSize));
        if (n < 0) return -1;
        inflated_ += n;
        if (inflated_ > allowed_) {
            refusal_ = SheetLimits::exceeded(QStringLiteral("%1 解压后超过它声明的 %2")
                                                 .arg(name_, SheetLimits::bytes(allowed_)));
            return -1;
        }
        const void* lt = memrchr(data, '<', size_t(n));
        run_ = lt ? n - 1 - (static_cast<const char*>(lt) - data) : run_ + n;
        if (run_ > maxRun_) {
            refusal_ = SheetLimits::exceeded(
                QStringLiteral("%1 中的文字超过 %2 个字符").arg(name_).arg(limits_.cellChars));
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    const SheetLimits& limits_;
    zip_file_t* file_ = nullptr;
    QString name_;
    QString refusal_;
    qint64 allowed_ = 0;
    qint64 inflated_ = 0;
    qint64 run_ = 0;  // bytes since the last '<'
    qint64 maxRun_ = 0;
};

struct Archive {
    zip_t* zip = nullptr;
    ~Archive() {
        if (zip) zip_discard(zip);
    }
};

// Folder part of a package path, with its slash: "xl/" of "xl/workbook.xml".
QString folderOf(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// A relationship target resolved against the folder of the part that names it.
QString resolve(const QString& folder, const QString& target) {
    QString path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : folder + target;
    QStringList parts;
    for (const QString& p : path.split(QLatin1Char('/'))) {
        if (p == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (!p.isEmpty() && p != QLatin1String(".")) {
            parts << p;
        }
    }
    return parts.join(QLatin1Char('/'));
}

void failOnError(const QXmlStreamReader& xml, const ZipEntry& entry) {
    entry.checkRefusal();
    if (xml.hasError()) throw SheetError(damaged());
}

void tooMany(qsizetype count, int limit, const QString& what) {
    if (count > limit) {
        throw SheetError(
            SheetLimits::exceeded(QStringLiteral("%1超过 %2 个").arg(what).arg(limit)));
    }
}

// Relationship id → target of a .rels part; empty when the part is missing.
QHash<QString, QString> relationships(zip_t* zip, const QString& relsPath,
                                      const SheetLimits& limits,
                                      QString* officeDocument = nullptr) {
    QHash<QString, QString> rels;
    ZipEntry entry(zip, relsPath, limits);
    if (!entry.found()) return rels;
    QXmlStreamReader xml(&entry);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const auto a = xml.attributes();
            rels.insert(a.value(QLatin1String("Id")).toString(),
                        a.value(QLatin1String("Target")).toString());
            if (officeDocument &&
                a.value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument"))) {
                *officeDocument = a.value(QLatin1String("Target")).toString();
            }
            tooMany(rels.size(), limits.entries, QStringLiteral("关系"));
        }
    }
    failOnError(xml, entry);
    return rels;
}

void checkCellText(const QString& text, const SheetLimits& limits) {
    if (text.size() > limits.cellChars) {
        throw SheetError(SheetLimits::exceeded(QStringLiteral("单元格文字 %1 个字符，最多 %2 个")
                                                   .arg(text.size())
                                                   .arg(limits.cellChars)));
    }
}

// The text of an <si> or <is> element: its <t> runs, phonetic guides (<rPh>) left out.
QString stringItem(QXmlStreamReader& xml, const SheetLimits& limits) {
    const QString end = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) ++phonetic;
            if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += xml.readElementText();
                checkCellText(text, limits);
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh")) --phonetic;
            if (xml.name() == end) break;
        }
    }
    return text;
}

void checkTextHeld(const SheetRows& sheet, const SheetLimits& limits) {
    if (sheet.textChars() > limits.textChars) {
        throw SheetError(
            SheetLimits::exceeded(QStringLiteral("文字共超过 %1 个字符").arg(limits.textChars)));
    }
}

// The shared strings, kept in the sheet in their order: the first has text number `*first`.
void sharedStrings(zip_t* zip, const QString& path, const SheetLimits& limits, SheetRows& sheet,
                   quint32* first, qint64* count) {
    *count = 0;
    ZipEntry entry(zip, path, limits);
    if (!entry.found()) return;
    QXmlStreamReader xml(&entry);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("sst")) {
            // What the part says it holds is refused before any of it is read (count is how
            // many cells refer to the strings, uniqueCount how many there are).
            const qint64 declared =
                xml.attributes().value(QLatin1String("uniqueCount")).toLongLong();
            if (declared > limits.sharedStrings) {
                throw SheetError(
                    SheetLimits::exceeded(QStringLiteral("共享字符串 %1 个，最多 %2 个")
                                              .arg(declared)
                                              .arg(limits.sharedStrings)));
            }
        } else if (xml.name() == QLatin1String("si")) {
            if (*count >= limits.sharedStrings) {
                throw SheetError(SheetLimits::exceeded(
                    QStringLiteral("共享字符串超过 %1 个").arg(limits.sharedStrings)));
            }
            const quint32 id = sheet.keep(stringItem(xml, limits));
            if ((*count)++ == 0) *first = id;
            checkTextHeld(sheet, limits);
        }
    }
    failOnError(xml, entry);
}

bool builtinDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// For each cell style (the s attribute of a cell), whether its number format shows a date.
std::vector<bool> dateStyles(zip_t* zip, const QString& path, const SheetLimits& limits) {
    std::vector<bool> styles;
    ZipEntry entry(zip, path, limits);
    if (!entry.found()) return styles;
    QHash<int, QString> formats;
    bool inCellXfs = false;
    QXmlStreamReader xml(&entry);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("numFmt")) {
                formats.insert(a.value(QLatin1String("numFmtId")).toInt(),
                               a.value(QLatin1String("formatCode")).toString());
                tooMany(formats.size(), limits.entries, QStringLiteral("数字格式"));
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                styles.push_back(formats.contains(id) ? XlsxReader::isDateFormat(formats.value(id))
                                                      : builtinDateFormat(id));
                tooMany(qsizetype(styles.size()), limits.entries, QStringLiteral("单元格样式"));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    failOnError(xml, entry);
    return styles;
}

// "BC12" → 54 (0-based column); -1 when the reference has no letters.
int columnOf(QStringView ref) {
    int column = 0;
    int letters = 0;
    for (const QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z') break;
        // Past the last column it only needs to stay past it, not to grow without end.
        column = std::min(column * 26 + (u - u'A' + 1), 1 << 24);
        ++letters;
    }
    return letters == 0 ? -1 : column - 1;
}

struct Book {
    QString sheetPath;
    bool date1904 = false;
    QString folder;  // of the workbook part
};

Book findSheet(zip_t* zip, const QString& sheetName, const SheetLimits& limits) {
    QString workbookTarget;
    relationships(zip, QStringLiteral("_rels/.rels"), limits, &workbookTarget);
    const QString workbook = workbookTarget.isEmpty() ? QStringLiteral("xl/workbook.xml")
                                                      : resolve(QString(), workbookTarget);
    Book book;
    book.folder = folderOf(workbook);
    QString relId;
    {
        ZipEntry entry(zip, workbook, limits);
        if (!entry.found()) throw SheetError(damaged());
        QXmlStreamReader xml(&entry);
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) continue;
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("workbookPr")) {
                const auto v = a.value(QLatin1String("date1904"));
                book.date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet") && relId.isEmpty() &&
                       (sheetName.isEmpty() ||
                        a.value(QLatin1String("name")).compare(sheetName, Qt::CaseInsensitive) ==
                            0)) {
                for (const QXmlStreamAttribute& attr : a) {
                    if (attr.name() == QLatin1String("id")) relId = attr.value().toString();
                }
            }
        }
        failOnError(xml, entry);
    }
    if (relId.isEmpty()) {
        throw SheetError(QStringLiteral("Excel文件中找不到工作表 %1！").arg(sheetName));
    }
    const QString workbookRels = book.folder + QStringLiteral("_rels/") +
                                 workbook.mid(book.folder.size()) + QStringLiteral(".rels");
    const QString target = relationships(zip, workbookRels, limits).value(relId);
    if (target.isEmpty()) throw SheetError(damaged());
    book.sheetPath = resolve(book.folder, target);
    return book;
}

}  // namespace

bool XlsxReader::isDateFormat(const QString& code) {
    // Quoted text, bracketed colours and locales, and escaped characters are no part of the
    // date letters; "General" contains an e but no date.
    QString bare;
    bool quoted = false;
    bool bracket = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('[')) {
            bracket = true;
        } else if (c == QLatin1Char(']')) {
            bracket = false;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (!bracket) {
            bare += c.toLower();
        }
    }
    bare.remove(QLatin1String("general"));
    for (const QChar c : bare) {
        if (c == QLatin1Char('y') || c == QLatin1Char('m') || c == QLatin1Char('d') ||
            c == QLatin1Char('h') || c == QLatin1Char('s')) {
            return true;
        }
    }
    return false;
}

QString XlsxReader::numberText(double value, bool dateFormat, bool date1904) {
    if (dateFormat && value >= 0 && value < 2958466) {
        qint64 days = qint64(std::floor(value));
        qint64 seconds = qint64(std::llround((value - double(days)) * 86400.0));
        if (seconds >= 86400) {
            ++days;
            seconds -= 86400;
        }
        QString text;
        if (days > 0 || date1904) {
            QDate day;
            if (date1904) {
                day = QDate(1904, 1, 1).addDays(days);
            } else if (days < 61) {
                // The 1900 system counts a 29 February 1900 that never was; serials before it
                // start a day later.
                day = QDate(1899, 12, 31).addDays(days);
            } else {
                day = QDate(1899, 12, 30).addDays(days);
            }
            text = day.toString(QStringLiteral("yyyy-MM-dd"));
        }
        if (seconds > 0) {
            const QString time = QStringLiteral("%1:%2:%3")
                                     .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                                     .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(seconds % 60, 2, 10, QLatin1Char('0'));
            text = text.isEmpty() ? time : text + QLatin1Char(' ') + time;
        }
        return text.isEmpty() ? QStringLiteral("00:00:00") : text;
    }
    // Fifteen significant digits, what the spreadsheet shows: 0.1+0.2 reads 0.3.
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        const int whole = value == 0 ? 1 : int(std::floor(std::log10(std::fabs(value)))) + 1;
        text = QString::number(value, 'f', std::max(0, 15 - whole));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) text.chop(1);
            if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        }
    }
    return text;
}

bool XlsxReader::isOpenDocument(const QString& path) {
    Archive archive;
    int error = 0;
    archive.zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    return archive.zip && isOpenDocument(archive.zip);
}

bool XlsxReader::isOpenDocument(zip_t* zip) {
    // The package's first member names its type in plain text.
    zip_file_t* file = zip_fopen(zip, "mimetype", 0);
    if (!file) return false;
    char head[64] = {};
    const zip_int64_t n = zip_fread(file, head, sizeof head - 1);
    zip_fclose(file);
    return n > 0 && std::strncmp(head, "application/vnd.oasis.opendocument", 34) == 0;
}

QString XlsxReader::openDocumentRefused(const QString& supported) {
    return QStringLiteral("不支持OpenDocument表格文件（.ods）！支持的格式：%1。").arg(supported);
}

QString XlsxReader::columnName(int column) {
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26) name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

namespace {

// What one <c> element holds, read up to its end.
struct CellXml {
    int column = 0;
    // The t attribute: 's' shared string, 'b' boolean, 't' a formula's text (str), 'e' error,
    // 'd' ISO date, 'n' number or none.
    char type = 'n';
    int style = 0;
    QString value;
    bool hasValue = false;
    bool hasFormula = false;
    QString inlineText;
    bool hasInline = false;
};

CellXml readCell(QXmlStreamReader& xml, int nextColumn, const SheetLimits& limits) {
    CellXml c;
    const auto a = xml.attributes();
    const int ref = columnOf(a.value(QLatin1String("r")));
    c.column = ref >= 0 ? ref : nextColumn;
    const QStringView t = a.value(QLatin1String("t"));
    if (t == QLatin1String("s")) {
        c.type = 's';
    } else if (t == QLatin1String("b")) {
        c.type = 'b';
    } else if (t == QLatin1String("str")) {
        c.type = 't';
    } else if (t == QLatin1String("e") || t == QLatin1String("d")) {
        c.type = char(t.front().unicode());
    }
    c.style = a.value(QLatin1String("s")).toInt();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
            c.value = xml.readElementText();
            c.hasValue = true;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("f")) {
            c.hasFormula = true;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
            c.inlineText = stringItem(xml, limits);
            c.hasInline = true;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            break;
        }
    }
    return c;
}

// Whether a number's stored text already reads as numberText shows it: a plain decimal of at
// most fifteen significant digits, with no zeros to drop at either end. Most amounts are; they
// are then taken as written, sparing the conversion to a double and back.
bool shownAsStored(QStringView v) {
    if (v.isEmpty() || v.size() > 17) return false;
    qsizetype i = v.front() == u'-' ? 1 : 0;
    const qsizetype whole = i;
    int digits = 0;
    int leadingZeros = 0;
    bool point = false;
    for (; i < v.size(); ++i) {
        const char16_t c = v[i].unicode();
        if (c == u'.' && !point && i > whole) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            if (c == u'0' && digits == leadingZeros) ++leadingZeros;
            ++digits;
        } else {
            return false;
        }
    }
    const bool zeroLed = v[whole] == u'0' && v.size() > whole + 1 && v[whole + 1] != u'.';
    const bool trailing = point && (v.back() == u'0' || v.back() == u'.');
    const int significant = digits - leadingZeros;
    if (zeroLed || trailing) return false;
    return significant == 0 ? v == QLatin1String("0") : significant <= 15;
}

// A formula the file keeps no result of (a script wrote the formula, no spreadsheet program
// computed it): reading it as empty would book a wrong amount, so the row is refused.
[[noreturn]] void refuseFormula(const SheetRows& sheet, int rowNumber, int column) {
    const QString header = sheet.header.value(column).trimmed();
    throw SheetError(QStringLiteral("第 %1 行 %2 是公式，文件中没有它的计算结果！请用Excel打开并"
                                    "保存后再导入。")
                         .arg(rowNumber)
                         .arg(header.isEmpty() ? XlsxReader::columnName(column) : header) +
                     SpreadsheetImport::nothingImported());
}

}  // namespace

SheetRows XlsxReader::read(const QString& path, const QString& sheetName,
                           const SheetLimits& limits) {
    Archive archive;
    int error = 0;
    archive.zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive.zip) throw SheetError(damaged());
    zip_t* zip = archive.zip;
    if (isOpenDocument(zip)) throw SheetError(openDocumentRefused(QStringLiteral(".xls、.xlsx")));

    const Book book = findSheet(zip, sheetName, limits);
    SheetRows sheet;
    quint32 firstString = 0;
    qint64 stringCount = 0;
    sharedStrings(zip, book.folder + QStringLiteral("sharedStrings.xml"), limits, sheet,
                  &firstString, &stringCount);
    const std::vector<bool> dates =
        dateStyles(zip, book.folder + QStringLiteral("styles.xml"), limits);

    ZipEntry entry(zip, book.sheetPath, limits);
    if (!entry.found()) throw SheetError(damaged());
    QXmlStreamReader xml(&entry);
    int rowNumber = 0;
    int nextColumn = 0;
    const auto checkRow = [&](qint64 row) {
        if (row > limits.rows) {
            throw SheetError(SheetLimits::exceeded(
                QStringLiteral("行号 %1，最多 %2 行").arg(row).arg(limits.rows)));
        }
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            sheet.endRow(rowNumber);
            continue;
        }
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) {
            const qint64 r = xml.attributes().value(QLatin1String("r")).toLongLong();
            checkRow(r > 0 ? r : qint64(rowNumber) + 1);
            rowNumber = r > 0 ? int(r) : rowNumber + 1;
            nextColumn = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c")) continue;

        const CellXml c = readCell(xml, nextColumn, limits);
        if (c.column >= limits.columns) {
            throw SheetError(SheetLimits::exceeded(QStringLiteral("第 %1 行第 %2 列，最多 %3 列")
                                                       .arg(rowNumber)
                                                       .arg(qint64(c.column) + 1)
                                                       .arg(limits.columns)));
        }
        nextColumn = c.column + 1;
        if (c.hasFormula && !c.hasValue && !c.hasInline) refuseFormula(sheet, rowNumber, c.column);
        quint32 text = 0;
        if (c.hasInline) {
            if (!c.inlineText.isEmpty()) text = sheet.copy(c.inlineText);
        } else if (c.type == 's') {
            bool ok = false;
            const qint64 index = c.value.toLongLong(&ok);
            if (!ok || index < 0 || index >= stringCount) throw SheetError(damaged());
            text = firstString + quint32(index);  // the one copy, shared
        } else if (c.type == 'b') {
            text = sheet.copy(c.value.trimmed() == QLatin1String("1") ? u"TRUE" : u"FALSE");
        } else if (c.type == 't' || c.type == 'e' || c.type == 'd') {
            checkCellText(c.value, limits);
            const QStringView v =
                c.type == 'd' ? QStringView(c.value).left(10) : QStringView(c.value);
            if (!v.isEmpty()) text = sheet.copy(v);
        } else if (!c.value.isEmpty()) {
            const bool date =
                c.style >= 0 && size_t(c.style) < dates.size() && dates[size_t(c.style)];
            checkCellText(c.value, limits);
            if (!date && shownAsStored(c.value)) {
                text = sheet.copy(c.value);
            } else {
                bool ok = false;
                const double number = c.value.toDouble(&ok);
                text = sheet.copy(ok ? numberText(number, date, book.date1904) : c.value);
            }
        }
        sheet.addCell(c.column, text);
        if (sheet.cellCount() > limits.cells) {
            throw SheetError(
                SheetLimits::exceeded(QStringLiteral("单元格超过 %1 个").arg(limits.cells)));
        }
        checkTextHeld(sheet, limits);
    }
    failOnError(xml, entry);
    return sheet;
}

}  // namespace cw
