#include "import/SpreadsheetReader.h"

#include <QFile>

#include "import/XlsReader.h"
#include "import/XlsxReader.h"

namespace cw {

const QString& SpreadsheetReader::sheetName() {
    static const QString name = QStringLiteral("Sheet1");
    return name;
}

SheetRows SpreadsheetReader::read(const QString& path, const QString& sheet,
                                  const SheetLimits& limits) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw SheetError(QStringLiteral("无法打开文件：") + path);
    }
    const QByteArray head = file.read(8);
    file.close();
    static const QByteArray zipMagic("PK\x03\x04", 4);
    static const QByteArray biffMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (head.startsWith(zipMagic)) return XlsxReader::read(path, sheet, limits);
    if (head == biffMagic) return XlsReader::read(path, sheet);
    throw SheetError(QStringLiteral("不是Excel文件，无法读取！"));
}

}  // namespace cw
