#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "plans/ui/PlanListScreen.h"
#include "reference/ui/ManagerScreen.h"
#include "reports/QueryReports.h"
#include "reports/ReportCatalog.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/QueryScreen.h"
#include "reports/ui/ReportTableModel.h"
#include "reports/ui/TfrmPage3.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/DefaultButtonKeys.h"
#include "widgets/NameComboBox.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

// A book (today 2026-12-09) with income in and out of the last month, two debts with
// repayments and a small journal; the spreadsheet opener records instead of opening.
struct Book {
    test::MainFixture fx;
    QList<QUrl> opened;

    Book() {
        fx.file.addBook(QStringLiteral("我家"));
        fx.file.dm().NewFamily(QStringLiteral("爸爸"));
        fx.file.dm().NewFamily(QStringLiteral("妈妈"));
        fx.file.dm().NewAccount(QStringLiteral("钱包"), QStringLiteral("妈妈"));
        fx.file.dm().NewAccount(QStringLiteral("银行卡"), QStringLiteral("爸爸"));
        Database& db = fx.file.db();
        db.exec(
            QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName,Remark) VALUES"
                           "('我家','2026-11-09','工资',5000,'银行卡','爸爸','十一月'),"
                           "('我家','2026-12-01','奖金',800.5,'钱包','妈妈',''),"
                           "('我家','2026-11-08','工资',4000,'银行卡','爸爸','太早')"));
        db.exec(
            QStringLiteral("INSERT INTO Borrow(BName,BDate,BPro,BMoney,AName,FName) VALUES"
                           "('我家','2026-12-01','老王',500,'钱包','爸爸'),"
                           "('我家','2026-12-02','老李',9000,'银行卡','爸爸')"));
        db.exec(
            QStringLiteral("INSERT INTO BorrowR(BName,BID,RDate,RMoney,AName,FName) VALUES"
                           "('我家',2,'2026-12-05',1000,'银行卡','爸爸'),"
                           "('我家',2,'2026-12-07',2000,'钱包','妈妈'),"
                           "('我家',1,'2026-12-06',100,'钱包','妈妈')"));
        db.exec(QStringLiteral(
            "INSERT INTO UList(BName,theDate,theType,Remark,theIn,theOut,AName,AMoney,FName,theE)"
            " VALUES('我家','2026-12-01','工资','',100,0,'银行卡',0,'爸爸','新增'),"
            "('我家','2026-12-03','餐饮','午饭',0,30,'银行卡',0,'爸爸','新增'),"
            "('我家','2026-12-02','奖金','',999,0,'钱包',0,'妈妈','新增'),"
            "('我家','2026-12-04','利息','',50,0,'银行卡',0,'爸爸','新增')"));
        ExcelExport::opener() = [this](const QUrl& url) {
            opened << url;
            return true;
        };
    }
    ~Book() {
        ExcelExport::opener() = [](const QUrl&) { return false; };
        fx.main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T>
    T* open(const QString& item) {
        fx.main->action(item)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<T*>(fx.main->workingWindow());
    }
};

QStringList column(const ReportTableModel* m, int c) {
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
    return out;
}

QStringList gridColumn(QueryGrid* g, const QString& name) {
    QStringList out;
    for (int r = 0; r < g->gridModel()->rowCount(); ++r) out << g->gridModel()->textAt(r, name);
    return out;
}

}  // namespace

class QueryScreensTest : public QObject {
    Q_OBJECT

  private slots:
    void incomeQueryFiltersSortsAndExports();
    void debtRowsShowTheirRepayments();
    void everyMenuItemOpensItsScreen();
    void logFiltersTotalsAndMenu();
    void logCorrections();
    void logOpensFromTheManagers();
    void everyQueryWindowStartsClearAndRunsOnEnter();
};

void QueryScreensTest::incomeQueryFiltersSortsAndExports() {
    Book b;
    auto* s = b.open<QueryScreen>(QStringLiteral("收入查询 &I"));
    QVERIFY(s);
    QCOMPARE(s->windowTitle(), QStringLiteral("收入查询"));
    QVERIFY(s->datesBox()->isChecked());
    QCOMPARE(s->datesBox()->text(), QStringLiteral("收入日期"));
    QCOMPARE(s->fromPicker()->date(), QDate(2026, 11, 9));
    QVERIFY(!s->excelButton()->isEnabled());
    QCOMPARE(s->sortBox()->count(), 5);
    QCOMPARE(s->sortBox()->currentText(), QStringLiteral("日期"));
    QVERIFY(!s->sortBox()->isEditable());
    QVERIFY(!s->detailGrid());

    s->window()->resize(1200, 760);
    s->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(s->window()));
    s->runButton()->click();
    QCOMPARE(column(s->model(), 0), (QStringList{"2026-11-09", "2026-12-01"}));
    // The remark takes the width the other columns leave; the list fills its window.
    QHeaderView* header = s->grid()->horizontalHeader();
    const int remark = s->model()->columnCount() - 1;
    QCOMPARE(s->model()->headerData(remark, Qt::Horizontal).toString(), QStringLiteral("备注"));
    QCOMPARE(header->sectionResizeMode(remark), QHeaderView::Stretch);
    QCOMPARE(header->sectionResizeMode(0), QHeaderView::Interactive);
    QCOMPARE(header->length(), s->grid()->viewport()->width());
    QCOMPARE(s->statusTexts(), (QStringList{"笔数：2", "合计金额：5,800.50"}));
    QVERIFY(s->excelButton()->isEnabled());
    QVERIFY(s->printButton()->isEnabled());

    s->sortBox()->setCurrentText(QStringLiteral("金额"));
    s->directionBox()->setCurrentText(QStringLiteral("降序"));
    s->datesBox()->setChecked(false);
    s->runButton()->click();
    QCOMPARE(column(s->model(), 2), (QStringList{"5,000.00", "4,000.00", "800.50"}));

    auto* account = qobject_cast<QComboBox*>(s->filterField(FilterKey::Account));
    account->setCurrentText(QStringLiteral("钱包"));
    emit account->activated(account->currentIndex());
    QVERIFY(s->filterBox(FilterKey::Account)->isChecked());
    s->runButton()->click();
    QCOMPARE(s->statusTexts(), (QStringList{"笔数：1", "合计金额：800.50"}));

    s->excelButton()->click();
    QCOMPARE(b.opened.size(), 1);
    QVERIFY(
        QFileInfo(b.opened[0].toLocalFile()).fileName().startsWith(QStringLiteral("我家-收入表")));
    s->printButton()->click();
    QCOMPARE(b.fx.dialogs, QStringList{"QPrintPreviewDialog"});
}

void QueryScreensTest::debtRowsShowTheirRepayments() {
    Book b;
    auto* s = b.open<QueryScreen>(QStringLiteral("债务查询 &B"));
    QVERIFY(s && s->detailGrid());
    s->sortBox()->setCurrentText(QStringLiteral("金额"));
    s->directionBox()->setCurrentIndex(1);
    s->runButton()->click();
    QCOMPARE(column(s->model(), 1), (QStringList{"老李", "老王"}));
    QCOMPARE(s->detailModel()->rowCount(), 0);
    s->showDetail(0);
    QCOMPARE(column(s->detailModel(), 0), (QStringList{"2026-12-07", "2026-12-05"}));
    emit s->grid()->clicked(s->model()->index(1, 0));
    QCOMPARE(column(s->detailModel(), 1), (QStringList{"100.00"}));
    // A new run keeps the records shown until the next click.
    s->runButton()->click();
    QCOMPARE(s->detailModel()->rowCount(), 1);
}

void QueryScreensTest::everyMenuItemOpensItsScreen() {
    Book b;
    const QList<std::pair<const char*, const char*>> items{
        {"支出查询 &O", "支出查询"},         {"转账查询 &A", "转帐查询"},
        {"债权查询 &D", "债权查询"},         {"投资查询 &T", "投资查询"},
        {"还债记录查询 &H", "还债记录查询"}, {"收债记录查询 &S", "收债记录查询"},
        {"收益记录查询 &Y", "收益记录查询"}};
    for (const auto& [item, caption] : items) {
        auto* s = b.open<QueryScreen>(QString::fromUtf8(item));
        QVERIFY2(s, item);
        QCOMPARE(s->windowTitle(), QString::fromUtf8(caption));
        s->runButton()->click();
        QVERIFY(s->excelButton()->isEnabled());
        QVERIFY(b.fx.messages.entries.isEmpty());
    }
    auto* transfers = b.open<QueryScreen>(QStringLiteral("转账查询 &A"));
    QVERIFY(!transfers->sortBox());
    auto* repay = b.open<QueryScreen>(QStringLiteral("还债记录查询 &H"));
    QVERIFY(repay->printButton()->isHidden());
    repay->runButton()->click();
    QCOMPARE(repay->statusTexts(), (QStringList{"笔数：3", "合计金额：3,100.00"}));
}

void QueryScreensTest::logFiltersTotalsAndMenu() {
    Book b;
    auto* log = b.open<TfrmPage3>(QStringLiteral("资金流动日志 &L"));
    QVERIFY(log);
    QCOMPARE(log->windowTitle(), QStringLiteral("资金流动日志"));
    QVERIFY(!log->menuAttached());
    QVERIFY(!log->excelButton()->isEnabled());
    QCOMPARE(log->grid()->gridModel()->rowCount(), 0);

    log->ButQueryClick();
    QVERIFY(log->menuAttached());
    QCOMPARE(gridColumn(log->grid(), QStringLiteral("日期")),
             (QStringList{"2026-12-01", "2026-12-03", "2026-12-02", "2026-12-04"}));
    QTRY_COMPARE(log->statusTexts(),
                 (QStringList{"记录：4", "收入合计：1,149.00", "支出合计：30.00"}));
    QStringList menu;
    for (QAction* a : log->popup()->actions()) menu << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(menu, (QStringList{"删除当前选中日志 &D", "-", "删除所有日志 &A", "-", "修改日志 &M",
                                "重新计算本次余额 &J"}));

    log->sortCheck()->setChecked(true);
    log->sortBox()->setCurrentText(QStringLiteral("本次余额"));
    log->remarkEdit()->setText(QStringLiteral("午"));
    QVERIFY(log->box(FilterKey::Remark)->isChecked());
    log->ButQueryClick();
    QTRY_COMPARE(log->statusTexts(), (QStringList{"记录：1", "收入合计：0.00", "支出合计：30.00"}));

    log->excelButton()->click();
    QCOMPARE(b.opened.size(), 1);
    QVERIFY(
        QFileInfo(b.opened[0].toLocalFile()).fileName().contains(QStringLiteral("资金流动日志")));
}

void QueryScreensTest::logCorrections() {
    Book b;
    auto* log = b.open<TfrmPage3>(QStringLiteral("资金流动日志 &L"));
    log->ButQueryClick();

    // Recompute needs an account; then rewrites that account's rows only, in the shown order.
    log->RecomputeClick();
    QCOMPARE(b.fx.messages.last(), QStringLiteral("请选择 账户名称！"));
    log->accountBox()->setCurrentText(QStringLiteral("银行卡"));
    log->sortCheck()->setChecked(true);
    log->RecomputeClick();
    QCOMPARE(gridColumn(log->grid(), QStringLiteral("本次余额")),
             (QStringList{"100", "0", "70", "120"}));

    // Edit: the dialog fills from the row, refuses a non-number, saves an empty amount as 0.
    int step = 0;
    QString typeShown;
    b.fx.onDialog = [&](QDialog& d) {
        auto* m = qobject_cast<TfrmPage3_M*>(&d);
        if (!m) return int(QDialog::Rejected);
        if (step++ == 0) typeShown = m->typeEdit()->text();
        m->remarkEdit()->setText(QStringLiteral("it's"));
        m->inEdit()->setText(QString());
        m->ButSaveClick();
        return d.result();
    };
    log->grid()->selectRow(0);
    log->EditClick();
    QCOMPARE(typeShown, QStringLiteral("工资"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("资金流动日志 修改成功！"));
    QCOMPARE(log->grid()->gridModel()->textAt(0, QStringLiteral("摘要")), QStringLiteral("it's"));
    QCOMPARE(log->grid()->gridModel()->textAt(0, QStringLiteral("收入")), QStringLiteral("0"));

    // Delete asks first; No leaves the journal as it was.
    const int before = b.fx.file.count(QStringLiteral("UList"));
    log->DeleteOneClick();
    QCOMPARE(b.fx.messages.entries.last().kind, QStringLiteral("ask"));
    QCOMPARE(b.fx.file.count(QStringLiteral("UList")), before);
    b.fx.messages.answers = {true};
    log->DeleteOneClick();
    QCOMPARE(b.fx.file.count(QStringLiteral("UList")), before - 1);
    log->accountBox()->setCurrentText(QStringLiteral("钱包"));
    emit log->accountBox()->activated(log->accountBox()->currentIndex());
    log->ButQueryClick();
    b.fx.messages.answers = {true};
    log->DeleteAllClick();
    QCOMPARE(b.fx.file.count(QStringLiteral("UList")), before - 2);
    QTRY_COMPARE(log->statusTexts().first(), QStringLiteral("记录：0"));
    QCOMPARE(b.fx.file.count(QStringLiteral("InTable")), 3);  // postings untouched
}

void QueryScreensTest::logOpensFromTheManagers() {
    Book b;
    b.fx.main->openScreen(QStringLiteral("TfrmA_Manage"));
    auto* accounts = qobject_cast<ManagerScreen*>(b.fx.main->workingWindow());
    QVERIFY(accounts);
    accounts->grid()->selectRow(1);
    const QString name = accounts->grid()->gridModel()->textAt(1, QStringLiteral("账户名称"));
    accounts->commandAction(ManagerScreen::Command::ViewLog)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* log = qobject_cast<TfrmPage3*>(b.fx.main->workingWindow());
    QVERIFY(log);
    QVERIFY(log->box(FilterKey::Account)->isChecked());
    QCOMPARE(log->accountBox()->currentText(), name);
    QVERIFY(!log->menuAttached());
    for (const QString& a : gridColumn(log->grid(), QStringLiteral("账户名称"))) QCOMPARE(a, name);
    QVERIFY(log->grid()->gridModel()->rowCount() > 0);

    b.fx.main->openScreen(QStringLiteral("TfrmFamily"));
    auto* family = qobject_cast<ManagerScreen*>(b.fx.main->workingWindow());
    QVERIFY(family);
    family->grid()->selectRow(0);
    const QString member = family->grid()->gridModel()->textAt(0, QStringLiteral("姓名"));
    emit family->grid()->rowDoubleClicked(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    log = qobject_cast<TfrmPage3*>(b.fx.main->workingWindow());
    QVERIFY(log);
    QCOMPARE(log->condition().value(FilterKey::Member), member);
}

void QueryScreensTest::everyQueryWindowStartsClearAndRunsOnEnter() {
    Book b;
    QStringList screens{"TfrmPage3", "TfrmPlan_V", "TfrmPlan_EX", "TfrmUThing_Q"};
    for (const ReportDefinition& d : ReportCatalog::all()) screens << d.screen;
    for (const QueryDefinition& q : QueryReports::all()) screens << q.report.screen;
    for (const QString& screen : screens) {
        b.fx.main->openScreen(screen);
        QWidget* w = b.fx.main->workingWindow();
        QVERIFY2(w, qPrintable(screen));

        // A filter not ticked shows no value, which would read as a filter in force.
        if (auto* r = qobject_cast<ReportScreen*>(w)) {
            for (const ReportDefinition::FilterField& f : r->definition().filters) {
                QVERIFY(!r->filterBox(f.key)->isChecked());
                QWidget* field = r->filterField(f.key);
                const QString shown = qobject_cast<QComboBox*>(field)
                                          ? qobject_cast<QComboBox*>(field)->currentText()
                                          : qobject_cast<QLineEdit*>(field)->text();
                QVERIFY2(shown.isEmpty(), qPrintable(screen + ": " + f.label + " " + shown));
            }
        }
        if (auto* p = qobject_cast<PlanListScreen*>(w)) {
            for (NameComboBox* c : {p->nameCombo(), p->accountCombo(), p->memberCombo()})
                QVERIFY2(c->text().isEmpty(), qPrintable(screen));
        }

        // Enter in a date, a line, a check box or a drop-down runs the query.
        QPushButton* run = DefaultButtonKeys::defaultButton(w);
        QVERIFY2(run, qPrintable(screen));
        QSignalSpy runs(run, &QPushButton::clicked);
        int fields = 0;
        const auto enterIn = [&]<typename Input>(Input*) {
            for (Input* f : w->findChildren<Input*>()) {
                if (!f->isVisibleTo(w) || !f->isEnabled()) continue;
                QTest::keyClick(f, Qt::Key_Return);
                QVERIFY2(runs.count() == ++fields, qPrintable(screen));
                return;
            }
        };
        enterIn(static_cast<QDateEdit*>(nullptr));
        enterIn(static_cast<QLineEdit*>(nullptr));
        enterIn(static_cast<QCheckBox*>(nullptr));
        enterIn(static_cast<QComboBox*>(nullptr));
        QVERIFY2(fields >= 2, qPrintable(screen));
    }
    b.fx.main->openScreen("TfrmP_In");
    auto* income = qobject_cast<ReportScreen*>(b.fx.main->workingWindow());
    QTest::keyClick(income->fromPicker(), Qt::Key_Enter);
    QCOMPARE(income->statusTexts(), (QStringList{"笔数：2", "合计金额：5,800.50"}));
}

QTEST_MAIN(QueryScreensTest)
#include "QueryScreensTest.moc"
