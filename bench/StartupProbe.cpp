// Times the start of the program up to the dashboard shown, as a whole process:
//
//   coinwick_startup_probe --prepare N DIR   put the generated book of N postings (0: an empty
//                                            data file) into DIR/Data/db.kbk
//   coinwick_startup_probe DIR               start on DIR like the program does, log into the
//                                            book, show the main window and end at once;
//                                            prints the milliseconds from entry to the shown
//                                            dashboard
//
// Run it under farm-bench (QT_QPA_PLATFORM=offscreen) to time the whole process as a user
// sees it, including loading the libraries.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "BookGenerator.h"
#include "app/ui/TfrmMain.h"
#include "books/BookLogin.h"
#include "storage/Clock.h"
#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/GlobalState.h"
#include "storage/TfrmDM.h"
#include "widgets/AppContext.h"
#include "widgets/Messages.h"

namespace {

int prepare(qint64 postings, const QString& dir) {
    const QString dest = cw::DataFile::pathIn(dir);
    QDir().mkpath(QFileInfo(dest).absolutePath());
    QFile::remove(dest);
    if (postings == 0) {
        cw::DataFile::make(dest);
        return 0;
    }
    const QString cached =
        cw::BookGenerator(postings).cached(QStringLiteral(COINWICK_BENCH_DATA_DIR));
    cw::BookGenerator::copyTo(cached, dest);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--prepare")) {
        return prepare(args[2].toLongLong(), args[3]);
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: coinwick_startup_probe [--prepare N] DIR\n");
        return 2;
    }
    const QString dir = args[1];
    cw::QtMessages messages;
    cw::GlobalState state;
    const cw::Clock today = cw::Clock::system();
    state.myToday = today.todayText();
    state.myTodayText = state.myToday;
    state.myVersion = cw::GlobalState::version();
    auto db = cw::Database::open(cw::DataFile::pathIn(dir));
    cw::TfrmDM dm(*db, state, today);
    cw::AppContext ctx{*db, dm, state, messages, dir, today, {}, {}, {}, {}};
    cw::TfrmMain main(ctx);
    main.myShow(false);
    // The login the open-book dialog makes, without the dialog: the first book of the file.
    const QStringList books = dm.DBComSBook();
    if (!books.isEmpty()) {
        cw::BookLogin(dm).login(books.front(), QString(), false, false);
        dm.myShow(true);
    }
    main.show();
    QCoreApplication::processEvents();
    std::printf("%lld ms to the dashboard (%s)\n", static_cast<long long>(clock.elapsed()),
                qPrintable(main.dashboard().statusText()));
    return 0;
}
