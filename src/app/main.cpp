#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>

#include "app/ProgramHelp.h"
#include "app/ui/Desktop.h"
#include "app/ui/TfrmMain.h"
#include "files/DataFolder.h"
#include "files/ProgramFolder.h"
#include "files/SingleInstance.h"
#include "storage/Clock.h"
#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/GlobalState.h"
#include "storage/TfrmDM.h"
#include "widgets/AppContext.h"
#include "widgets/Messages.h"

namespace {

// Qt's own dialogs speak Chinese too: 是/否/确定/取消 on the standard buttons.
void loadTranslations(QApplication& app) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto* t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(name), dir)) {
            app.installTranslator(t);
        } else {
            delete t;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version need no display: they are answered before any window exists.
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (const QString answer = cw::ProgramHelp::answer(args); !answer.isEmpty()) {
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Coinwick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Coinwick记账软件"));
    // The installed icon and desktop entry: the window shows the menu's icon.
    QApplication::setDesktopFileName(QStringLiteral("org.coinwick.Coinwick"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("coinwick")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
    loadTranslations(app);

    // A portable copy keeps its data beside itself, an installed one in the user's folder;
    // --home names another.
    const cw::DataFolder::HomeArgument home =
        cw::DataFolder::homeArgument(QApplication::arguments().mid(1));
    if (!home.error.isEmpty()) {
        QMessageBox::warning(nullptr, QStringLiteral("错误"), home.error);
        return 2;
    }
    const cw::DataFolder where = cw::DataFolder::forThisProcess(home.dir);
    cw::SingleInstance instance(where.dir());
    if (!instance.acquire()) {
        QMessageBox::warning(nullptr, QStringLiteral("警告"),
                             QStringLiteral("Coinwick 已经打开了！"));
        return 0;
    }

    cw::QtMessages messages;
    if (const cw::DataFolder::Prepared p = where.prepare(); !p.ok) {
        messages.warn(p.message, QStringLiteral("错误"));
        return 1;
    }
    const cw::ProgramFolder folder(where.dir());
    const cw::Clock clock = cw::Clock::system();
    cw::GlobalState state;
    state.myToday = clock.todayText();
    state.myTodayText = state.myToday;

    if (!QFile::exists(folder.dataFile())) {
        messages.inform(QStringLiteral("Coinwick 的 数据库文件 不存在，请尽快与我们联系！"));
        cw::Desktop::openUrl(cw::Desktop::homePage(), nullptr);
        return 1;
    }
    std::unique_ptr<cw::Database> db;
    try {
        db = cw::Database::open(folder.dataFile());
        cw::DataFile::upgrade(*db);
    } catch (const cw::DbError& e) {
        messages.warn(e.message(), QStringLiteral("错误"));
        return 1;
    }
    state.myVersion = cw::GlobalState::version();
    cw::TfrmDM dm(*db, state, clock);
    cw::AppContext ctx{*db, dm, state, messages, folder.dir(), clock, {}, {}, {}, {}};

    cw::TfrmMain main(ctx);
    main.FormCreate();
    main.show();
    return app.exec();
}
