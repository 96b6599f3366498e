#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <optional>

namespace cw::test {

// A written .xlsx read back by an independent reader (openpyxl, through
// tests/support/read_xlsx.py): cells with value, type ("s" text, "n" number), font, size,
// bold, centring, wrap and borders; merges; column widths; page set-up. Empty when the reader
// is not installed (the caller skips the test then).
inline std::optional<QJsonObject> readXlsx(const QString& path) {
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    QProcess p;
    p.start(python, {QStringLiteral(COINWICK_SOURCE_DIR "/tests/support/read_xlsx.py"), path});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return std::nullopt;
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

inline const char* kNoXlsxReader =
    "python3-openpyxl is not installed (scripts/packages.txt); the workbook is not read back";

}  // namespace cw::test
