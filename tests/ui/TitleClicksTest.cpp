#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "bookkeeping/PostingRules.h"
#include "bookkeeping/SubPostingRules.h"
#include "bookkeeping/ui/SettledPostingScreen.h"
#include "notes/NoteBook.h"
#include "plans/PlanBook.h"
#include "reference/ui/ManagerScreen.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/TfrmPage3.h"
#include "ui/support/MainFixture.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

// A book (today 2026-12-09) with postings of every kind, a settlement and a change under each
// debt, credit and investment, an open plan and a note; every window and every dialog the
// main window runs gets its lists filled and every title clicked.
struct Book : test::MainFixture {
    Book() {
        file.addBook(QStringLiteral("我家"));
        TfrmDM& dm = file.dm();
        dm.NewFamily(QStringLiteral("爸爸"));
        dm.NewFamily(QStringLiteral("妈妈"));
        dm.NewAccount(QStringLiteral("钱包"), QStringLiteral("妈妈"));
        dm.NewAccount(QStringLiteral("银行卡"), QStringLiteral("爸爸"));
        post();
        PlanBook::Series plan;
        plan.name = QStringLiteral("工资");
        plan.amount = QStringLiteral("100");
        plan.account = QStringLiteral("钱包");
        plan.member = QStringLiteral("妈妈");
        plan.from = QDate(2026, 12, 1);
        plan.to = QDate(2026, 12, 3);
        PlanBook(dm).createSeries(plan);
        NoteBook(dm).add({QStringLiteral("2026-12-08"), QStringLiteral("爸爸"),
                          QStringLiteral("交电费"), QStringLiteral("月底前")});
        // The month reports write their workbook at once; nothing opens it here.
        ExcelExport::opener() = [](const QUrl&) { return true; };
        onDialog = [this](QDialog& d) {
            exercise(d);
            d.hide();
            return int(QDialog::Rejected);
        };
        main->resize(1200, 760);
        main->show();
    }
    ~Book() {
        ExcelExport::opener() = [](const QUrl&) { return false; };
        onDialog = nullptr;
        main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void post() {
        using P = PostingRules::Posting;
        using E = SubPostingRules::Entry;
        using K = PostingKind;
        PostingRules rules(file.dm());
        SubPostingRules subs(file.dm());
        rules.saveNew(K::income(), P{"2026-12-01", "工资", "5000", "银行卡", "", "爸爸", "月薪"});
        rules.saveNew(K::expense(), P{"2026-12-02", "餐饮", "30.5", "钱包", "", "妈妈", "午饭"});
        rules.saveNew(K::transfer(), P{"2026-12-03", "", "500", "银行卡", "钱包", "爸爸", ""});
        const qint64 debt =
            rules.saveNew(K::debt(), P{"2026-12-04", "老王", "1000", "银行卡", "", "爸爸", ""});
        const qint64 credit =
            rules.saveNew(K::credit(), P{"2026-12-05", "老李", "800", "钱包", "", "妈妈", ""});
        const qint64 fund = rules.saveNew(
            K::investment(), P{"2026-12-06", "基金", "2000", "银行卡", "", "爸爸", ""});
        subs.settle(K::debt(), debt, E{"2026-12-07", "400", "", "银行卡", "爸爸", ""});
        subs.settle(K::credit(), credit, E{"2026-12-07", "300", "", "钱包", "妈妈", ""});
        subs.settle(K::investment(), fund, E{"2026-12-08", "500", "50", "银行卡", "爸爸", ""});
        const E change{"2026-12-08", "100", "", "钱包", "妈妈", ""};
        subs.change(K::debt(), SubPostingRules::Change::Increase, debt, change);
        subs.change(K::credit(), SubPostingRules::Change::Decrease, credit, change);
        subs.change(K::investment(), SubPostingRules::Change::Increase, fund, change);
    }

    // Fills the window's lists as a user would (its 查询 or 统计 button, the records windows of
    // a debt, credit or investment), then clicks every column title twice: both directions.
    void exercise(QWidget& window) {
        exercised << QString::fromUtf8(window.metaObject()->className());
        window.show();
        for (QPushButton* b : window.findChildren<QPushButton*>()) {
            const QString caption = b->text().remove(QLatin1Char('&'));
            const bool runs = caption.startsWith(QStringLiteral("查询")) ||
                              caption.startsWith(QStringLiteral("统计"));
            if (runs && b->isEnabled() && b->isVisibleTo(&window)) b->click();
        }
        if (auto* settled = qobject_cast<SettledPostingScreen*>(&window)) {
            settled->grid()->selectRow(0);
            for (QAction* a : {settled->settlementsAction(), settled->changesAction()})
                a->trigger();
        }
        for (QHeaderView* header : window.findChildren<QHeaderView*>()) {
            if (header->isVisibleTo(&window)) clickTitles(header);
        }
    }

    static void clickTitles(QHeaderView* header) {
        for (int visual = 0; visual < header->count(); ++visual) {
            const int section = header->logicalIndex(visual);
            if (header->isSectionHidden(section) || header->sectionSize(section) < 4) continue;
            for (int click = 0; click < 2; ++click) {
                const int middle =
                    header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
                const QPoint at = header->orientation() == Qt::Horizontal
                                      ? QPoint(middle, header->height() / 2)
                                      : QPoint(header->width() / 2, middle);
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
            }
        }
    }

    // Opens a screen from the main window; a working window is exercised in its frame, a
    // dialog through the dialog runner.
    void open(const QString& className) {
        main->openScreen(className);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (QWidget* w = main->workingWindow()) exercise(*w);
    }

    QStringList exercised;  // class names of the windows and dialogs, in order
};

}  // namespace

class TitleClicksTest : public QObject {
    Q_OBJECT

  private slots:
    void everyScreenSortsByEveryTitle();
    void logOpenedFromTheAccountsSortsByEveryTitle();
};

void TitleClicksTest::everyScreenSortsByEveryTitle() {
    Book b;
    for (const QString& screen : b.main->screenNames()) b.open(screen);
    for (const char* window : {"cw::TfrmPage3", "cw::TfrmBList", "cw::PostingQueryDialog",
                               "cw::TfrmOpenBook", "cw::ManagerScreen"})
        QVERIFY2(b.exercised.contains(QString::fromUtf8(window)), window);
}

void TitleClicksTest::logOpenedFromTheAccountsSortsByEveryTitle() {
    Book b;
    b.main->openScreen(QStringLiteral("TfrmA_Manage"));
    auto* accounts = qobject_cast<ManagerScreen*>(b.main->workingWindow());
    QVERIFY(accounts);
    accounts->grid()->selectRow(0);
    accounts->commandAction(ManagerScreen::Command::ViewLog)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPointer<TfrmPage3> log = qobject_cast<TfrmPage3*>(b.main->workingWindow());
    QVERIFY(log);
    const QueryGridModel* rows = log->grid()->gridModel();
    const QString account = log->accountBox()->currentText();
    const auto listed = [&] {
        QStringList out;
        for (int r = 0; r < rows->rowCount(); ++r)
            out << rows->textAt(r, QStringLiteral("账户名称"));
        return out;
    };
    const QStringList before = listed();
    QVERIFY(before.size() > 1);
    QCOMPARE(before.count(account), before.size());
    // Sorted by any title, the log still lists that account's rows, and only those.
    Book::clickTitles(log->grid()->horizontalHeader());
    QVERIFY(log);
    QCOMPARE(listed(), before);
}

QTEST_MAIN(TitleClicksTest)
#include "TitleClicksTest.moc"
