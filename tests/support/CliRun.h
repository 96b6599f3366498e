#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

namespace cw::test {

// One run of coinwick-cli: its exit status and what it printed.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// inChild, when given, runs in the child before the program starts (limits, signals).
inline CliRun runCli(const QStringList& args, const std::function<void()>& inChild = {}) {
    QProcess p;
    if (inChild) p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(COINWICK_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace cw::test
