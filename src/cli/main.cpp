#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/Cli.h"

namespace {

// Arguments that paint (a PDF, a chart picture) need the graphical application object (charts
// are graphics items, which want the widgets' one); the offscreen platform gives it without a
// display, so the CLI still runs on a bare server.
bool paints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "pdf=", 4) == 0 || std::strncmp(argv[i], "png=", 4) == 0) {
            return true;
        }
    }
    return false;
}

QtMessageHandler qtHandler = nullptr;

// Painting asks Qt for the user's runtime folder, and without one (cron, a bare ssh session) Qt
// notes on stderr that it made its own; the companion's stderr is for its own one-line verdict.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (qtHandler) qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    qtHandler = qInstallMessageHandler(quietHandler);
    std::unique_ptr<QCoreApplication> app;
    if (paints(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    cw::Cli cli(out, err);
    const int rc = cli.run(args);
    out.flush();
    err.flush();
    return rc;
}
