#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "app/ui/WindowPlacement.h"
#include "files/ProgramFolder.h"
#include "reports/Dashboard.h"
#include "widgets/AppContext.h"
#include "widgets/ScreenHost.h"

class QAction;
class QDialog;
class QLabel;
class QMediaPlayer;
class QAudioOutput;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace cw {

class DashboardView;

// The frame of the program: menus, toolbar, the dashboard of the open book, the status bar,
// and one working window at a time inside it. Dialogs open modally above it. The subsystems'
// screens plug in through ScreenHost.
class TfrmMain : public QMainWindow, public ScreenHost {
    Q_OBJECT
  public:
    explicit TfrmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The start-up steps while the window is being created: hide the book menus, lead the
    // user into a book (first-book wizard or open-book dialog), updater housekeeping, the
    // backup folder, and the window size.
    void FormCreate();
    // The first show: dashboard, date line, the automatic-backup setting and the due plans.
    void FormShow();

    void mySum();
    void myfrmClose();
    bool myCheckF();
    bool myCheckA();
    void myA(const QString& accountType);
    void myShow(bool on);

    void registerScreen(const QString& className, Screen screen) override;
    // The class names of every screen plugged in, sorted.
    QStringList screenNames() const;
    // Opens a registered screen the way its menu item does.
    void openScreen(const QString& className) override;
    // Ends the program at once: no confirmation, no automatic backup.
    void endProgram();

    // Modal dialogs run through this, so tests can drive them without blocking.
    void setDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }
    int runDialog(QDialog& dialog) override { return runDialog_(dialog); }

    AppContext& context() override { return ctx_; }
    QWidget* hostWindow() override { return this; }
    const Dashboard& dashboard() const { return dashboard_; }
    DashboardView* dashboardView() const { return dashboardView_; }
    QLabel* captionLabel() const { return caption_; }
    QString statusPanel(int index) const;
    // The action of a menu item or toolbar button by its text ("收入 &I", "主界面").
    QAction* action(const QString& text) const;
    QMenu* menu(const QString& title) const;
    QToolBar* toolBar() const { return toolBar_; }
    QWidget* workingWindow() const override { return working_; }
    QString workingWindowClass() const { return workingClass_; }
    int duePlanCount() const { return duePlans_; }
    bool endedWithoutConfirmation() const { return ending_; }

  Q_SIGNALS:
    void duePlansFound(int count);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    QAction* addItem(QMenu* menu, const QString& text, const QString& screen,
                     const QKeySequence& shortcut = QKeySequence());
    QAction* addCommand(QMenu* menu, const QString& text, std::function<void()> run,
                        bool closesWorkingWindow = true);
    void updateAvailability();
    void newBook();
    void closeBook();
    void printSetup();
    void upgrade();
    void about();
    // The manual shipped with the program, in its own window (帮助 and F1).
    void showHelp();
    void writeDateLine();
    int countDuePlans();
    void playReminder();
    void showWorking(const QString& className, QWidget* window, bool refreshOnClose);
    void showDashboardFrame();
    void showTitle();
    void openDuePlansWhenDrawn();
    void queueDuePlans();

    AppContext& ctx_;
    ProgramFolder folder_;
    WindowPlacement placement_;
    QString titleBook_;  // the book the last login named; the title once it is closed
    Dashboard dashboard_;
    DashboardView* dashboardView_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QLabel* caption_ = nullptr;  // the working window's caption, above it
    bool summed_ = false;        // the dashboard has been computed at least once
    QToolBar* toolBar_ = nullptr;
    QLabel* status_[3] = {nullptr, nullptr, nullptr};
    QList<QMenu*> bookMenus_;        // 基础设置 … 工具
    QList<QAction*> bookFileItems_;  // 关闭账簿 … 数据恢复 and their separators
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QMultiHash<QString, QAction*> screenActions_;  // actions bound to a screen class
    QHash<QString, Screen> screens_;
    QPointer<QWidget> working_;
    QPointer<QWidget> help_;
    QString workingClass_;
    bool workingRefresh_ = false;
    bool shown_ = false;
    bool ending_ = false;
    int duePlans_ = 0;
    bool duePlansPending_ = false;  // the due-plans window waits for the frame to be drawn
    bool watchingExpose_ = false;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    std::function<int(QDialog&)> runDialog_;
};

}  // namespace cw
