#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

#include "app/ui/DashboardView.h"
#include "app/ui/HelpWindow.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportScreen.h"
#include "storage/Database.h"
#include "ui/support/MainFixture.h"
#include "widgets/MessageBox.h"

using namespace cw;

class MainWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void menusCarryTheirItemsAndShortcuts();
    void toolbarButtonsInOrder();
    void bookMenusFollowTheOpenBook();
    void dashboardAndStatusBar();
    void statusLineShowsTheFixedDate();
    void closeBookZeroesTheDashboardAndKeepsTheCaption();
    void exitAsksAndCopiesTheDataFile();
    void exitRefusedLeavesEverything();
    void aboutBoxShowsTheVersion();
    void helpAndF1OpenTheShippedManual();
    void helpWithoutTheManualSaysSo();
    void duePlansAreCountedForTheOpenBookOnly();
    void titleKeepsTheBookWhateverCloses();
    void windowFitsTheScreenAndComesBackWhereItWas();
    void messageBoxIsWideEnoughForItsCaption();
};

void MainWindowTest::menusCarryTheirItemsAndShortcuts() {
    test::MainFixture fx;
    QStringList titles;
    for (QAction* a : fx.main->menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, QStringList({"账簿【&Z】", "基础设置【&B】", "记账【&W】", "计划【&P】",
                                  "导入【&D】", "报表中心【&R】", "工具【&T】", "帮助【&H】"}));
    QCOMPARE(fx.main->action("收入 &I")->shortcut(), QKeySequence("Ctrl+I"));
    QCOMPARE(fx.main->action("支出 &O")->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(fx.main->action("账户转账 &A")->shortcut(), QKeySequence("Ctrl+A"));
    QCOMPARE(fx.main->action("债务 &B")->shortcut(), QKeySequence("Ctrl+B"));
    QCOMPARE(fx.main->action("债权 &D")->shortcut(), QKeySequence("Ctrl+D"));
    QCOMPARE(fx.main->action("投资 &T")->shortcut(), QKeySequence("Ctrl+T"));
    QStringList book;
    for (QAction* a : fx.main->menu("账簿【&Z】")->actions()) {
        if (!a->isSeparator()) book << a->text();
    }
    QCOMPARE(book,
             QStringList({"新建账簿 &N", "打开账簿 &O", "关闭账簿 &C", "账簿管理 &B", "修改密码 &S",
                          "打印设置 &P", "备份数据 &D", "数据恢复 &R", "退出 &X"}));
    QStringList help;
    for (QAction* a : fx.main->menu("帮助【&H】")->actions()) {
        if (!a->isSeparator()) help << a->text();
    }
    QCOMPARE(help, QStringList(
                       {"帮助 &H", "在线帮助 &O", "Coinwick网站 &W", "软件升级 &U", "关于... &A"}));
}

void MainWindowTest::toolbarButtonsInOrder() {
    test::MainFixture fx;
    QStringList texts;
    for (QAction* a : fx.main->toolBar()->actions()) texts << a->text();
    QCOMPARE(texts,
             QStringList({"家庭成员", "账户管理", "收入", "支出", "转账", "债务", "债权", "投资",
                          "新建计划", "查看计划", "今日计划", "收支统计", "帮助", "主界面"}));
}

void MainWindowTest::bookMenusFollowTheOpenBook() {
    test::MainFixture fx;
    fx.main->myShow(false);
    QVERIFY(!fx.main->menu("基础设置【&B】")->menuAction()->isVisible());
    QVERIFY(!fx.main->menu("工具【&T】")->menuAction()->isVisible());
    QVERIFY(fx.main->menu("帮助【&H】")->menuAction()->isVisible());
    QVERIFY(!fx.main->action("关闭账簿 &C")->isVisible());
    QVERIFY(!fx.main->action("数据恢复 &R")->isVisible());
    QVERIFY(fx.main->action("新建账簿 &N")->isVisible());
    QVERIFY(fx.main->action("打开账簿 &O")->isVisible());
    QVERIFY(fx.main->action("退出 &X")->isVisible());
    QVERIFY(!fx.main->toolBar()->isEnabled());
    // The data services switch the menus through the main window.
    fx.ctx.dm.myShow(true);
    QVERIFY(fx.main->menu("记账【&W】")->menuAction()->isVisible());
    QVERIFY(fx.main->action("关闭账簿 &C")->isVisible());
    QVERIFY(fx.main->toolBar()->isEnabled());
}

void MainWindowTest::dashboardAndStatusBar() {
    test::MainFixture fx;
    fx.file.addBook("我家账簿");
    fx.file.addAccount("钱包", 1234.5, "", "现金");
    fx.file.addAccount("信用卡", -100, "", "信用卡");
    fx.file.db().exec("INSERT INTO Borrow(BName, BMoney) VALUES('我家账簿', 300)");
    fx.file.db().exec("INSERT INTO InTable(BName, IMoney) VALUES('我家账簿', 500)");
    fx.file.db().exec("INSERT INTO OutTable(BName, OMoney) VALUES('我家账簿', 500)");
    fx.main->mySum();
    DashboardView* v = fx.main->dashboardView();
    QCOMPARE(v->valueText("现金"), QString("1,234.50"));
    QCOMPARE(v->valueText("债务"), QString("-300.00"));
    QCOMPARE(v->valueText("负债合计："), QString("-400.00"));
    QCOMPARE(v->valueText("净资金："), QString("834.50"));
    QCOMPARE(fx.main->statusPanel(0), QString("Coinwick记账软件"));
    QCOMPARE(fx.main->statusPanel(2),
             QString("收入：500.00 支出：500.00 结余：0.00 支出占收入：100.00%"));
}

void MainWindowTest::statusLineShowsTheFixedDate() {
    test::MainFixture fx(QDate(2008, 2, 7));
    fx.main->FormShow();
    QCOMPARE(fx.main->statusPanel(1), QString("公历2008年02月07日 农历二零零八年一月初一  星期四"));
    QCOMPARE(fx.ctx.state.myAutoBackup, QString("是"));
}

void MainWindowTest::closeBookZeroesTheDashboardAndKeepsTheCaption() {
    test::MainFixture fx;
    fx.file.addBook("我家账簿");
    fx.file.addAccount("钱包", 50, "", "现金");
    fx.ctx.setCaption("我家账簿");
    fx.ctx.dm.myShow(true);
    fx.main->mySum();
    QCOMPARE(fx.main->dashboardView()->valueText("现金"), QString("50.00"));
    fx.main->action("关闭账簿 &C")->trigger();
    QCOMPARE(fx.ctx.state.myBName, QString());
    QCOMPARE(fx.main->dashboardView()->valueText("现金"), QString("0.00"));
    QVERIFY(!fx.main->toolBar()->isEnabled());
    QVERIFY(!fx.main->menu("记账【&W】")->menuAction()->isVisible());
    QCOMPARE(fx.main->windowTitle(), QString("我家账簿"));
}

void MainWindowTest::exitAsksAndCopiesTheDataFile() {
    test::MainFixture fx;
    fx.file.addBook("我家账簿");
    fx.main->FormShow();
    const QString copy = fx.file.programDir() + "/Backup/2026-12-09.kbk";
    QDir().mkpath(fx.file.programDir() + "/Backup");
    {
        QFile old(copy);  // an earlier copy of the same day is overwritten
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old copy");
    }
    fx.messages.answers = {true};
    QVERIFY(fx.main->close());
    QCOMPARE(fx.messages.entries.size(), 1);
    QCOMPARE(fx.messages.entries[0].kind, QString("ask"));
    QCOMPARE(fx.messages.entries[0].text, QString("确认要退出 Coinwick记账软件 吗？  ^_^  "));
    QCOMPARE(fx.messages.entries[0].caption, QString("确认退出"));
    auto db = Database::open(copy);
    QCOMPARE(db->query("SELECT BName FROM SBook").text("BName"), QString("我家账簿"));
}

void MainWindowTest::exitRefusedLeavesEverything() {
    test::MainFixture fx;
    fx.main->FormShow();
    fx.main->show();
    fx.messages.answers = {false};
    QVERIFY(!fx.main->close());
    QVERIFY(fx.main->isVisible());
    QVERIFY(!QFile::exists(fx.file.programDir() + "/Backup/2026-12-09.kbk"));

    // With the automatic backup off nothing is copied.
    fx.file.db().exec("UPDATE SBase SET theB='否' WHERE ID=1");
    fx.main->FormShow();
    fx.messages.answers = {true};
    QVERIFY(fx.main->close());
    QVERIFY(!QFile::exists(fx.file.programDir() + "/Backup/2026-12-09.kbk"));
}

void MainWindowTest::aboutBoxShowsTheVersion() {
    test::MainFixture fx;
    QString version;
    fx.onDialog = [&](QDialog& d) {
        version = d.findChild<QLabel*>("productVersion")->text();
        return int(QDialog::Accepted);
    };
    fx.main->action("关于... &A")->trigger();
    QCOMPARE(fx.dialogs, QStringList({"cw::TfrmAbout"}));
    QCOMPARE(version, QString("产品版本：5.3.0.6"));
}

// The manual is read from the shipped files in a window of the program's own: no browser, no
// network, no message.
void MainWindowTest::helpAndF1OpenTheShippedManual() {
    qputenv("COINWICK_HELP_DIR", COINWICK_SOURCE_DIR "/doc/manual");
    test::MainFixture fx;
    fx.main->show();
    QVERIFY(QTest::qWaitForWindowActive(fx.main.get()));
    const auto manual = [&]() -> HelpWindow* {
        return fx.main->findChild<HelpWindow*>(QStringLiteral("helpWindow"));
    };
    QTest::keyClick(fx.main.get(), Qt::Key_F1);
    QTRY_VERIFY(manual() && manual()->isVisible());
    QCOMPARE(manual()->windowTitle(), QStringLiteral("Coinwick记账软件 使用手册"));
    QVERIFY(manual()->browser()->toPlainText().contains(QStringLiteral("备份与恢复")));
    manual()->close();
    QTRY_VERIFY(!manual());

    fx.main->toolBar()->actions().at(12)->trigger();  // 帮助
    QTRY_VERIFY(manual() && manual()->isVisible());
    QCOMPARE(manual()->windowTitle(), QStringLiteral("Coinwick记账软件 使用手册"));
    // A second call brings the same window forward.
    fx.main->action("帮助 &H")->trigger();
    QCOMPARE(fx.main->findChildren<HelpWindow*>().size(), 1);
    QVERIFY(fx.messages.entries.isEmpty());
    qunsetenv("COINWICK_HELP_DIR");
}

void MainWindowTest::helpWithoutTheManualSaysSo() {
    QTemporaryDir empty;
    qputenv("COINWICK_HELP_DIR", empty.path().toUtf8());
    test::MainFixture fx;
    fx.main->action("帮助 &H")->trigger();
    QCOMPARE(fx.messages.last(), QStringLiteral("找不到帮助文件，请重新安装 Coinwick。"));
    QVERIFY(fx.main->findChildren<HelpWindow*>().isEmpty());
    qunsetenv("COINWICK_HELP_DIR");
}

void MainWindowTest::duePlansAreCountedForTheOpenBookOnly() {
    test::MainFixture fx;
    fx.file.addBook("我家账簿");
    const auto plan = [&](const char* book, const char* date, const char* state) {
        fx.file.db().exec("INSERT INTO UPlan(BName, PDate, PState) VALUES(?,?,?)",
                          QString::fromUtf8(book), QString::fromUtf8(date),
                          QString::fromUtf8(state));
    };
    plan("我家账簿", "2026-12-09", "否");  // due today
    plan("我家账簿", "2026-12-01", "否");
    plan("我家账簿", "2026-12-10", "否");  // tomorrow: not yet
    plan("我家账簿", "2026-11-01", "是");  // already executed
    plan("别的账簿", "2026-11-01", "否");
    fx.main->FormShow();
    QCOMPARE(fx.main->duePlanCount(), 2);
}

void MainWindowTest::titleKeepsTheBookWhateverCloses() {
    test::MainFixture fx;
    fx.file.addBook("我家账簿");
    ExcelExport::opener() = [](const QUrl&) { return true; };
    fx.ctx.setCaption("我家账簿");  // as the login names it
    fx.ctx.dm.myShow(true);
    const auto open = [&] {
        fx.main->openScreen("TfrmP_In");
        return qobject_cast<ReportScreen*>(fx.main->workingWindow());
    };
    open()->exitButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(fx.main->windowTitle(), QString("我家账簿"));
    open();
    QCOMPARE(fx.main->windowTitle(), QString("收入查询 — 我家账簿"));
    fx.main->action("主界面")->trigger();
    QCOMPARE(fx.main->windowTitle(), QString("我家账簿"));
    open();
    fx.main->action("按收入类别 &T")->trigger();  // writes a workbook, opens no window
    QVERIFY(!fx.main->workingWindow());
    QCOMPARE(fx.main->windowTitle(), QString("我家账簿"));
    ExcelExport::opener() = [](const QUrl&) { return false; };
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MainWindowTest::windowFitsTheScreenAndComesBackWhereItWas() {
    test::MainFixture fx;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(fx.main->geometry()));
    const QRect where(screen.topLeft() + QPoint(30, 40), QSize(500, 400));
    fx.main->setGeometry(where);
    fx.messages.answers = {true};
    QVERIFY(fx.main->close());
    fx.main.reset();
    fx.main = std::make_unique<TfrmMain>(fx.ctx);
    QCOMPARE(fx.main->geometry(), where);

    // Kept from a larger screen, or one no longer attached: back within this one.
    fx.main.reset();
    {
        QSettings ini(fx.file.programDir() + "/window.ini", QSettings::IniFormat);
        ini.setValue("MainWindow/geometry", QRect(5000, 4000, 3000, 2000));
    }
    fx.main = std::make_unique<TfrmMain>(fx.ctx);
    QVERIFY(screen.contains(fx.main->geometry()));
}

void MainWindowTest::messageBoxIsWideEnoughForItsCaption() {
    const QString caption = "确认退出";
    const auto box =
        MessageBox::make(QMessageBox::Question, "好", caption, QMessageBox::Yes | QMessageBox::No);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY(MessageBox::titleWidth(caption) > box->fontMetrics().horizontalAdvance(caption));
    QVERIFY(box->width() >= MessageBox::titleWidth(caption));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
