#include "import/statements/StatementFile.h"

#include <QFile>

#include "import/statements/OfxReader.h"
#include "import/statements/QifReader.h"

namespace cw {

StatementFile::Format StatementFile::formatOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw SheetError(QStringLiteral("无法打开文件：") + path);
    const QByteArray head = file.read(4096);
    if (QifReader::looksLike(head)) return Format::Qif;
    if (OfxReader::looksLike(head)) return Format::Ofx;
    return Format::Table;
}

StatementFile::Opened StatementFile::open(const QString& path,
                                          const std::vector<StatementProfile>& profiles,
                                          const SheetLimits& limits) {
    Opened out;
    out.format = formatOf(path);
    if (out.format == Format::Qif) {
        out.bill = QifReader::read(path, limits);
        return out;
    }
    if (out.format == Format::Ofx) {
        out.bill = OfxReader::read(path, limits);
        return out;
    }
    out.sheet = StatementReader::sheet(path, limits);
    const StatementProfiles::Match m = StatementProfiles::recognise(profiles, out.sheet.rows);
    out.profile = m.profile;
    out.headerRow = m.headerRow;
    if (m.profile < 0) return out;
    try {
        out.bill =
            StatementReader::read(out.sheet, profiles[size_t(m.profile)], m.headerRow, QString());
    } catch (const SheetError& e) {
        out.refusal = e.message();
    }
    return out;
}

}  // namespace cw
