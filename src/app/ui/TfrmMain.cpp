#include "app/ui/TfrmMain.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMediaPlayer>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "app/HelpManual.h"
#include "app/ui/DashboardView.h"
#include "app/ui/Desktop.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/Screens.h"
#include "app/ui/TfrmAbout.h"
#include "books/ui/TfrmOpenBook.h"
#include "interchange/ui/LedgerExportDialog.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/ReportScreen.h"
#include "storage/DbError.h"
#include "storage/LunarCalendar.h"
#include "widgets/Badge.h"
#include "widgets/DefaultButtonKeys.h"

namespace cw {

namespace {

const QString kProgramName = QStringLiteral("Coinwick记账软件");

}  // namespace

TfrmMain::TfrmMain(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent),
      ctx_(ctx),
      folder_(ctx.programDir),
      placement_(folder_.path(QStringLiteral("window.ini"))) {
    setWindowTitle(kProgramName);
    runDialog_ = [](QDialog& d) { return d.exec(); };

    stack_ = new QStackedWidget;
    dashboardView_ = new DashboardView;
    stack_->addWidget(dashboardView_);
    // A working window lives inside the frame, so its own title bar is never seen: its
    // caption heads the frame instead, and the window title names it with the book.
    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("workingCaption"));
    caption_->setStyleSheet(
        QStringLiteral("QLabel{font-size:15pt;font-weight:bold;padding:6px 10px;color:#1f4e79;"
                       "background:#eef3f8;border-bottom:1px solid #c8d6e5;}"));
    caption_->hide();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(caption_);
    column->addWidget(stack_, 1);
    setCentralWidget(central);
    connect(dashboardView_, &DashboardView::pictureClicked, this, [this](const QString& c) {
        if (ctx_.state.myBName.isEmpty()) return;
        if (c == QStringLiteral("债务")) return openScreen(QStringLiteral("TfrmP_B"));
        if (c == QStringLiteral("债权")) return openScreen(QStringLiteral("TfrmP_D"));
        if (c == QStringLiteral("投资")) return openScreen(QStringLiteral("TfrmTZ_Qu"));
        myA(c);
    });

    buildMenus();
    buildToolBar();
    buildStatusBar();

    ctx_.refreshDashboard = [this] { mySum(); };
    ctx_.setCaption = [this](const QString& book) {
        titleBook_ = book;
        showTitle();
    };
    ctx_.closeWorkingWindow = [this] { myfrmClose(); };
    ctx_.endProgram = [this] { endProgram(); };
    ctx_.dm.setMenuSwitch([this](bool on) { myShow(on); });

    registerScreens(*this);
    updateAvailability();
    placement_.restore(*this, QSize(1200, 760));
}

TfrmMain::~TfrmMain() {
    // A working window still open goes first, while the frame it reports back to still stands
    // (its destruction would otherwise reach a half-destroyed frame).
    if (QWidget* w = working_.data()) {
        working_ = nullptr;
        disconnect(w, nullptr, this, nullptr);
        delete w;
    }
    ctx_.dm.setMenuSwitch({});
}

// ---- menus, toolbar, status bar ----------------------------------------------------------

QAction* TfrmMain::addItem(QMenu* menu, const QString& text, const QString& screen,
                           const QKeySequence& shortcut) {
    QAction* a = menu->addAction(text);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_.insert(text, a);
    screenActions_.insert(screen, a);
    connect(a, &QAction::triggered, this, [this, screen] { openScreen(screen); });
    return a;
}

QAction* TfrmMain::addCommand(QMenu* menu, const QString& text, std::function<void()> run,
                              bool closesWorkingWindow) {
    QAction* a = menu->addAction(text);
    actions_.insert(text, a);
    connect(a, &QAction::triggered, this, [this, run, closesWorkingWindow] {
        if (closesWorkingWindow) myfrmClose();
        run();
    });
    return a;
}

void TfrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto top = [&](const char* title) {
        QMenu* m = bar->addMenu(QString::fromUtf8(title));
        menus_.insert(QString::fromUtf8(title), m);
        return m;
    };

    QMenu* book = top("账簿【&Z】");
    addCommand(book, QStringLiteral("新建账簿 &N"), [this] { newBook(); });
    addItem(book, QStringLiteral("打开账簿 &O"), QStringLiteral("TfrmOpenBook"));
    bookFileItems_ << book->addSeparator();
    bookFileItems_ << addCommand(book, QStringLiteral("关闭账簿 &C"), [this] { closeBook(); });
    bookFileItems_ << addItem(book, QStringLiteral("账簿管理 &B"), QStringLiteral("TfrmB_Manage"));
    bookFileItems_ << addItem(book, QStringLiteral("修改密码 &S"),
                              QStringLiteral("TfrmChangePass"));
    bookFileItems_ << book->addSeparator();
    bookFileItems_ << addCommand(book, QStringLiteral("打印设置 &P"), [this] { printSetup(); });
    bookFileItems_ << book->addSeparator();
    bookFileItems_ << addItem(book, QStringLiteral("备份数据 &D"), QStringLiteral("TfrmBackup"));
    bookFileItems_ << addItem(book, QStringLiteral("数据恢复 &R"), QStringLiteral("TfrmRecover"));
    book->addSeparator();
    addCommand(
        book, QStringLiteral("退出 &X"), [this] { close(); }, false);

    QMenu* base = top("基础设置【&B】");
    addItem(base, QStringLiteral("家庭成员 &F"), QStringLiteral("TfrmFamily"));
    addItem(base, QStringLiteral("往来人员 &P"), QStringLiteral("TfrmP_Manage"));
    addItem(base, QStringLiteral("账户管理 &A"), QStringLiteral("TfrmA_Manage"));
    base->addSeparator();
    addItem(base, QStringLiteral("收入类别 &I"), QStringLiteral("TfrmIn_Manage"));
    addItem(base, QStringLiteral("支出类别 &O"), QStringLiteral("TfrmOut_Manage"));
    addItem(base, QStringLiteral("投资分类 &T"), QStringLiteral("TfrmT_Manage"));
    base->addSeparator();
    addItem(base, QStringLiteral("提醒设置 &W"), QStringLiteral("TfrmUWarn"));
    addItem(base, QStringLiteral("排序设置 &X"), QStringLiteral("TfrmSZ_PX"));
    addItem(base, QStringLiteral("默认项设置 &M"), QStringLiteral("TfrmMRX"));

    QMenu* post = top("记账【&W】");
    addItem(post, QStringLiteral("收入 &I"), QStringLiteral("TfrmInTable"),
            QKeySequence(QStringLiteral("Ctrl+I")));
    addItem(post, QStringLiteral("支出 &O"), QStringLiteral("TfrmOutTable"),
            QKeySequence(QStringLiteral("Ctrl+O")));
    addItem(post, QStringLiteral("账户转账 &A"), QStringLiteral("TfrmChangeT"),
            QKeySequence(QStringLiteral("Ctrl+A")));
    post->addSeparator();
    addItem(post, QStringLiteral("债务 &B"), QStringLiteral("TfrmBorrow"),
            QKeySequence(QStringLiteral("Ctrl+B")));
    addItem(post, QStringLiteral("债权 &D"), QStringLiteral("TfrmDebt"),
            QKeySequence(QStringLiteral("Ctrl+D")));
    addItem(post, QStringLiteral("投资 &T"), QStringLiteral("TfrmTZ"),
            QKeySequence(QStringLiteral("Ctrl+T")));

    QMenu* plan = top("计划【&P】");
    addItem(plan, QStringLiteral("新建计划 &N"), QStringLiteral("TfrmPlan_New"));
    addItem(plan, QStringLiteral("查看计划 &V"), QStringLiteral("TfrmPlan_V"));
    addItem(plan, QStringLiteral("执行计划 &M"), QStringLiteral("TfrmPlan_EX"));
    addItem(plan, QStringLiteral("今日计划 &D"), QStringLiteral("TfrmPlan_Now"));

    QMenu* imp = top("导入【&D】");
    addItem(imp, QStringLiteral("收入导入 &I"), QStringLiteral("TfrmD_In"));
    addItem(imp, QStringLiteral("支出导入 &O"), QStringLiteral("TfrmD_Out"));
    addItem(imp, QStringLiteral("账户转账导入 &A"), QStringLiteral("TfrmD_A"));
    addItem(imp, QStringLiteral("债务导入 &B"), QStringLiteral("TfrmD_B"));
    addItem(imp, QStringLiteral("债权导入 &D"), QStringLiteral("TfrmD_D"));
    addItem(imp, QStringLiteral("投资导入 &T"), QStringLiteral("TfrmD_T"));
    imp->addSeparator();
    addItem(imp, QStringLiteral("账单导入 &W"), QStringLiteral("TfrmD_Bill"));
    addItem(imp, QStringLiteral("银行账单导入 &Y"), QStringLiteral("TfrmD_Statement"));

    QMenu* rep = top("报表中心【&R】");
    addItem(rep, QStringLiteral("账户查询 &X"), QStringLiteral("TfrmA_Q"));
    QMenu* szReports = rep->addMenu(QStringLiteral("收支报表 &F"));
    menus_.insert(QStringLiteral("收支报表 &F"), szReports);
    addItem(szReports, QStringLiteral("月报表 &M"), QStringLiteral("TfrmSZ_M"));
    addItem(szReports, QStringLiteral("年报表 &Y"), QStringLiteral("TfrmSZ_Y"));
    addItem(rep, QStringLiteral("收支统计表 &R"), QStringLiteral("TfrmPage1"));
    QMenu* analysis = rep->addMenu(QStringLiteral("收支分析 &E"));
    menus_.insert(QStringLiteral("收支分析 &E"), analysis);
    addItem(analysis, QStringLiteral("收入分析 &I"), QStringLiteral("TfrmE_I"));
    addItem(analysis, QStringLiteral("支出分析 &Q"), QStringLiteral("TfrmE_O"));
    addItem(rep, QStringLiteral("债务债权统计表 &Z"), QStringLiteral("TfrmPage2"));
    rep->addSeparator();
    addItem(rep, QStringLiteral("收入查询 &I"), QStringLiteral("TfrmP_In"));
    addItem(rep, QStringLiteral("支出查询 &O"), QStringLiteral("TfrmP_Out"));
    addItem(rep, QStringLiteral("转账查询 &A"), QStringLiteral("TfrmP_A"));
    addItem(rep, QStringLiteral("债务查询 &B"), QStringLiteral("TfrmP_B"));
    addItem(rep, QStringLiteral("债权查询 &D"), QStringLiteral("TfrmP_D"));
    addItem(rep, QStringLiteral("投资查询 &T"), QStringLiteral("TfrmTZ_Qu"));
    rep->addSeparator();
    addItem(rep, QStringLiteral("还债记录查询 &H"), QStringLiteral("TfrmBR_Q"));
    addItem(rep, QStringLiteral("收债记录查询 &S"), QStringLiteral("TfrmDR_Q"));
    addItem(rep, QStringLiteral("收益记录查询 &Y"), QStringLiteral("TfrmTR_Q"));
    rep->addSeparator();
    QMenu* inMonth = rep->addMenu(QStringLiteral("收入月报表 &C"));
    menus_.insert(QStringLiteral("收入月报表 &C"), inMonth);
    addItem(inMonth, QStringLiteral("按收入类别 &T"), QStringLiteral("InMonthByCategory"));
    addItem(inMonth, QStringLiteral("按账户名称 &A"), QStringLiteral("InMonthByAccount"));
    addItem(inMonth, QStringLiteral("按家庭成员 &F"), QStringLiteral("InMonthByMember"));
    QMenu* outMonth = rep->addMenu(QStringLiteral("支出月报表 &G"));
    menus_.insert(QStringLiteral("支出月报表 &G"), outMonth);
    addItem(outMonth, QStringLiteral("按支出类别 &T"), QStringLiteral("OutMonthByCategory"));
    addItem(outMonth, QStringLiteral("按账户名称 &A"), QStringLiteral("OutMonthByAccount"));
    addItem(outMonth, QStringLiteral("按家庭成员 &F"), QStringLiteral("OutMonthByMember"));
    rep->addSeparator();
    addItem(rep, QStringLiteral("资金流动日志 &L"), QStringLiteral("TfrmPage3"));
    addCommand(rep, QStringLiteral("导出到其它记账软件 &K"), [this] {
        LedgerExportDialog dialog(ctx_, this);
        runDialog(dialog);
    });

    QMenu* tools = top("工具【&T】");
    addCommand(tools, QStringLiteral("计算器 &P"),
               [this] { Desktop::startCalculator(&ctx_.messages); });
    addItem(tools, QStringLiteral("提醒声音设置 &S"), QStringLiteral("TfrmSound"));
    tools->addSeparator();
    addItem(tools, QStringLiteral("记事录入 &I"), QStringLiteral("TfrmUThing_In"));
    addItem(tools, QStringLiteral("记事查询 &Q"), QStringLiteral("TfrmUThing_Q"));

    QMenu* help = top("帮助【&H】");
    QAction* manual = addCommand(
        help, QStringLiteral("帮助 &H"), [this] { showHelp(); }, false);
    manual->setShortcut(QKeySequence::HelpContents);
    addCommand(
        help, QStringLiteral("在线帮助 &O"),
        [this] { Desktop::openUrl(Desktop::helpPage(), &ctx_.messages); }, false);
    addCommand(
        help, QStringLiteral("Coinwick网站 &W"),
        [this] { Desktop::openUrl(Desktop::homePage(), &ctx_.messages); }, false);
    addCommand(help, QStringLiteral("软件升级 &U"), [this] { upgrade(); });
    help->addSeparator();
    addCommand(help, QStringLiteral("关于... &A"), [this] { about(); });

    bookMenus_ = {base, post, plan, imp, rep, tools};
}

void TfrmMain::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("工具栏"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(28, 28));
    struct Button {
        const char* text;
        const char* menuText;  // the menu item it repeats; empty for 主界面
        const char* badge;
        QRgb colour;
    };
    const Button buttons[] = {
        {"家庭成员", "家庭成员 &F", "家", 0x2471a3}, {"账户管理", "账户管理 &A", "账", 0x2471a3},
        {"收入", "收入 &I", "收", 0x2e8b57},         {"支出", "支出 &O", "支", 0xc0392b},
        {"转账", "账户转账 &A", "转", 0x16a085},     {"债务", "债务 &B", "债", 0xd35400},
        {"债权", "债权 &D", "权", 0x8e44ad},         {"投资", "投资 &T", "投", 0xb7950b},
        {"新建计划", "新建计划 &N", "新", 0x5d6d7e}, {"查看计划", "查看计划 &V", "查", 0x5d6d7e},
        {"今日计划", "今日计划 &D", "今", 0x5d6d7e}, {"收支统计", "收支统计表 &R", "统", 0x34495e},
        {"帮助", "帮助 &H", "?", 0x7f8c8d},          {"主界面", "", "主", 0x1f618d},
    };
    for (const Button& b : buttons) {
        QAction* a = toolBar_->addAction(Badge::icon(QString::fromUtf8(b.badge), QColor(b.colour)),
                                         QString::fromUtf8(b.text));
        actions_.insert(QString::fromUtf8(b.text), a);
        const QString menuText = QString::fromUtf8(b.menuText);
        if (menuText.isEmpty()) {
            connect(a, &QAction::triggered, this, [this] { myfrmClose(); });
            continue;
        }
        QAction* item = actions_.value(menuText);
        connect(a, &QAction::triggered, item, &QAction::trigger);
        connect(item, &QAction::enabledChanged, a, &QAction::setEnabled);
        a->setEnabled(item->isEnabled());
    }
}

void TfrmMain::buildStatusBar() {
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel;
        status_[i]->setObjectName(QStringLiteral("status%1").arg(i));
        status_[i]->setContentsMargins(6, 0, 6, 0);
        statusBar()->addPermanentWidget(status_[i], i == 2 ? 1 : 0);
    }
    status_[0]->setText(kProgramName);
}

QString TfrmMain::statusPanel(int index) const {
    return index >= 0 && index < 3 ? status_[index]->text() : QString();
}

QAction* TfrmMain::action(const QString& text) const {
    return actions_.value(text);
}

QMenu* TfrmMain::menu(const QString& title) const {
    return menus_.value(title);
}

void TfrmMain::registerScreen(const QString& className, Screen screen) {
    screens_.insert(className, std::move(screen));
    updateAvailability();
}

QStringList TfrmMain::screenNames() const {
    QStringList names = screens_.keys();
    names.sort();
    return names;
}

// Items whose windows are not part of the program yet stay visible but disabled.
void TfrmMain::updateAvailability() {
    for (auto it = screenActions_.constBegin(); it != screenActions_.constEnd(); ++it) {
        it.value()->setEnabled(screens_.contains(it.key()));
    }
}

void TfrmMain::myShow(bool on) {
    for (QAction* a : bookFileItems_) a->setVisible(on);
    for (QMenu* m : bookMenus_) m->menuAction()->setVisible(on);
    toolBar_->setEnabled(on);
}

// ---- working windows and dialogs -------------------------------------------------------

void TfrmMain::myfrmClose() {
    if (!working_) return;
    QWidget* w = working_;
    working_ = nullptr;
    const bool refresh = workingRefresh_;
    workingClass_.clear();
    stack_->removeWidget(w);
    w->close();
    w->deleteLater();
    showDashboardFrame();
    if (refresh) mySum();
}

void TfrmMain::showDashboardFrame() {
    stack_->setCurrentWidget(dashboardView_);
    caption_->hide();
    showTitle();
}

// The open book heads the frame whatever is shown in it; a working window puts its own
// caption before the book. Once the book is closed the title keeps the name the last login
// gave it, until something clears it.
void TfrmMain::showTitle() {
    QString book = ctx_.state.myBName.isEmpty() ? titleBook_ : ctx_.state.myBName;
    if (book.isEmpty()) book = kProgramName;
    setWindowTitle(working_ ? caption_->text() + QStringLiteral(" — ") + book : book);
}

void TfrmMain::showWorking(const QString& className, QWidget* window, bool refreshOnClose) {
    working_ = window;
    workingClass_ = className;
    workingRefresh_ = refreshOnClose;
    window->setWindowFlags(Qt::Widget);
    stack_->addWidget(window);
    stack_->setCurrentWidget(window);
    caption_->setText(window->windowTitle());
    caption_->show();
    showTitle();
    // Enter runs the window's default button (its query), as it would in a dialog.
    DefaultButtonKeys::attach(window);
    // A working window that closes itself (its own exit button) hands the frame back.
    connect(window, &QObject::destroyed, this, [this, window] {
        if (working_ == window || working_.isNull()) {
            const bool refresh = workingRefresh_;
            working_ = nullptr;
            workingClass_.clear();
            showDashboardFrame();
            if (refresh) mySum();
        }
    });
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void TfrmMain::openScreen(const QString& className) {
    const auto it = screens_.constFind(className);
    if (it == screens_.constEnd()) return;
    const Screen screen = it.value();
    if (screen.checks && (!myCheckF() || !myCheckA())) return;
    myfrmClose();
    QWidget* w = screen.make(*this);
    if (!w) return;
    if (screen.kind == Screen::Working) {
        showWorking(className, w, screen.refreshOnClose);
        return;
    }
    auto* dialog = qobject_cast<QDialog*>(w);
    if (!dialog) {
        delete w;
        return;
    }
    runDialog(*dialog);
    delete dialog;
    if (screen.refreshOnClose) mySum();
}

bool TfrmMain::myCheckF() {
    const Query q = ctx_.db.query(QStringLiteral("SELECT ID FROM SFamily WHERE BName=? LIMIT 1"),
                                  ctx_.state.myBName);
    if (!q.isEmpty()) return true;
    myfrmClose();
    openScreen(QStringLiteral("TfrmFamily"));
    ctx_.messages.inform(QStringLiteral("您还没有录入 家庭成员，请先录入 家庭成员！"));
    return false;
}

bool TfrmMain::myCheckA() {
    const Query q = ctx_.db.query(QStringLiteral("SELECT ID FROM SAccount WHERE BName=? LIMIT 1"),
                                  ctx_.state.myBName);
    if (!q.isEmpty()) return true;
    myfrmClose();
    openScreen(QStringLiteral("TfrmA_Manage"));
    ctx_.messages.inform(QStringLiteral("您还没有录入 账户名称，请先录入 账户名称！"));
    return false;
}

void TfrmMain::myA(const QString& accountType) {
    if (ctx_.state.myBName.isEmpty()) return;
    openScreen(QStringLiteral("TfrmA_Q"));
    if (auto* query = qobject_cast<ReportScreen*>(working_)) {
        query->preset(FilterKey::AccountType, accountType);
    }
}

// ---- commands --------------------------------------------------------------------------

void TfrmMain::newBook() {
    const Query q = ctx_.db.query(QStringLiteral("SELECT count(*) AS n FROM SBook"));
    openScreen(q.integer(QStringLiteral("n")) == 0 ? QStringLiteral("TfrmNewBook")
                                                   : QStringLiteral("TfrmNewBook1"));
}

void TfrmMain::closeBook() {
    // The caption keeps the closed book's name; its defaults stay until the next login.
    TfrmOpenBook::closeBook(ctx_);
}

void TfrmMain::printSetup() {
    // The printer every report preview prints on.
    QPageSetupDialog dialog(&ReportPreview::printer(), this);
    runDialog(dialog);
}

void TfrmMain::upgrade() {
    const QString updater = folder_.path(QStringLiteral("Update.exe"));
    if (QFile::exists(updater)) {
        if (Desktop::startProgram(updater, {}, &ctx_.messages)) endProgram();
        return;
    }
    ctx_.messages.inform(QStringLiteral("Update.exe 不存在，请下载后，解压到 Coinwick 文件夹里。"));
    Desktop::openUrl(Desktop::updateArchive(), &ctx_.messages);
}

void TfrmMain::about() {
    TfrmAbout box(ctx_.state.myVersion, this);
    runDialog(box);
}

void TfrmMain::showHelp() {
    if (!help_) {
        const QString index = HelpManual::index();
        if (index.isEmpty()) {
            ctx_.messages.warn(QStringLiteral("找不到帮助文件，请重新安装 Coinwick。"));
            return;
        }
        help_ = new HelpWindow(index, this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void TfrmMain::endProgram() {
    ending_ = true;
    close();
    QApplication::exit(0);
}

// ---- start, first show, exit -----------------------------------------------------------

void TfrmMain::FormCreate() {
    myShow(false);
    const Query books = ctx_.db.query(QStringLiteral("SELECT count(*) AS n FROM SBook"));
    openScreen(books.integer(QStringLiteral("n")) == 0 ? QStringLiteral("TfrmNewBook")
                                                       : QStringLiteral("TfrmOpenBook"));
    folder_.updaterHousekeeping();
    folder_.ensureBackupFolder();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        if (screen->availableGeometry().height() < 630) setWindowState(Qt::WindowMaximized);
    }
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TfrmMain::FormShow() {
    // The login that ran before the first show has computed it already.
    if (!summed_) mySum();
    writeDateLine();
    const Query base = ctx_.db.query(QStringLiteral("SELECT theB FROM SBase WHERE ID=1"));
    ctx_.state.myAutoBackup = base.isEmpty() ? QString() : base.text(QStringLiteral("theB"));
    duePlans_ = countDuePlans();
    if (duePlans_ == 0) return;
    if (ctx_.state.myTX_M) playReminder();
    if (ctx_.state.myTX_T) openDuePlansWhenDrawn();
    Q_EMIT duePlansFound(duePlans_);
}

// The due plans come up over the drawn frame, not over an empty screen: once the window is
// on the screen (exposed and painted), on the next turn of the event loop.
void TfrmMain::openDuePlansWhenDrawn() {
    duePlansPending_ = true;
    QWindow* handle = windowHandle();
    if (handle && handle->isExposed()) {
        queueDuePlans();
        return;
    }
    if (!watchingExpose_) {
        if (!handle) create();
        windowHandle()->installEventFilter(this);
        watchingExpose_ = true;
    }
}

void TfrmMain::queueDuePlans() {
    if (!duePlansPending_) return;
    duePlansPending_ = false;
    QMetaObject::invokeMethod(
        this, [this] { openScreen(QStringLiteral("TfrmPlan_Now")); }, Qt::QueuedConnection);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
        queueDuePlans();
    return QMainWindow::eventFilter(watched, event);
}

int TfrmMain::countDuePlans() {
    const Query q = ctx_.db.query(
        QStringLiteral(
            "SELECT count(*) AS n FROM UPlan WHERE BName=? AND PState='否' AND PDate<=?"),
        ctx_.state.myBName, ctx_.state.myToday);
    return int(q.integer(QStringLiteral("n")));
}

void TfrmMain::playReminder() {
    const QString sound = folder_.soundFile();
    if (!QFile::exists(sound)) return;
    // A missing codec or sound device never blocks the program: the player just stays silent.
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
    }
    player_->setSource(QUrl::fromLocalFile(sound));
    player_->play();
}

void TfrmMain::writeDateLine() {
    const QDate today = QDate::fromString(ctx_.state.myTodayText, QStringLiteral("yyyy-MM-dd"));
    status_[1]->setText(LunarCalendar::dateLine(today));
}

void TfrmMain::mySum() {
    summed_ = true;
    dashboard_ = Dashboard::compute(ctx_.dm);
    dashboardView_->show(dashboard_);
    status_[2]->setText(dashboard_.statusText());
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (ending_) {
        placement_.save(*this);
        event->accept();
        return;
    }
    if (!ctx_.messages.ask(QStringLiteral("确认要退出 Coinwick记账软件 吗？  ^_^  "),
                           QStringLiteral("确认退出"), true)) {
        event->ignore();
        return;
    }
    if (ctx_.state.myAutoBackup == QStringLiteral("是")) {
        try {
            folder_.ensureBackupFolder();
            ctx_.db.backupTo(folder_.exitBackupFile(ctx_.state.myToday));
        } catch (const DbError&) {
            // A failed copy never keeps the program from ending.
        }
    }
    placement_.save(*this);
    event->accept();
}

}  // namespace cw
