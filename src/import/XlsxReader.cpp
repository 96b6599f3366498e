#include "import/XlsxReader.h"

#include <zip.h>

#include <QDate>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>

namespace cw {

namespace {

QString damaged() {
    return QStringLiteral("Excel文件已损坏，无法读取！");
}

// One member of the package as a sequential device, read in chunks as the parser asks.
class ZipEntry : public QIODevice {
  public:
    ZipEntry(zip_t* archive, const QString& name) {
        const zip_int64_t index =
            zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index >= 0) file_ = zip_fopen_index(archive, zip_uint64_t(index), 0);
        if (file_) open(QIODevice::ReadOnly);
    }
    ~ZipEntry() override {
        if (file_) zip_fclose(file_);
    }
    bool found() const { return file_ != nullptr; }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(maxSize));
        return n < 0 ? -1 : n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    zip_file_t* file_ = nullptr;
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

void failOnError(const QXmlStreamReader& xml) {
    if (xml.hasError()) throw SheetError(damaged());
}

// Relationship id → target of a .rels part; empty when the part is missing.
QHash<QString, QString> relationships(zip_t* zip, const QString& relsPath,
                                      QString* officeDocument = nullptr) {
    QHash<QString, QString> rels;
    ZipEntry entry(zip, relsPath);
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
        }
    }
    failOnError(xml);
    return rels;
}

// The text of an <si> or <is> element: its <t> runs, phonetic guides (<rPh>) left out.
QString stringItem(QXmlStreamReader& xml) {
    const QString end = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) ++phonetic;
            if (xml.name() == QLatin1String("t") && phonetic == 0) text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh")) --phonetic;
            if (xml.name() == end) break;
        }
    }
    return text;
}

QStringList sharedStrings(zip_t* zip, const QString& path) {
    QStringList strings;
    ZipEntry entry(zip, path);
    if (!entry.found()) return strings;
    QXmlStreamReader xml(&entry);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("sst")) {
                const int count = xml.attributes().value(QLatin1String("uniqueCount")).toInt();
                if (count > 0) strings.reserve(count);
            } else if (xml.name() == QLatin1String("si")) {
                strings << stringItem(xml);
            }
        }
    }
    failOnError(xml);
    return strings;
}

bool builtinDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// For each cell style (the s attribute of a cell), whether its number format shows a date.
std::vector<bool> dateStyles(zip_t* zip, const QString& path) {
    std::vector<bool> styles;
    ZipEntry entry(zip, path);
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
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                styles.push_back(formats.contains(id) ? XlsxReader::isDateFormat(formats.value(id))
                                                      : builtinDateFormat(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    failOnError(xml);
    return styles;
}

// "BC12" → 54 (0-based column); -1 when the reference has no letters.
int columnOf(QStringView ref) {
    int column = 0;
    int letters = 0;
    for (const QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z') break;
        column = column * 26 + (u - u'A' + 1);
        ++letters;
    }
    return letters == 0 ? -1 : column - 1;
}

struct Book {
    QString sheetPath;
    bool date1904 = false;
    QString folder;  // of the workbook part
};

Book findSheet(zip_t* zip, const QString& sheetName) {
    QString workbookTarget;
    relationships(zip, QStringLiteral("_rels/.rels"), &workbookTarget);
    const QString workbook = workbookTarget.isEmpty() ? QStringLiteral("xl/workbook.xml")
                                                      : resolve(QString(), workbookTarget);
    Book book;
    book.folder = folderOf(workbook);
    QString relId;
    {
        ZipEntry entry(zip, workbook);
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
        failOnError(xml);
    }
    if (relId.isEmpty()) {
        throw SheetError(QStringLiteral("Excel文件中找不到工作表 %1！").arg(sheetName));
    }
    const QString workbookRels = book.folder + QStringLiteral("_rels/") +
                                 workbook.mid(book.folder.size()) + QStringLiteral(".rels");
    const QString target = relationships(zip, workbookRels).value(relId);
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

SheetRows XlsxReader::read(const QString& path, const QString& sheetName) {
    Archive archive;
    int error = 0;
    archive.zip = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!archive.zip) throw SheetError(damaged());
    zip_t* zip = archive.zip;

    const Book book = findSheet(zip, sheetName);
    const QStringList strings =
        sharedStrings(zip, book.folder + QStringLiteral("sharedStrings.xml"));
    const std::vector<bool> dates = dateStyles(zip, book.folder + QStringLiteral("styles.xml"));

    ZipEntry entry(zip, book.sheetPath);
    if (!entry.found()) throw SheetError(damaged());
    QXmlStreamReader xml(&entry);
    SheetRows sheet;
    QStringList cells;
    int rowNumber = 0;
    int nextColumn = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            sheet.add(rowNumber, cells);
            continue;
        }
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) {
            const int r = xml.attributes().value(QLatin1String("r")).toInt();
            rowNumber = r > 0 ? r : rowNumber + 1;
            cells.clear();
            nextColumn = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c")) continue;

        const auto a = xml.attributes();
        const int ref = columnOf(a.value(QLatin1String("r")));
        const int column = ref >= 0 ? ref : nextColumn;
        nextColumn = column + 1;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();
        QString value;
        QString inlineText;
        bool hasInline = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                inlineText = stringItem(xml);
                hasInline = true;
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                break;
            }
        }
        QString text;
        if (hasInline) {
            text = inlineText;
        } else if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= strings.size()) throw SheetError(damaged());
            text = strings[index];  // shares the one copy
        } else if (type == QLatin1String("b")) {
            text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE")
                                                         : QStringLiteral("FALSE");
        } else if (type == QLatin1String("str") || type == QLatin1String("e") ||
                   type == QLatin1String("d")) {
            text = type == QLatin1String("d") ? value.left(10) : value;
        } else if (!value.isEmpty()) {
            bool ok = false;
            const double number = value.toDouble(&ok);
            const bool date = style >= 0 && size_t(style) < dates.size() && dates[size_t(style)];
            text = ok ? numberText(number, date, book.date1904) : value;
        }
        if (column >= 16384) throw SheetError(damaged());
        while (cells.size() <= column) cells << QString();
        cells[column] = text;
    }
    failOnError(xml);
    return sheet;
}

}  // namespace cw
