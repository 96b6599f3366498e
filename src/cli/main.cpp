#include <QCoreApplication>
#include <QApplication>
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

}  // namespace

int main(int argc, char** argv) {
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
