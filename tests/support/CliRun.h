#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace cw::test {

// One run of coinwick-cli: its exit status and what it printed.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(COINWICK_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace cw::test
