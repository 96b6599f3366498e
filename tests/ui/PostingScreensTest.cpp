#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/ui/DashboardView.h"
#include "bookkeeping/ui/BookkeepingScreens.h"
#include "bookkeeping/ui/PostingQueryDialog.h"
#include "bookkeeping/ui/PostingScreen.h"
#include "bookkeeping/ui/TfrmTXMes.h"
#include "storage/Money.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/MoneyEdit.h"
#include "widgets/NameComboBox.h"
#include "widgets/Navigator.h"
#include "widgets/QueryGrid.h"

using namespace cw;
using Field = PostingLayout::Field;

namespace {

const QString kBook = QStringLiteral("我家账簿");
const QString kToday = QStringLiteral("2026-12-09");

// Typed key by key: keyClicks cannot send Chinese characters.
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A book with two members, two accounts with opening balances and a few categories, its
// defaults set, and the posting screens plugged into the main window.
struct Book {
    test::MainFixture fx;
    PostingScreen* screen = nullptr;

    Book() {
        fx.file.addBook(kBook);
        TfrmDM& dm = fx.file.dm();
        dm.NewFamily(QStringLiteral("爸爸"));
        dm.NewFamily(QStringLiteral("妈妈"));
        fx.file.addAccount(QStringLiteral("钱包"), 1000, QStringLiteral("爸爸"));
        fx.file.addAccount(QStringLiteral("银行卡"), 5000, QStringLiteral("妈妈"));
        for (const char* name : {"工资", "奖金"}) dm.mySaveNew("InD", "IName", name);
        for (const char* name : {"餐饮", "交通"}) dm.mySaveNew("OutD", "OName", name);
        GlobalState& s = fx.file.state();
        s.myFName = QStringLiteral("爸爸");
        s.myAName = QStringLiteral("钱包");
        s.myIName = QStringLiteral("工资");
        s.myOName = QStringLiteral("餐饮");
        registerBookkeepingScreens(*fx.main);
    }

    // The main window must not go with a working window still inside it.
    ~Book() {
        if (fx.main) fx.main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    PostingScreen* open(const QString& className) {
        fx.main->openScreen(className);
        screen = qobject_cast<PostingScreen*>(fx.main->workingWindow());
        return screen;
    }

    double balance(const QString& account) { return fx.file.dm().balance(account); }
    qint64 lastJournal() {
        return fx.file.db()
            .query(QStringLiteral("SELECT coalesce(max(ID),0) AS n FROM UList"))
            .integer(QStringLiteral("n"));
    }
    // Every column of the journal rows written after `after`, one line each.
    QStringList journalSince(qint64 after) {
        Query q = fx.file.db().query(
            QStringLiteral("SELECT theDate,theType,Remark,theIn,theOut,AName,AMoney,FName,BName,"
                           "theT,theID,theE FROM UList WHERE ID>? ORDER BY ID"),
            after);
        QStringList rows;
        for (q.first(); !q.eof(); q.next()) {
            rows << QStringList{q.text("theDate"),
                                q.text("theType"),
                                q.text("Remark"),
                                Money::plain(q.number("theIn")),
                                Money::plain(q.number("theOut")),
                                q.text("AName"),
                                Money::plain(q.number("AMoney")),
                                q.text("FName"),
                                q.text("BName"),
                                q.text("theT"),
                                QString::number(q.integer("theID")),
                                q.text("theE")}
                        .join(QStringLiteral(" | "));
        }
        return rows;
    }
    int rows(const QString& table) { return fx.file.count(table); }

    // New, the fields given, Save.
    void post(const QString& date, const QString& name, const QString& amount,
              const QString& account, const QString& member, const QString& remark = {},
              const QString& target = {}) {
        screen->newButton()->click();
        fill(date, name, amount, account, member, remark, target);
        screen->saveNewButton()->click();
    }
    void fill(const QString& date, const QString& name, const QString& amount,
              const QString& account, const QString& member, const QString& remark = {},
              const QString& target = {}) {
        if (!date.isEmpty()) screen->datePicker()->setText(date);
        if (NameComboBox* box = screen->nameBox(Field::Name)) box->setText(name);
        screen->nameBox(Field::Account)->setText(account);
        if (NameComboBox* box = screen->nameBox(Field::Target)) box->setText(target);
        screen->nameBox(Field::Member)->setText(member);
        screen->amountEdit()->setText(amount);
        screen->remarkEdit()->setText(remark);
    }
    // Saves with every field empty, then mends one field after each refusal: the messages in
    // the order the checks gave them.
    QStringList checksInOrder(QPushButton* save, const std::vector<std::function<void()>>& mends) {
        fill({}, {}, {}, {}, {});
        QStringList seen;
        for (const auto& mend : mends) {
            fx.messages.clear();
            save->click();
            seen << fx.messages.last();
            mend();
        }
        return seen;
    }
    qint64 idOf(const QString& table, const QString& where = QStringLiteral("1")) {
        return fx.file.db()
            .query(QStringLiteral("SELECT max(ID) AS n FROM %1 WHERE %2").arg(table, where))
            .integer(QStringLiteral("n"));
    }
    QString footer() {
        screen = qobject_cast<PostingScreen*>(fx.main->workingWindow());
        return screen->countLabel()->text() + QLatin1Char('/') + screen->sumLabel()->text();
    }
};

QString row(const QString& date, const QString& type, const QString& remark, const QString& in,
            const QString& out, const QString& account, const QString& after, const QString& member,
            const QString& table, qint64 id, const QString& event) {
    return QStringList{
        date, type, remark, in, out, account, after, member, kBook, table, QString::number(id),
        event}
        .join(QStringLiteral(" | "));
}

}  // namespace

class PostingScreensTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void screensOpenFromTheMenuWithTheirWords();
    void buttonStatesFollowTheMode();
    void incomeChecksInOrder();
    void expenseChecksWordTheChangeDifferently();
    void transferChecksInOrder();
    void incomeSaveEditDelete();
    void expenseMirrorsIncome();
    void transferMovesTwoAccounts();
    void namesTypedThatTheBookLacksAreCreated();
    void zeroAndNegativeAmounts();
    void deleteAllFollowsTheFilter();
    void filtersFooterAndTitleSort();
    void nameTitlesSortInPinyinWithTiesInListOrder();
    void queryDialogsReplaceTheFilter();
    void expenseCapWarning();
    void reminderAtTheThreshold();
    void closingRecomputesTheDashboard();
    void anEditOfARowChangedMeanwhileIsRefused();
    void keysOfTheEntryPanel();
    void theWorkingCaptionIsShown();
    void theFrameGoesWithAWorkingWindowOpen();
};

// Quitting with a posting screen open destroys the frame with the window still inside it.
void PostingScreensTest::theFrameGoesWithAWorkingWindowOpen() {
    Book b;
    b.open(QStringLiteral("TfrmInTable"));
    QPointer<QWidget> screen = b.fx.main->workingWindow();
    QVERIFY(screen);
    b.fx.main.reset();
    QVERIFY(screen.isNull());
}

// Inside the frame a working window's own title bar is never seen: the frame shows it.
void PostingScreensTest::theWorkingCaptionIsShown() {
    Book b;
    b.fx.main->show();
    for (const auto& [cls, caption] :
         std::vector<std::pair<QString, QString>>{{"TfrmInTable", "收入"},
                                                  {"TfrmOutTable", "支出"},
                                                  {"TfrmChangeT", "转账"}}) {
        b.open(cls);
        QVERIFY(b.fx.main->captionLabel()->isVisible());
        QCOMPARE(b.fx.main->captionLabel()->text(), caption);
        QCOMPARE(b.fx.main->windowTitle(), caption + QStringLiteral(" — ") + kBook);
    }
    b.fx.main->myfrmClose();
    QVERIFY(!b.fx.main->captionLabel()->isVisible());
    QCOMPARE(b.fx.main->windowTitle(), kBook);
}

// Another copy changes the row between Modify and Save: the save is refused, nothing written,
// and the other change stays.
void PostingScreensTest::anEditOfARowChangedMeanwhileIsRefused() {
    Book b;
    b.open(QStringLiteral("TfrmInTable"));
    b.post(kToday, QStringLiteral("工资"), QStringLiteral("100"), QStringLiteral("钱包"),
           QStringLiteral("爸爸"));
    const qint64 id = b.idOf(QStringLiteral("InTable"));
    b.screen->modifyButton()->click();
    // The fields start from the row as stored.
    QCOMPARE(b.screen->amountEdit()->text(), QStringLiteral("100"));
    PostingRules(b.fx.file.dm())
        .amend(PostingKind::income(), id,
               [](PostingRules::Posting& p) { p.remark = QStringLiteral("别处改的"); });
    const qint64 before = b.lastJournal();
    b.screen->amountEdit()->setText(QStringLiteral("250"));
    b.fx.messages.clear();
    b.screen->saveEditButton()->click();
    QCOMPARE(b.fx.messages.last(), QStringLiteral("该记录已被其他操作修改，请刷新后再试！"));
    QCOMPARE(b.lastJournal(), before);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 1100.0);
    const Query q = b.fx.file.db().query(QStringLiteral("SELECT IMoney, Remark FROM InTable"));
    QCOMPARE(q.number(QStringLiteral("IMoney")), 100.0);
    QCOMPARE(q.text(QStringLiteral("Remark")), QStringLiteral("别处改的"));
    // Cancel, Modify again: the change now starts from the other copy's row and saves.
    b.screen->cancelButton()->click();
    b.screen->modifyButton()->click();
    QCOMPARE(b.screen->remarkEdit()->text(), QStringLiteral("别处改的"));
    b.screen->amountEdit()->setText(QStringLiteral("250"));
    b.screen->saveEditButton()->click();
    QCOMPARE(b.balance(QStringLiteral("钱包")), 1250.0);
}

// Enter walks the fields and saves on the last; Esc leaves without asking; focus lands on
// 新增 afterwards, never on 删除.
void PostingScreensTest::keysOfTheEntryPanel() {
    Book b;
    b.open(QStringLiteral("TfrmInTable"));
    b.fx.main->show();
    QApplication::setActiveWindow(b.fx.main.get());
    b.screen->newButton()->click();
    b.fill(kToday, QStringLiteral("奖金"), QStringLiteral("30"), QStringLiteral("钱包"),
           QStringLiteral("爸爸"), QStringLiteral("压岁钱"));
    b.screen->datePicker()->setFocus();
    QTRY_VERIFY(b.screen->datePicker()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(b.screen->nameBox(Field::Name)->isAncestorOf(QApplication::focusWidget()) ||
                b.screen->nameBox(Field::Name) == QApplication::focusWidget());
    b.screen->remarkEdit()->setFocus();
    QTest::keyClick(b.screen->remarkEdit(), Qt::Key_Return);
    QCOMPARE(b.rows(QStringLiteral("InTable")), 1);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 1030.0);

    b.fx.messages.clear();
    b.screen->newButton()->click();
    b.screen->amountEdit()->setText(QStringLiteral("5"));
    QTest::keyClick(b.screen->amountEdit(), Qt::Key_Escape);
    QVERIFY(b.fx.messages.entries.isEmpty());
    QVERIFY(b.screen->newButton()->isEnabled());
    QCOMPARE(b.rows(QStringLiteral("InTable")), 1);
    QTRY_VERIFY(b.screen->newButton()->hasFocus());

    b.screen->modifyButton()->click();
    b.screen->saveEditButton()->click();
    QTRY_VERIFY(b.screen->newButton()->hasFocus());
}

void PostingScreensTest::screensOpenFromTheMenuWithTheirWords() {
    Book b;
    b.fx.main->action(QStringLiteral("收入 &I"))->trigger();
    QCOMPARE(b.fx.main->workingWindowClass(), QStringLiteral("TfrmInTable"));
    auto* s = qobject_cast<PostingScreen*>(b.fx.main->workingWindow());
    QVERIFY(s);
    QCOMPARE(s->windowTitle(), QStringLiteral("收入"));
    QCOMPARE(s->entryGroup()->title(), QStringLiteral("收入"));
    QStringList labels;
    for (QLabel* l : s->entryGroup()->findChildren<QLabel*>()) labels << l->text();
    QCOMPARE(labels, QStringList({"收入日期：", "收入类别：", "金        额：", "账户名称：",
                                  "家庭成员：", "备        注："}));
    QStringList titles;
    for (int c = 0; c < s->grid()->model()->columnCount(); ++c) {
        if (!s->grid()->isColumnHidden(c))
            titles << s->grid()->model()->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(titles, QStringList({"日期", "收入类别", "金额", "账户名称", "家庭成员", "备注"}));
    QCOMPARE(s->grid()->toolTip(), QStringLiteral("亲，鼠标右键 有惊喜哟！"));
    QStringList items;
    for (QAction* a : s->popupMenu()->actions()) items << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items, QStringList({"本月记账 &B", "历史记账 &L", "全部记账 &A", "-", "全部删除 &D"}));
    QCOMPARE(b.footer(), QStringLiteral("记账： 0/合计： 0.00"));

    b.fx.main->action(QStringLiteral("支出 &O"))->trigger();
    s = qobject_cast<PostingScreen*>(b.fx.main->workingWindow());
    QCOMPARE(s->objectName(), QStringLiteral("TfrmOutTable"));
    QCOMPARE(s->entryGroup()->title(), QStringLiteral("支出"));
    QVERIFY(s->shownText(Field::Name));

    b.fx.main->action(QStringLiteral("账户转账 &A"))->trigger();
    s = qobject_cast<PostingScreen*>(b.fx.main->workingWindow());
    QCOMPARE(s->windowTitle(), QStringLiteral("转账"));
    QCOMPARE(s->entryGroup()->title(), QStringLiteral("账户转帐"));
    labels.clear();
    for (QLabel* l : s->entryGroup()->findChildren<QLabel*>()) labels << l->text();
    QCOMPARE(labels, QStringList({"转账日期：", "原  账  户：", "到账账户：", "金        额：",
                                  "家庭成员：", "备        注："}));
    QCOMPARE(s->nameBox(Field::Name), nullptr);
}

void PostingScreensTest::buttonStatesFollowTheMode() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    // Browse: the entry panel shows, the list and its commands work.
    QVERIFY(!s->entryGroup()->isEnabled());
    QVERIFY(s->newButton()->isEnabled() && s->modifyButton()->isEnabled());
    QVERIFY(s->deleteButton()->isEnabled() && s->queryButton()->isEnabled());
    QVERIFY(!s->saveNewButton()->isEnabled() && !s->cancelButton()->isEnabled());
    QVERIFY(s->grid()->isEnabled());
    QCOMPARE(s->datePicker()->text(), kToday);
    QVERIFY(s->datePicker()->isHidden() && !s->shownText(Field::Date)->isHidden());

    // Modify and Delete on an empty list do nothing.
    s->modifyButton()->click();
    s->deleteButton()->click();
    QCOMPARE(s->mode(), PostingScreen::Mode::Browse);
    QVERIFY(b.fx.messages.entries.isEmpty());

    s->datePicker()->setText("2026-11-30");
    s->newButton()->click();
    QCOMPARE(s->mode(), PostingScreen::Mode::New);
    QVERIFY(s->entryGroup()->isEnabled() && !s->grid()->isEnabled());
    QVERIFY(!s->newButton()->isEnabled() && !s->modifyButton()->isEnabled());
    QVERIFY(!s->deleteButton()->isEnabled() && !s->queryButton()->isEnabled());
    QVERIFY(!s->saveNewButton()->isHidden() && s->saveNewButton()->isEnabled());
    QVERIFY(s->saveEditButton()->isHidden());
    QVERIFY(s->cancelButton()->isEnabled());
    QVERIFY(!s->popupAction("本月记账 &B")->isEnabled());
    QVERIFY(!s->datePicker()->isHidden() && s->shownText(Field::Date)->isHidden());
    // The book's defaults; the picker keeps the day it held.
    QCOMPARE(s->nameBox(Field::Name)->text(), QStringLiteral("工资"));
    QCOMPARE(s->nameBox(Field::Account)->text(), QStringLiteral("钱包"));
    QCOMPARE(s->nameBox(Field::Member)->text(), QStringLiteral("爸爸"));
    QCOMPARE(s->datePicker()->text(), QStringLiteral("2026-11-30"));
    QVERIFY(s->nameBox(Field::Name)->names().contains(QStringLiteral("奖金")));

    // Cancel writes nothing.
    s->amountEdit()->setText("5");
    s->cancelButton()->click();
    QCOMPARE(s->mode(), PostingScreen::Mode::Browse);
    QCOMPARE(b.rows("InTable"), 0);
    QCOMPARE(b.lastJournal(), 0);

    // New keeps the picker's day, so a run of postings of one past day needs one pick.
    b.post({}, "工资", "10", "钱包", "爸爸");
    b.post({}, "奖金", "20", "钱包", "爸爸");
    QCOMPARE(b.fx.file.db()
                 .query("SELECT count(*) AS n FROM InTable WHERE IDate='2026-11-30'")
                 .integer("n"),
             2);
    // The list (newest first) is browsed; Modify copies the row and shows the edit save.
    QCOMPARE(s->shownText(Field::Name)->text(), QStringLiteral("奖金"));
    // Browsing, the amount reads as in the grid; Modify puts it plainly for typing over.
    QCOMPARE(s->amountEdit()->text(), QStringLiteral("20.00"));
    s->navigator()->next();
    QCOMPARE(s->shownText(Field::Name)->text(), QStringLiteral("工资"));
    s->datePicker()->setText("2026-01-01");
    s->modifyButton()->click();
    QCOMPARE(s->mode(), PostingScreen::Mode::Edit);
    QVERIFY(s->saveNewButton()->isHidden() && !s->saveEditButton()->isHidden());
    QCOMPARE(s->datePicker()->text(), QStringLiteral("2026-11-30"));
    QCOMPARE(s->nameBox(Field::Name)->text(), QStringLiteral("工资"));
    QCOMPARE(s->amountEdit()->text(), QStringLiteral("10"));
    s->amountEdit()->setText("99");
    s->cancelButton()->click();
    QCOMPARE(s->amountEdit()->text(), QStringLiteral("10.00"));
    QCOMPARE(b.balance("钱包"), 1030.0);
}

void PostingScreensTest::incomeChecksInOrder() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    b.fx.main->show();
    QVERIFY(QTest::qWaitForWindowActive(b.fx.main.get()));
    s->newButton()->click();
    b.fill({}, {}, {}, {}, {});
    const auto save = [&] {
        b.fx.messages.clear();
        s->saveNewButton()->click();
        return b.fx.messages.last();
    };
    QCOMPARE(save(), QStringLiteral("请选择 收入类别！"));
    QCOMPARE(QApplication::focusWidget(), s->nameBox(Field::Name));
    // A name of blanks only is no name.
    s->nameBox(Field::Name)->setText("  ");
    QCOMPARE(save(), QStringLiteral("请选择 收入类别！"));
    s->nameBox(Field::Name)->setText("工资");
    QCOMPARE(save(), QStringLiteral("金额不能为空！请重新录入！"));
    QCOMPARE(QApplication::focusWidget(), s->amountEdit());
    QTest::keyClicks(s->amountEdit(), "12.5");
    QCOMPARE(save(), QStringLiteral("请选择 账户名称！"));
    QCOMPARE(QApplication::focusWidget(), s->nameBox(Field::Account));
    s->nameBox(Field::Account)->setText("钱包");
    QCOMPARE(save(), QStringLiteral("请选择 家庭成员！"));
    QCOMPARE(QApplication::focusWidget(), s->nameBox(Field::Member));
    QCOMPARE(s->mode(), PostingScreen::Mode::New);
    QCOMPARE(b.rows("InTable"), 0);
    QCOMPARE(b.lastJournal(), 0);

    s->nameBox(Field::Member)->setText("爸爸");
    QCOMPARE(save(), QString());
    QCOMPARE(b.rows("InTable"), 1);
    // The change of an income words every check as the new one does.
    s->modifyButton()->click();
    s->amountEdit()->clear();
    QCOMPARE(save(), QString());  // the save for new is hidden in edit mode
    b.fx.messages.clear();
    s->saveEditButton()->click();
    QCOMPARE(b.fx.messages.texts(), QStringList({"金额不能为空！请重新录入！"}));
    s->nameBox(Field::Name)->setText("");
    b.fx.messages.clear();
    s->saveEditButton()->click();
    QCOMPARE(b.fx.messages.texts(), QStringList({"请选择 收入类别！"}));
    QCOMPARE(s->mode(), PostingScreen::Mode::Edit);
}

void PostingScreensTest::expenseChecksWordTheChangeDifferently() {
    Book b;
    PostingScreen* s = b.open("TfrmOutTable");
    const std::vector<std::function<void()>> mends{
        [&] { s->nameBox(Field::Name)->setText("餐饮"); },
        [&] { s->amountEdit()->setText("8"); },
        [&] { s->nameBox(Field::Account)->setText("钱包"); },
        [&] { s->nameBox(Field::Member)->setText("爸爸"); },
    };
    s->newButton()->click();
    QCOMPARE(b.checksInOrder(s->saveNewButton(), mends),
             QStringList({"请选择 支出类别！", "金额不能为空！请重新录入！", "请选择 账户名称！",
                          "请选择 家庭成员！"}));
    s->saveNewButton()->click();
    QCOMPARE(b.rows("OutTable"), 1);

    s->modifyButton()->click();
    QCOMPARE(b.checksInOrder(s->saveEditButton(), mends),
             QStringList({"请选择 支出类别！", "金额 不能为空！请重新录入！", "请选择 账户名称！",
                          "请选择 家庭成员！"}));
}

void PostingScreensTest::transferChecksInOrder() {
    Book b;
    PostingScreen* s = b.open("TfrmChangeT");
    s->newButton()->click();
    // Only the member is preset; the accounts keep what they hold (nothing yet).
    QCOMPARE(s->nameBox(Field::Member)->text(), QStringLiteral("爸爸"));
    QCOMPARE(s->nameBox(Field::Account)->text(), QString());
    const std::vector<std::function<void()>> mends{
        [&] { s->nameBox(Field::Account)->setText("钱包"); },
        [&] { s->nameBox(Field::Target)->setText("钱包"); },
        [&] { s->nameBox(Field::Target)->setText("银行卡"); },
        [&] { s->amountEdit()->setText("1"); },
        [&] { s->nameBox(Field::Member)->setText("爸爸"); },
    };
    const QStringList expected{"请选择 原账户！", "请选择 到账账户！",
                               "到账账户 不能与 原账户 一样！请重新选择！",
                               "金额 不能为空！请重新录入！", "请选择 家庭成员！"};
    QCOMPARE(b.checksInOrder(s->saveNewButton(), mends), expected);
    QCOMPARE(b.rows("ChangeT"), 0);
    s->saveNewButton()->click();
    QCOMPARE(b.rows("ChangeT"), 1);

    // New again: the accounts stay as the last transfer left them.
    s->newButton()->click();
    QCOMPARE(s->nameBox(Field::Account)->text(), QStringLiteral("钱包"));
    QCOMPARE(s->nameBox(Field::Target)->text(), QStringLiteral("银行卡"));
    s->cancelButton()->click();
    s->modifyButton()->click();
    QCOMPARE(b.checksInOrder(s->saveEditButton(), mends), expected);
}

void PostingScreensTest::incomeSaveEditDelete() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    b.post("2026-12-01", "工资", "100", "钱包", "爸爸", "十二月");
    const qint64 id = b.idOf("InTable");
    QCOMPARE(b.balance("钱包"), 1100.0);
    QCOMPARE(b.journalSince(0), QStringList({row("2026-12-01", "工资", "十二月", "100", "0", "钱包",
                                                 "1100", "爸爸", "InTable", id, "新增")}));
    QCOMPARE(s->mode(), PostingScreen::Mode::Browse);
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 100.00"));
    // Usage counts of the category and the account went up.
    QCOMPARE(
        b.fx.file.db().query("SELECT theCount FROM InD WHERE IName='工资'").integer("theCount"), 1);

    // Moved to another account and day: the old account gives the amount back first.
    qint64 mark = b.lastJournal();
    s->modifyButton()->click();
    b.fill("2026-11-20", "奖金", "250.5", "银行卡", "妈妈", "改");
    s->saveEditButton()->click();
    QCOMPARE(b.balance("钱包"), 1000.0);
    QCOMPARE(b.balance("银行卡"), 5250.5);
    QCOMPARE(b.journalSince(mark),
             QStringList({row("2026-12-01", "工资", "十二月", "0", "100", "钱包", "1000", "爸爸",
                              "InTable", id, "恢复"),
                          row("2026-11-20", "奖金", "改", "250.5", "0", "银行卡", "5250.5", "妈妈",
                              "InTable", id, "修改")}));
    QCOMPARE(s->shownText(Field::Account)->text(), QStringLiteral("银行卡"));
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 250.50"));
    // A change raises no usage count.
    QCOMPARE(
        b.fx.file.db().query("SELECT theCount FROM InD WHERE IName='奖金'").integer("theCount"), 0);

    // Saved without a change: a reversal and the same values again, the balance as it was.
    mark = b.lastJournal();
    s->modifyButton()->click();
    s->saveEditButton()->click();
    QCOMPARE(b.balance("银行卡"), 5250.5);
    QCOMPARE(b.journalSince(mark),
             QStringList({row("2026-11-20", "奖金", "改", "0", "250.5", "银行卡", "5000", "妈妈",
                              "InTable", id, "恢复"),
                          row("2026-11-20", "奖金", "改", "250.5", "0", "银行卡", "5250.5", "妈妈",
                              "InTable", id, "修改")}));

    // Delete: No leaves everything; Yes gives the amount back.
    mark = b.lastJournal();
    s->deleteButton()->click();
    QCOMPARE(b.fx.messages.entries.last().caption, QStringLiteral("删除"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("确认要删除吗？该删除将不可恢复！"));
    QVERIFY(!b.fx.messages.entries.last().defaultYes);
    QCOMPARE(b.rows("InTable"), 1);
    b.fx.messages.answers = {true};
    s->deleteButton()->click();
    QCOMPARE(b.rows("InTable"), 0);
    QCOMPARE(b.balance("银行卡"), 5000.0);
    QCOMPARE(b.journalSince(mark),
             QStringList({row("2026-11-20", "奖金", "改", "0", "250.5", "银行卡", "5000", "妈妈",
                              "InTable", id, "删除")}));
    QCOMPARE(b.footer(), QStringLiteral("记账： 0/合计： 0.00"));
    QCOMPARE(s->shownText(Field::Account)->text(), QString());
}

void PostingScreensTest::expenseMirrorsIncome() {
    Book b;
    PostingScreen* s = b.open("TfrmOutTable");
    b.post("2026-12-02", "餐饮", "30", "钱包", "爸爸", "午饭");
    const qint64 id = b.idOf("OutTable");
    QCOMPARE(b.balance("钱包"), 970.0);
    qint64 mark = b.lastJournal();
    s->modifyButton()->click();
    b.fill("2026-12-03", "交通", "40", "银行卡", "妈妈", "车");
    s->saveEditButton()->click();
    QVERIFY(b.fx.messages.entries.isEmpty());
    QCOMPARE(b.journalSince(0).first(), row("2026-12-02", "餐饮", "午饭", "0", "30", "钱包", "970",
                                            "爸爸", "OutTable", id, "新增"));
    QCOMPARE(b.journalSince(mark), QStringList({row("2026-12-02", "餐饮", "午饭", "30", "0", "钱包",
                                                    "1000", "爸爸", "OutTable", id, "恢复"),
                                                row("2026-12-03", "交通", "车", "0", "40", "银行卡",
                                                    "4960", "妈妈", "OutTable", id, "修改")}));
    mark = b.lastJournal();
    b.fx.messages.answers = {true};
    s->deleteButton()->click();
    QCOMPARE(b.balance("银行卡"), 5000.0);
    QCOMPARE(b.journalSince(mark), QStringList({row("2026-12-03", "交通", "车", "40", "0", "银行卡",
                                                    "5000", "妈妈", "OutTable", id, "删除")}));
}

void PostingScreensTest::transferMovesTwoAccounts() {
    Book b;
    PostingScreen* s = b.open("TfrmChangeT");
    b.post("2026-12-04", {}, "200", "钱包", "爸爸", {}, "银行卡");
    const qint64 id = b.idOf("ChangeT");
    // An empty remark gains the two accounts, beginning with a blank.
    const QString remark = QStringLiteral(" 钱包->银行卡");
    QCOMPARE(b.fx.file.db().query("SELECT Remark FROM ChangeT").text("Remark"), remark);
    QCOMPARE(b.balance("钱包"), 800.0);
    QCOMPARE(b.balance("银行卡"), 5200.0);
    QCOMPARE(b.journalSince(0), QStringList({row("2026-12-04", "转账", remark, "0", "200", "钱包",
                                                 "800", "爸爸", "ChangeT", id, "新增"),
                                             row("2026-12-04", "转账", remark, "200", "0", "银行卡",
                                                 "5200", "爸爸", "ChangeT", id, "新增")}));
    QCOMPARE(s->shownText(Field::Target)->text(), QStringLiteral("银行卡"));

    // The accounts change; the remark keeps the first names and gains nothing.
    qint64 mark = b.lastJournal();
    s->modifyButton()->click();
    QCOMPARE(s->remarkEdit()->text(), remark);
    s->nameBox(Field::Account)->setText("银行卡");
    s->nameBox(Field::Target)->setText("钱包");
    s->amountEdit()->setText("50");
    s->saveEditButton()->click();
    QCOMPARE(b.fx.file.db().query("SELECT Remark FROM ChangeT").text("Remark"), remark);
    QCOMPARE(b.balance("钱包"), 1050.0);
    QCOMPARE(b.balance("银行卡"), 4950.0);
    QCOMPARE(b.journalSince(mark),
             QStringList({row("2026-12-04", "转账", remark, "200", "0", "钱包", "1000", "爸爸",
                              "ChangeT", id, "恢复"),
                          row("2026-12-04", "转账", remark, "0", "200", "银行卡", "5000", "爸爸",
                              "ChangeT", id, "恢复"),
                          row("2026-12-04", "转账", remark, "0", "50", "银行卡", "4950", "爸爸",
                              "ChangeT", id, "修改"),
                          row("2026-12-04", "转账", remark, "50", "0", "钱包", "1050", "爸爸",
                              "ChangeT", id, "修改")}));
    QCOMPARE(b.fx.file.db().query("SELECT sum(theCount) AS n FROM SAccount").integer("n"), 0);

    mark = b.lastJournal();
    b.fx.messages.answers = {true};
    s->deleteButton()->click();
    QCOMPARE(b.balance("钱包"), 1000.0);
    QCOMPARE(b.balance("银行卡"), 5000.0);
    QCOMPARE(b.journalSince(mark),
             QStringList({row("2026-12-04", "转账", remark, "50", "0", "银行卡", "5000", "爸爸",
                              "ChangeT", id, "删除"),
                          row("2026-12-04", "转账", remark, "0", "50", "钱包", "1000", "爸爸",
                              "ChangeT", id, "删除")}));
}

void PostingScreensTest::namesTypedThatTheBookLacksAreCreated() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    s->newButton()->click();
    // Typing runs the type-ahead: of the categories only 奖金 (JJ) has a "j" in its code.
    s->nameBox(Field::Name)->setText(QString());
    type(s->nameBox(Field::Name)->lineEdit(), "j");
    QCOMPARE(s->nameBox(Field::Name)->text(), QStringLiteral("奖金"));
    // Names the book lacks, typed key by key.
    for (Field f : {Field::Name, Field::Account, Field::Member}) s->nameBox(f)->setText({});
    type(s->nameBox(Field::Name)->lineEdit(), QStringLiteral("稿费"));
    type(s->nameBox(Field::Account)->lineEdit(), QStringLiteral("零钱罐"));
    type(s->nameBox(Field::Member)->lineEdit(), QStringLiteral("小明"));
    s->amountEdit()->setText("66");
    s->saveNewButton()->click();
    QVERIFY(b.fx.messages.entries.isEmpty());
    Database& db = b.fx.file.db();
    QCOMPARE(db.query("SELECT theCount FROM InD WHERE IName='稿费' AND BName=?", kBook)
                 .integer("theCount"),
             1);
    QCOMPARE(db.query("SELECT count(*) AS n FROM SFamily WHERE FName='小明'").integer("n"), 1);
    const Query account = db.query(
        "SELECT AMoney, FName, theType, theState, theCount FROM SAccount "
        "WHERE AName='零钱罐'");
    QCOMPARE(account.recordCount(), 1);
    QCOMPARE(account.number("AMoney"), 66.0);
    QCOMPARE(account.text("FName"), QStringLiteral("小明"));
    QCOMPARE(account.text("theType"), QStringLiteral("现金"));
    QCOMPARE(account.text("theState"), QStringLiteral("启用"));
    QCOMPARE(account.integer("theCount"), 1);
    // The new account starts at 0, so its first journal row shows the posting alone.
    QCOMPARE(b.journalSince(0).first().section(" | ", 6, 6), QStringLiteral("66"));

    // A transfer onto an account the book lacks creates it, owned by the member.
    b.open("TfrmChangeT");
    b.post(kToday, {}, "5", "钱包", "妈妈", {}, "新卡");
    QCOMPARE(db.query("SELECT FName FROM SAccount WHERE AName='新卡'").text("FName"),
             QStringLiteral("妈妈"));
    QCOMPARE(b.balance("新卡"), 5.0);
}

void PostingScreensTest::zeroAndNegativeAmounts() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    b.post(kToday, "工资", "0", "钱包", "爸爸");
    b.post(kToday, "工资", "-50", "钱包", "爸爸");
    QVERIFY(b.fx.messages.entries.isEmpty());
    QCOMPARE(b.balance("钱包"), 950.0);
    const QStringList journal = b.journalSince(0);
    QCOMPARE(journal.size(), 2);
    QCOMPARE(journal[0].section(" | ", 3, 4), QStringLiteral("0 | 0"));
    QCOMPARE(journal[1].section(" | ", 3, 6), QStringLiteral("-50 | 0 | 钱包 | 950"));
    QCOMPARE(b.footer(), QStringLiteral("记账： 2/合计： -50.00"));
    // The amount field takes a number only.
    s->newButton()->click();
    s->amountEdit()->clear();
    QTest::keyClicks(s->amountEdit(), "1a2.3.4b");
    QCOMPARE(s->amountEdit()->text(), QStringLiteral("12.34"));
    s->cancelButton()->click();
}

void PostingScreensTest::deleteAllFollowsTheFilter() {
    Book b;
    PostingScreen* s = b.open("TfrmOutTable");
    b.post("2026-11-05", "餐饮", "10", "钱包", "爸爸");
    b.post("2026-12-05", "餐饮", "20", "钱包", "爸爸");
    b.post("2026-12-06", "交通", "30", "银行卡", "妈妈");
    const qint64 mark = b.lastJournal();
    s->popupAction("本月记账 &B")->trigger();
    QCOMPARE(b.footer(), QStringLiteral("记账： 2/合计： 50.00"));
    // No: nothing goes, the list is read again.
    s->popupAction("全部删除 &D")->trigger();
    QCOMPARE(b.rows("OutTable"), 3);
    b.fx.messages.answers = {true};
    s->popupAction("全部删除 &D")->trigger();
    QCOMPARE(b.rows("OutTable"), 1);
    QCOMPARE(b.balance("钱包"), 990.0);
    QCOMPARE(b.balance("银行卡"), 5000.0);
    const QStringList gone = b.journalSince(mark);
    QCOMPARE(gone.size(), 2);
    for (const QString& r : gone) QCOMPARE(r.section(" | ", 11), QStringLiteral("删除"));
    QCOMPARE(b.footer(), QStringLiteral("记账： 0/合计： 0.00"));
    // On an empty list nothing is even asked.
    b.fx.messages.clear();
    s->popupAction("全部删除 &D")->trigger();
    QVERIFY(b.fx.messages.entries.isEmpty());
}

void PostingScreensTest::filtersFooterAndTitleSort() {
    Book b;
    b.fx.file.state().myD_I = true;
    PostingScreen* s = b.open("TfrmInTable");
    b.post("2026-10-31", "工资", "300", "钱包", "爸爸");
    b.post("2026-12-01", "奖金", "100", "钱包", "爸爸");
    b.post("2026-12-31", "工资", "200.25", "银行卡", "妈妈");
    // The flag lists this month from the start.
    QCOMPARE(b.footer(), QStringLiteral("记账： 2/合计： 300.25"));
    s->popupAction("历史记账 &L")->trigger();
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 300.00"));
    QCOMPARE(s->shownText(Field::Date)->text(), QStringLiteral("2026-10-31"));
    s->popupAction("全部记账 &A")->trigger();
    QCOMPARE(b.footer(), QStringLiteral("记账： 3/合计： 600.25"));
    s->popupAction("本月记账 &B")->trigger();
    QCOMPARE(b.footer(), QStringLiteral("记账： 2/合计： 300.25"));
    s->popupAction("全部记账 &A")->trigger();

    // Title clicks: ascending, then descending, then ascending again; the sort code stays.
    const int money = s->grid()->gridModel()->columnOf("金额");
    const auto amounts = [&] {
        QStringList out;
        for (int r = 0; r < s->grid()->gridModel()->rowCount(); ++r)
            out << s->grid()->gridModel()->textAt(r, "金额");
        return out;
    };
    QCOMPARE(amounts(), QStringList({"200.25", "100", "300"}));  // newest first (code 3)
    s->DBGrid1TitleClick(money);
    QCOMPARE(amounts(), QStringList({"100", "200.25", "300"}));
    QCOMPARE(s->grid()->model()->headerData(money, Qt::Horizontal, Qt::ForegroundRole),
             QVariant(QBrush(Qt::red)));
    s->grid()->horizontalHeader()->sectionClicked(money);
    QCOMPARE(amounts(), QStringList({"300", "200.25", "100"}));
    s->DBGrid1TitleClick(money);
    QCOMPARE(amounts(), QStringList({"100", "200.25", "300"}));
    QCOMPARE(b.fx.file.state().myJZPX, QStringLiteral("3"));
    // The entry panel follows the sorted list.
    QCOMPARE(s->shownText(Field::Name)->text(), QStringLiteral("奖金"));
    // The date order of the book's sort code.
    b.fx.file.state().myJZPX = QStringLiteral("2");
    s->myRef();
    QCOMPARE(amounts(), QStringList({"300", "100", "200.25"}));
}

void PostingScreensTest::nameTitlesSortInPinyinWithTiesInListOrder() {
    Book b;
    PostingScreen* s = b.open("TfrmInTable");
    b.post("2026-12-01", "工资", "1", "钱包", "妈妈");
    b.post("2026-12-02", "利息", "2", "钱包", "爸爸");
    b.post("2026-12-03", "工资", "3", "银行卡", "爸爸");
    b.post("2026-12-04", "奖金", "4", "钱包", "妈妈");
    QueryGridModel* m = s->grid()->gridModel();
    const auto amounts = [m] {
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r) out << m->textAt(r, "金额");
        return out;
    };
    // gong, jiang, li, where the code points say 利 奖 工; rows of one name stay newest first
    // (code 3), both ways.
    const int name = m->columnOf("收入类别");
    s->DBGrid1TitleClick(name);
    QCOMPARE(amounts(), QStringList({"3", "1", "4", "2"}));
    s->grid()->horizontalHeader()->sectionClicked(name);
    QCOMPARE(amounts(), QStringList({"2", "4", "3", "1"}));
    // A name first used after a sort is in the next one; an older date on a newer row still
    // ties by entry (ba before ma).
    b.post("2026-11-30", "补助", "5", "钱包", "妈妈");
    s->DBGrid1TitleClick(name);
    QCOMPARE(amounts(), QStringList({"5", "3", "1", "4", "2"}));
    s->DBGrid1TitleClick(m->columnOf("家庭成员"));
    QCOMPARE(amounts(), QStringList({"3", "2", "5", "4", "1"}));
    // The filter holds in the sorted list.
    s->popupAction("本月记账 &B")->trigger();
    s->DBGrid1TitleClick(name);
    QCOMPARE(amounts(), QStringList({"3", "1", "4", "2"}));
}

void PostingScreensTest::queryDialogsReplaceTheFilter() {
    Book b;
    b.fx.file.state().myD_I = true;
    PostingScreen* s = b.open("TfrmInTable");
    b.post("2026-10-01", "工资", "300", "钱包", "爸爸", "100% 全勤");
    b.post("2026-11-15", "奖金", "100", "钱包", "妈妈", "年中");
    b.post("2026-12-01", "工资", "200", "银行卡", "妈妈", "10月");

    QString seenName;
    std::function<void(PostingQueryDialog&)> drive;
    b.fx.onDialog = [&](QDialog& d) {
        seenName = d.objectName();
        auto* q = qobject_cast<PostingQueryDialog*>(&d);
        if (q && drive) drive(*q);
        return d.result();
    };
    // As it opens: the dates ticked, a month back to today; 退出 changes nothing.
    drive = [&](PostingQueryDialog& q) {
        QCOMPARE(q.windowTitle(), QStringLiteral("收入查询"));
        QCOMPARE(q.fromPicker()->text(), QStringLiteral("2026-11-09"));
        QCOMPARE(q.toPicker()->text(), kToday);
        QVERIFY(q.check("收入日期")->isChecked());
        QVERIFY(!q.check("收入类别")->isChecked());
        QVERIFY(q.check("备        注"));
        QVERIFY(q.queryButton()->isDefault());
        q.exitButton()->click();
    };
    s->queryButton()->click();
    QCOMPARE(seenName, QStringLiteral("TfrmInTable_Q"));
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 200.00"));

    // The dates replace the this-month filter of the open.
    drive = [&](PostingQueryDialog& q) { q.queryButton()->click(); };
    s->queryButton()->click();
    QCOMPARE(b.footer(), QStringLiteral("记账： 2/合计： 300.00"));

    // A name box ticked with no name lists nothing.
    drive = [&](PostingQueryDialog& q) {
        q.check("收入日期")->setChecked(false);
        q.check("收入类别")->setChecked(true);
        q.queryButton()->click();
    };
    s->queryButton()->click();
    QCOMPARE(b.footer(), QStringLiteral("记账： 0/合计： 0.00"));

    // Typing ticks its box; criteria add up; a percent sign is a percent sign.
    drive = [&](PostingQueryDialog& q) {
        q.check("收入日期")->setChecked(false);
        type(static_cast<QLineEdit*>(q.control("备        注")), "%");
        QVERIFY(q.check("备        注")->isChecked());
        q.queryButton()->click();
    };
    s->queryButton()->click();
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 300.00"));
    drive = [&](PostingQueryDialog& q) {
        q.check("收入日期")->setChecked(false);
        auto* member = static_cast<NameComboBox*>(q.control("家庭成员"));
        type(member->lineEdit(), QStringLiteral("妈"));
        QCOMPARE(member->text(), QStringLiteral("妈妈"));
        QVERIFY(q.check("家庭成员")->isChecked());
        auto* account = static_cast<NameComboBox*>(q.control("账户名称"));
        type(account->lineEdit(), QStringLiteral("钱"));
        q.queryButton()->click();
    };
    s->queryButton()->click();
    QCOMPARE(b.footer(), QStringLiteral("记账： 1/合计： 100.00"));
    // A changed date ticks the dates again.
    drive = [&](PostingQueryDialog& q) {
        q.check("收入日期")->setChecked(false);
        q.fromPicker()->setText("2026-01-01");
        QVERIFY(q.check("收入日期")->isChecked());
        q.queryButton()->click();
    };
    s->queryButton()->click();
    QCOMPARE(b.footer(), QStringLiteral("记账： 3/合计： 600.00"));

    // The transfer query: dates, a member pick-list, the remark; no account.
    b.open("TfrmChangeT");
    b.post("2026-12-02", {}, "7", "钱包", "妈妈", {}, "银行卡");
    drive = [&](PostingQueryDialog& q) {
        QCOMPARE(q.windowTitle(), QStringLiteral("帐户转账查询"));
        QCOMPARE(q.check("账户名称"), nullptr);
        auto* member = qobject_cast<QComboBox*>(q.control("家庭成员"));
        QVERIFY(member && !member->isEditable());
        member->setCurrentIndex(member->findText("爸爸"));
        emit member->activated(member->currentIndex());
        QVERIFY(q.check("家庭成员")->isChecked());
        q.queryButton()->click();
    };
    b.screen->queryButton()->click();
    QCOMPARE(seenName, QStringLiteral("TfrmChangeT_Q"));
    QCOMPARE(b.footer(), QStringLiteral("记账： 0/合计： 0.00"));
}

void PostingScreensTest::expenseCapWarning() {
    Book b;
    Database& db = b.fx.file.db();
    db.exec("UPDATE OutD SET theMC=100 WHERE OName='餐饮' AND BName=?", kBook);
    // The same category of another book carries no weight.
    db.exec("INSERT INTO OutD(BName,OName,theState,theMC) VALUES('别的账簿','餐饮','启用',1)");
    db.exec(
        "INSERT INTO OutTable(BName,ODate,OName,OMoney) VALUES('别的账簿','2026-12-01',"
        "'餐饮',500)");
    PostingScreen* s = b.open("TfrmOutTable");
    b.post(kToday, "餐饮", "90", "钱包", "爸爸");
    b.post(kToday, "餐饮", "10", "钱包", "爸爸");
    QVERIFY(b.fx.messages.entries.isEmpty());  // equal to the cap
    b.post(kToday, "餐饮", "0.01", "钱包", "爸爸");
    QCOMPARE(b.fx.messages.texts(), QStringList({"2026-12 餐饮 已超月上限！"}));
    QCOMPARE(b.rows("OutTable"), 4);  // saved all the same
    QCOMPARE(s->mode(), PostingScreen::Mode::Browse);

    // A change never warns.
    b.fx.messages.clear();
    s->modifyButton()->click();
    s->amountEdit()->setText("500");
    s->saveEditButton()->click();
    QVERIFY(b.fx.messages.entries.isEmpty());
    // An earlier month is weighed against its own spending.
    b.post("2026-11-30", "餐饮", "100", "钱包", "爸爸");
    QVERIFY(b.fx.messages.entries.isEmpty());
    b.post("2026-11-30", "餐饮", "1", "钱包", "爸爸");
    QCOMPARE(b.fx.messages.texts(), QStringList({"2026-11 餐饮 已超月上限！"}));
    // No cap, no warning.
    b.fx.messages.clear();
    b.post(kToday, "交通", "100000", "钱包", "爸爸");
    QVERIFY(b.fx.messages.entries.isEmpty());
}

void PostingScreensTest::reminderAtTheThreshold() {
    Book b;
    Database& db = b.fx.file.db();
    const auto warn = [&](const QString& kind, const QString& member, double amount,
                          const QString& state) {
        db.exec(
            "INSERT INTO UWarn(BName,theType,FName,WMoney,Remark,theState) "
            "VALUES(?,?,?,?,?,?)",
            kBook, kind, member, amount, QStringLiteral("  少花点  "), state);
    };
    warn("收入", " 爸爸 ", 500, "启用");
    warn("收入", "妈妈", 100, "停用");  // disabled: never shown
    warn("支出", "爸爸", 1000, "启用");
    const auto post = [&](const QString& table, const QString& member, double amount,
                          const QString& date) {
        const QString col = table == "InTable" ? "I" : "O";
        db.exec(QStringLiteral("INSERT INTO %1(BName,%2Date,%2Money,FName) VALUES(?,?,?,?)")
                    .arg(table, col),
                kBook, date, amount, member);
    };
    post("InTable", "爸爸", 499.99, "2026-12-01");
    post("InTable", "爸爸", 9999, "2026-11-30");  // another month
    post("InTable", "妈妈", 900, "2026-12-02");
    post("OutTable", "爸爸", 600, "2026-12-02");

    QList<QStringList> popups;
    b.fx.onDialog = [&](QDialog& d) {
        if (auto* p = qobject_cast<TfrmTXMes*>(&d)) {
            popups << QStringList{p->windowTitle(), p->memberLabel()->text(),
                                  p->amountsLabel()->text(), p->hintLabel()->text(),
                                  p->okButton()->text()};
        }
        return int(QDialog::Accepted);
    };
    b.fx.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.fx.main.get()));
    // One cent short: nothing.
    b.open("TfrmInTable");
    QTest::qWait(50);
    QVERIFY(popups.isEmpty());

    post("InTable", "爸爸", 0.01, "2026-12-09");
    b.open("TfrmInTable");
    QTRY_COMPARE(popups.size(), 1);
    QCOMPARE(popups[0],
             QStringList({"爸爸 2026-12 收入 提醒", "爸爸：",
                          "每月提醒金额：500.00，本月记账金额：500.00。", "少花点", "知道了"}));
    // The transfer screen has no reminders; the expense screen reads its own.
    popups.clear();
    b.open("TfrmChangeT");
    QTest::qWait(50);
    QVERIFY(popups.isEmpty());
    post("OutTable", "爸爸", 400, "2026-12-03");
    b.open("TfrmOutTable");
    QTRY_COMPARE(popups.size(), 1);
    QCOMPARE(popups[0][0], QStringLiteral("爸爸 2026-12 支出 提醒"));
    QCOMPARE(popups[0][2], QStringLiteral("每月提醒金额：1,000.00，本月记账金额：1,000.00。"));
    // A save does not remind again; the next opening does.
    popups.clear();
    b.post(kToday, "餐饮", "5", "钱包", "爸爸");
    QTest::qWait(50);
    QVERIFY(popups.isEmpty());
}

void PostingScreensTest::closingRecomputesTheDashboard() {
    Book b;
    b.fx.main->mySum();
    QCOMPARE(b.fx.main->dashboardView()->valueText("现金"), QStringLiteral("6,000.00"));
    b.fx.main->action(QStringLiteral("收入 &I"))->trigger();
    b.screen = qobject_cast<PostingScreen*>(b.fx.main->workingWindow());
    b.post(kToday, "工资", "1234.5", "钱包", "爸爸");
    QCOMPARE(b.fx.main->dashboardView()->valueText("现金"), QStringLiteral("6,000.00"));
    QPointer<QWidget> window = b.screen;
    b.screen->exitButton()->click();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(b.fx.main->workingWindow(), nullptr);
    QCOMPARE(b.fx.main->dashboardView()->valueText("现金"), QStringLiteral("7,234.50"));
    QVERIFY(b.fx.main->statusPanel(2).startsWith(QStringLiteral("收入：1,234.50 支出：0.00")));
}

QTEST_MAIN(PostingScreensTest)
#include "PostingScreensTest.moc"
