#include "FuzzFiles.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "import/ImportKind.h"
#include "import/SheetRows.h"
#include "import/SpreadsheetImport.h"
#include "import/bills/BillImport.h"
#include "import/bills/BillReader.h"
#include "support/TempDataFile.h"

namespace cw::fuzz {

QString scratchPath(const QString& name) {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/coinwick-fuzz-XXXXXX"));
    return dir.filePath(name);
}

QString scratchFile(const QString& name, const std::uint8_t* data, std::size_t size) {
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("scratch file unwritable");
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

QString storedPackage(const QString& name,
                      const std::vector<std::pair<QByteArray, QByteArray>>& parts) {
    const QString path = scratchPath(name);
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) qFatal("scratch package unwritable");
    for (const auto& [part, bytes] : parts) {
        zip_source_t* source =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, part.constData(), source, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        qFatal("scratch package unwritable");
    }
    return path;
}

std::vector<QByteArray> pieces(const std::uint8_t* data, std::size_t size, int count) {
    const QByteArray all =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<QByteArray> out;
    qsizetype from = 0;
    while (int(out.size()) < count - 1) {
        const qsizetype at = all.indexOf(kSeparator, from);
        if (at < 0) break;
        out.push_back(all.mid(from, at - from));
        from = at + qsizetype(sizeof kSeparator - 1);
    }
    out.push_back(all.mid(from));
    out.resize(size_t(count));
    return out;
}

test::TempDataFile& book() {
    static const std::unique_ptr<test::TempDataFile> file = [] {
        auto f = std::make_unique<test::TempDataFile>();
        f->addBook(QStringLiteral("家庭账本"));
        return f;
    }();
    return *file;
}

void consume(const SheetRows& sheet) {
    for (const ImportKind& kind : ImportKind::all()) (void)SpreadsheetImport::check(kind, sheet);
    std::vector<QStringList> rows{sheet.header};
    std::vector<int> numbers{0};
    for (size_t r = 0; r < sheet.rowCount(); ++r) {
        rows.push_back(sheet.row(r));
        numbers.push_back(sheet.rowNumber(r));
    }
    try {
        (void)BillReader::fromRows(rows, numbers);
    } catch (const SheetError&) {
    }
}

void preview(Bill bill) {
    if (bill.account.isEmpty()) bill.account = QStringLiteral("储蓄卡");
    BillImport import(book().dm());
    const std::vector<BillImport::Planned> rows = import.plan(bill);
    (void)BillImport::count(rows);
    QString message;
    (void)BillImport::firstRefused(rows, &message);
    for (const BillImport::Planned& row : rows) (void)BillImport::review(row);
    (void)BillImport::balanceText(import.balanceCheck(bill));
}

}  // namespace cw::fuzz
