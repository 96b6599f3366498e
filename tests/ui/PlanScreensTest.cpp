#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "bookkeeping/ui/PostingWarnings.h"
#include "notes/NoteBook.h"
#include "notes/ui/TfrmUThing_Q.h"
#include "plans/PlanBook.h"
#include "plans/ReminderThresholds.h"
#include "plans/ui/TfrmPlan_EX.h"
#include "plans/ui/TfrmPlan_New.h"
#include "plans/ui/TfrmPlan_Now.h"
#include "plans/ui/TfrmPlan_V.h"
#include "plans/ui/TfrmUWarn.h"
#include "plans/ui/TfrmUWarn_M.h"
#include "reports/ui/ExcelExport.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/NameComboBox.h"

using namespace cw;

namespace {

const QString kBook = QStringLiteral("我家");

// A book with a member, an account and an income category; today is 2026-12-09.
struct Fixture : test::MainFixture {
    Fixture() {
        file.addBook(kBook);
        file.dm().NewFamily(QStringLiteral("爸爸"));
        file.addAccount(QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
        file.addAccount(QStringLiteral("工行卡"), 0, QStringLiteral("爸爸"));
        file.dm().mySaveNew(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
        file.dm().mySaveNew(QStringLiteral("OutD"), QStringLiteral("OName"),
                            QStringLiteral("餐饮"));
    }

    void plan(const QString& kind, const QString& name, const QString& account, const char* from,
              const char* to) {
        PlanBook::Series s;
        s.kind = kind;
        s.name = name;
        s.amount = QStringLiteral("10");
        s.account = account;
        s.member = QStringLiteral("爸爸");
        s.from = QDate::fromString(QString::fromLatin1(from), Qt::ISODate);
        s.to = QDate::fromString(QString::fromLatin1(to), Qt::ISODate);
        QVERIFY(PlanBook(file.dm()).createSeries(s) > 0);
    }

    int rows(const QString& where) {
        return int(file.db()
                       .query(QStringLiteral("SELECT count(*) AS n FROM ") + where)
                       .integer(QStringLiteral("n")));
    }
};

// The free text takes what the other columns leave, and no more: the grid fills its view and
// the column's title stays in sight however long a text is.
void checkFreeTextColumn(QTableView* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    QCOMPARE(header->sectionResizeMode(column), QHeaderView::Stretch);
    QCOMPARE(header->length(), grid->viewport()->width());
    QVERIFY(header->sectionSize(column) > grid->viewport()->width() / 3);
    QVERIFY(header->sectionViewportPosition(column) + header->sectionSize(column) <=
            grid->viewport()->width());
}

template <typename Window>
void showAt(Window& w) {
    w.resize(1000, 500);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

}  // namespace

class PlanScreensTest : public QObject {
    Q_OBJECT
  private slots:
    void newPlanChecksInOrderAndSavesTheSeries();
    void executeWindowSkipsPlansAfterToday();
    void viewWindowDeletesWhatItListsAndExports();
    void duePlansOpenAtStartAndExecuteAll();
    void thresholdsAddRefuseDuplicatesModifyAndSwitch();
    void menuItemsAreAlive();
    void freeTextColumnsTakeTheSpareWidth();
};

void PlanScreensTest::newPlanChecksInOrderAndSavesTheSeries() {
    Fixture fx;
    TfrmPlan_New w(fx.ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("新建计划"));
    QCOMPARE(w.nameLabel()->text(), QStringLiteral("收入类别："));
    w.kindButtons()->button(3)->click();
    QCOMPARE(w.nameLabel()->text(), QStringLiteral("债  权  人："));
    w.kindButtons()->button(0)->click();

    w.nameCombo()->setText(QString());
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("请选择 收入类别！"));
    w.nameCombo()->setText(QStringLiteral("工资"));
    QTest::keyClicks(w.amountEdit(), QStringLiteral("0.-x"));
    QCOMPARE(w.amountEdit()->text(), QStringLiteral("0."));  // only digits and points
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("金额不能为空！请重新录入！"));
    QCOMPARE(w.amountEdit()->text(), QString());
    w.amountEdit()->setText(QStringLiteral("250"));
    w.accountCombo()->setText(QStringLiteral("现金"));
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("请选择 家庭成员！"));
    w.memberCombo()->setText(QStringLiteral("爸爸"));
    w.endDate()->setDate(w.startDate()->date());
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(),
             QStringLiteral("结束日期 不能小于或等于 开始日期，请重新选择日期！"));
    QCOMPARE(fx.rows(QStringLiteral("UPlan")), 0);

    // A daily series of more than 366 plans is made only on a yes; 366 are made unasked.
    w.startDate()->setDate(QDate(2000, 1, 1));
    w.endDate()->setDate(QDate(2030, 12, 31));
    w.ButSaveClick();  // answered 否
    QCOMPARE(fx.messages.entries.last().kind, QStringLiteral("ask"));
    QCOMPARE(fx.messages.last(), QStringLiteral("将生成 11323 个计划，确认要保存吗？"));
    QVERIFY(!fx.messages.entries.last().defaultYes);
    QCOMPARE(fx.rows(QStringLiteral("UPlan")), 0);
    QCOMPARE(w.result(), 0);
    w.startDate()->setDate(QDate(2024, 1, 1));
    w.endDate()->setDate(QDate(2024, 12, 31));
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("计划保存成功！"));
    QCOMPARE(fx.rows(QStringLiteral("UPlan")), 366);
    fx.file.db().exec(QStringLiteral("DELETE FROM UPlan"));
    w.setResult(0);
    w.startDate()->setDate(QDate(2026, 12, 9));

    w.monthlyDay()->setValue(25);
    w.ruleButtons()->button(2)->click();  // 每月 25 日: the end moves twelve months on
    QCOMPARE(w.endDate()->date(), QDate(2027, 12, 9));
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("计划保存成功！"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    // 365 days are 11 whole months of 30.4375 days: 12 plans from 2027-01-25.
    QCOMPARE(fx.rows(QStringLiteral("UPlan WHERE PType='收入' AND PMoney=250")), 12);
    QCOMPARE(fx.rows(QStringLiteral("UPlan WHERE PDate='2027-01-25'")), 1);
}

void PlanScreensTest::executeWindowSkipsPlansAfterToday() {
    Fixture fx;
    fx.plan(QStringLiteral("收入"), QStringLiteral("工资"), QStringLiteral("现金"), "2026-12-07",
            "2026-12-11");
    TfrmPlan_EX w(fx.ctx);
    QVERIFY(!w.thirdButton()->isEnabled());
    QCOMPARE(w.table().rowCount(), 0);  // no query at open
    w.queryButton()->click();
    QCOMPARE(w.table().rowCount(), 5);
    QCOMPARE(w.countLabel()->text(), QStringLiteral("笔数：5"));
    QCOMPARE(w.sumLabel()->text(), QStringLiteral("合计金额：50.00"));

    w.ButExecuteClick();  // answered 否
    QCOMPARE(fx.messages.entries.last().caption, QStringLiteral("执行计划"));
    QVERIFY(!fx.messages.entries.last().defaultYes);
    QCOMPARE(fx.rows(QStringLiteral("InTable")), 0);

    fx.messages.answers = {true};
    w.ButExecuteClick();
    QCOMPARE(fx.messages.texts().mid(1),
             QStringList({QStringLiteral("确认要执行全部计划吗？该执行将不可恢复！"),
                          QStringLiteral("计划执行成功！")}));
    QCOMPARE(w.progressBar()->value(), 5);
    QCOMPARE(w.table().rowCount(), 2);  // 12-10 and 12-11 stay
    QCOMPARE(fx.file.dm().balance(QStringLiteral("现金")), 130.0);
    QCOMPARE(fx.rows(QStringLiteral("UList WHERE theT='InTable' AND theE='新增'")), 3);

    // What is left lies ahead: nothing is executed, and nothing is said to have been.
    fx.messages.answers = {true};
    w.ButExecuteClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("没有要执行的计划！"));
    QCOMPARE(w.table().rowCount(), 2);
}

void PlanScreensTest::viewWindowDeletesWhatItListsAndExports() {
    Fixture fx;
    fx.plan(QStringLiteral("债权"), QStringLiteral("老王"), QStringLiteral("现金"), "2026-12-01",
            "2026-12-03");
    fx.plan(QStringLiteral("债权"), QStringLiteral("老李"), QStringLiteral("工行卡"), "2026-12-01",
            "2026-12-02");
    TfrmPlan_V w(fx.ctx);
    w.kindButtons()->button(4)->click();  // 债权 runs the query at once
    QCOMPARE(w.nameBox()->text(), QStringLiteral("债务人"));
    QCOMPARE(w.table().rowCount(), 5);
    QCOMPARE(w.table().column(2).title, QStringLiteral("债务人"));
    w.nameBox()->setChecked(true);
    w.nameCombo()->setText(QStringLiteral("老李"));
    w.queryButton()->click();
    QCOMPARE(w.table().rowCount(), 2);

    w.nameBox()->setChecked(false);
    w.accountBox()->setChecked(true);
    w.accountCombo()->setText(QStringLiteral("现金"));
    w.queryButton()->click();
    fx.messages.answers = {true};
    w.deleteAll();
    QCOMPARE(fx.messages.entries[0].caption, QStringLiteral("删除"));
    QCOMPARE(fx.messages.last(), QStringLiteral("数据删除成功！"));
    QCOMPARE(fx.rows(QStringLiteral("UPlan")), 2);  // 老李's on 工行卡 stay

    w.accountBox()->setChecked(false);
    w.queryButton()->click();
    w.grid()->selectRow(0);
    w.deleteCurrent();
    QCOMPARE(w.table().rowCount(), 1);

    ExcelExport::opener() = [](const QUrl&) { return true; };
    w.ButExcelClick();
    QVERIFY(QDir(fx.file.programDir() + QStringLiteral("/Export")).entryList(QDir::Files).size() ==
            1);
}

void PlanScreensTest::duePlansOpenAtStartAndExecuteAll() {
    Fixture fx;
    fx.plan(QStringLiteral("支出"), QStringLiteral("餐饮"), QStringLiteral("新卡"), "2026-12-08",
            "2026-12-10");
    fx.ctx.state.myTX_T = true;
    bool listed = false;
    fx.onDialog = [&](QDialog& d) {
        auto* now = qobject_cast<TfrmPlan_Now*>(&d);
        if (!now) return int(QDialog::Rejected);
        listed = now->countLabel()->text() == QStringLiteral("笔数：2");
        fx.messages.answers = {true};
        now->executeButton()->click();
        return now->result();
    };
    bool overTheFrame = false;
    fx.onDialog = [&, run = fx.onDialog](QDialog& d) {
        overTheFrame = d.parentWidget() == fx.main.get() && fx.main->isVisible() &&
                       fx.main->windowHandle()->isExposed();
        return run(d);
    };
    // The list waits until the frame is on the screen, then comes up over it.
    fx.main->show();
    QVERIFY(fx.dialogs.isEmpty());
    QTRY_COMPARE(fx.dialogs, QStringList({QStringLiteral("cw::TfrmPlan_Now")}));
    QVERIFY(overTheFrame);
    QVERIFY(listed);
    QCOMPARE(fx.messages.last(), QStringLiteral("计划执行成功！"));
    // The deleted or never-made account is created as a posting would create it.
    QCOMPARE(fx.file.dm().balance(QStringLiteral("新卡")), -20.0);
    QCOMPARE(fx.rows(QStringLiteral("UPlan WHERE PState='否'")), 1);

    // Nothing due: said so, without asking.
    TfrmPlan_Now none(fx.ctx);
    fx.messages.clear();
    none.executeButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList{QStringLiteral("没有要执行的计划！")});
}

void PlanScreensTest::thresholdsAddRefuseDuplicatesModifyAndSwitch() {
    Fixture fx;
    TfrmUWarn w(fx.ctx);
    QVERIFY(!w.saveButton()->isEnabled());
    w.newButton()->click();
    QVERIFY(w.adding());
    w.memberCombo()->setText(QStringLiteral("爸爸"));
    w.amountEdit()->setText(QStringLiteral("1000"));
    w.saveButton()->click();
    QCOMPARE(fx.messages.last(), QStringLiteral("提醒提示  不能为空！请重新录入！"));
    w.hintEdit()->setText(QStringLiteral("少吃点"));
    w.saveButton()->click();
    QVERIFY(!w.adding());
    QCOMPARE(w.grid()->rowCount(), 1);
    QCOMPARE(w.grid()->item(0, 4)->text(), QStringLiteral("启用"));

    w.newButton()->click();
    w.memberCombo()->setText(QStringLiteral("爸爸"));
    w.amountEdit()->setText(QStringLiteral("5"));
    w.hintEdit()->setText(QStringLiteral("x"));
    w.saveButton()->click();
    QCOMPARE(fx.messages.last(), QStringLiteral("提醒 添加重复！"));
    QVERIFY(w.adding());
    w.cancelButton()->click();

    // The reminder comes at exactly the threshold, and not while it is disabled.
    PostingRules rules(fx.file.dm());
    const PostingKind& out = PostingKind::expense();
    for (const char* amount : {"600", "399.99"}) {
        rules.saveNew(
            out, {QStringLiteral("2026-12-05"), QStringLiteral("餐饮"), QString::fromLatin1(amount),
                  QStringLiteral("现金"), QString(), QStringLiteral("爸爸"), QString()});
    }
    PostingWarnings warnings(fx.file.dm());
    QCOMPARE(warnings.thresholds(out).size(), size_t(1));
    QVERIFY(!warnings.reached(out, warnings.thresholds(out)[0]));
    rules.saveNew(out,
                  {QStringLiteral("2026-12-06"), QStringLiteral("餐饮"), QStringLiteral("0.01"),
                   QStringLiteral("现金"), QString(), QStringLiteral("爸爸"), QString()});
    const auto reminder = warnings.reached(out, warnings.thresholds(out)[0]);
    QVERIFY(reminder);
    QCOMPARE(reminder->hint, QStringLiteral("少吃点"));

    w.grid()->selectRow(0);
    w.setState(QStringLiteral("停用"));
    QCOMPARE(w.grid()->item(0, 4)->text(), QStringLiteral("停用"));
    QVERIFY(warnings.thresholds(out).empty());
    w.setState(QStringLiteral("启用"));
    QCOMPARE(warnings.thresholds(out).size(), size_t(1));

    w.setDialogRunner([&](QDialog& d) {
        auto& m = dynamic_cast<TfrmUWarn_M&>(d);
        m.amountEdit()->setText(QStringLiteral("2000"));
        m.hintEdit()->setText(QStringLiteral(" 省 "));
        m.saveButton()->click();
        return m.result();
    });
    w.modify();
    QCOMPARE(fx.messages.last(), QStringLiteral("提醒修改 保存成功！"));
    QCOMPARE(w.grid()->item(0, 2)->text(), QStringLiteral("2,000.00"));
    QCOMPARE(w.grid()->item(0, 3)->text(), QStringLiteral("省"));

    fx.messages.answers = {true};
    w.deleteButton()->click();
    QCOMPARE(w.grid()->rowCount(), 0);
}

void PlanScreensTest::menuItemsAreAlive() {
    Fixture fx;
    for (const char* item :
         {"新建计划 &N", "查看计划 &V", "执行计划 &M", "今日计划 &D", "提醒设置 &W"}) {
        QVERIFY2(fx.main->action(QString::fromUtf8(item))->isEnabled(), item);
    }
    fx.main->action(QStringLiteral("执行计划 &M"))->trigger();
    QCOMPARE(fx.main->workingWindowClass(), QStringLiteral("TfrmPlan_EX"));
    fx.main->action(QStringLiteral("提醒设置 &W"))->trigger();
    QCOMPARE(fx.main->workingWindowClass(), QStringLiteral("TfrmUWarn"));
    fx.main->myfrmClose();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PlanScreensTest::freeTextColumnsTakeTheSpareWidth() {
    Fixture fx;
    fx.plan(QStringLiteral("收入"), QStringLiteral("工资"), QStringLiteral("现金"), "2026-12-01",
            "2026-12-02");
    TfrmPlan_EX plans(fx.ctx);
    showAt(plans);
    plans.queryButton()->click();
    checkFreeTextColumn(plans.grid(), plans.table().columnOf(Field::Remark));
    QCOMPARE(plans.grid()->rowHeight(0), 24);  // the rows of the other lists

    QVERIFY(ReminderThresholds(fx.file.dm())
                .add(QStringLiteral("支出"), QStringLiteral("爸爸"), QStringLiteral("100"),
                     QStringLiteral("少花点"))
                .ok());
    TfrmUWarn thresholds(fx.ctx);
    showAt(thresholds);
    checkFreeTextColumn(thresholds.grid(), 3);  // 提醒提示, not 状态
    QCOMPARE(thresholds.grid()->horizontalHeader()->sectionResizeMode(4), QHeaderView::Interactive);

    NoteBook(fx.file.dm())
        .add({QStringLiteral("2026-12-01"), QStringLiteral("爸爸"), QStringLiteral("长"),
              QString(600, QChar(u'字'))});
    TfrmUThing_Q notes(fx.ctx);
    showAt(notes);
    notes.queryButton()->click();
    checkFreeTextColumn(notes.grid(), notes.table().columnOf(Field::Summary));
}

QTEST_MAIN(PlanScreensTest)
#include "PlanScreensTest.moc"
