#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "bookkeeping/ui/BookkeepingScreens.h"
#include "bookkeeping/ui/SettledPostingScreen.h"
#include "bookkeeping/ui/TfrmBList.h"
#include "bookkeeping/ui/TfrmB_ZJ.h"
#include "bookkeeping/ui/TfrmBorrow_R.h"
#include "storage/Money.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/MoneyEdit.h"
#include "widgets/NameComboBox.h"

using namespace cw;
using Field = PostingLayout::Field;

namespace {

const QString kBook = QStringLiteral("我家账簿");

// A book with two members, two accounts, a contact and an investment category, and the
// posting screens plugged into the main window.
struct Book {
    test::MainFixture fx;
    SettledPostingScreen* screen = nullptr;

    Book() {
        fx.file.addBook(kBook);
        TfrmDM& dm = fx.file.dm();
        dm.NewFamily(QStringLiteral("爸爸"));
        dm.NewFamily(QStringLiteral("妈妈"));
        fx.file.addAccount(QStringLiteral("钱包"), 1000, QStringLiteral("爸爸"));
        fx.file.addAccount(QStringLiteral("银行卡"), 5000, QStringLiteral("妈妈"));
        dm.mySaveNew(QStringLiteral("TD"), QStringLiteral("TName"), QStringLiteral("股票"));
        GlobalState& s = fx.file.state();
        s.myFName = QStringLiteral("爸爸");
        s.myAName = QStringLiteral("钱包");
        registerBookkeepingScreens(*fx.main);
    }

    ~Book() {
        fx.main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettledPostingScreen* open(const QString& className) {
        fx.main->openScreen(className);
        screen = qobject_cast<SettledPostingScreen*>(fx.main->workingWindow());
        return screen;
    }

    void post(const QString& date, const QString& name, const QString& amount,
              const QString& account, const QString& member) {
        screen->newButton()->click();
        screen->datePicker()->setText(date);
        screen->nameBox(Field::Name)->setText(name);
        screen->amountEdit()->setText(amount);
        screen->nameBox(Field::Account)->setText(account);
        screen->nameBox(Field::Member)->setText(member);
        screen->remarkEdit()->setText(QString());
        screen->saveNewButton()->click();
    }

    double balance(const QString& account) { return fx.file.dm().balance(account); }
    double number(const QString& sql, const QString& column) {
        return fx.file.db().query(sql).number(column);
    }
    QString text(const QString& sql, const QString& column) {
        return fx.file.db().query(sql).text(column);
    }
    int rows(const QString& table) { return fx.file.count(table); }
    qint64 listed() { return screen->footer().count; }

    // Runs the settle command with the dialog's amount set to `amount` (and the gain to
    // `profit` for a return), then its button.
    void settle(const QString& amount, const QString& profit = QString()) {
        fx.onDialog = [amount, profit](QDialog& d) {
            auto* r = qobject_cast<TfrmBorrow_R*>(&d);
            if (!r) return int(QDialog::Rejected);
            if (!amount.isNull()) r->amountEdit()->setText(amount);
            if (!profit.isNull() && r->profitEdit()) r->profitEdit()->setText(profit);
            r->settleButton()->click();
            return r->result();
        };
        screen->settleAction()->trigger();
        fx.onDialog = nullptr;
    }
};

}  // namespace

class DebtScreensTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void screensOpenWithTheirWords();
    void debtSavedThroughTheScreen();
    void settlementDialogsOpenWithTheirPresets();
    void repaymentMovesDebtAndBalance();
    void repaymentAboveOutstandingIsRefused();
    void settledDebtMovesBetweenFilters();
    void repaymentDeletedFromItsRecords();
    void increaseAndDecreaseOfACredit();
    void creditWrittenOff();
    void investmentReturnWritesItsIncome();
};

void DebtScreensTest::screensOpenWithTheirWords() {
    Book b;
    b.fx.main->action(QStringLiteral("债务 &B"))->trigger();
    QCOMPARE(b.fx.main->workingWindowClass(), QStringLiteral("TfrmBorrow"));
    b.screen = qobject_cast<SettledPostingScreen*>(b.fx.main->workingWindow());
    QVERIFY(b.screen);
    QCOMPARE(b.screen->windowTitle(), QStringLiteral("债务"));
    QCOMPARE(b.screen->entryGroup()->title(), QStringLiteral("债务信息"));
    QVERIFY(b.screen->popupAction(QStringLiteral("还债 &R")));
    QVERIFY(b.screen->popupAction(QStringLiteral("未还债务 &D")));
    QVERIFY(!b.screen->popupAction(QStringLiteral("全部删除 &D")));

    QVERIFY(b.open(QStringLiteral("TfrmDebt")));
    QCOMPARE(b.screen->windowTitle(), QStringLiteral("债权"));
    QVERIFY(b.screen->writeOffAction());
    QCOMPARE(b.screen->writeOffAction()->text(), QStringLiteral("坏账 &H"));

    QVERIFY(b.open(QStringLiteral("TfrmTZ")));
    QCOMPARE(b.screen->windowTitle(), QStringLiteral("投资"));
    QCOMPARE(b.screen->decreaseAction()->text(), QStringLiteral("减少投资金额 &S"));
    QVERIFY(!b.screen->writeOffAction());
}

void DebtScreensTest::debtSavedThroughTheScreen() {
    Book b;
    b.open(QStringLiteral("TfrmBorrow"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("张三"), QStringLiteral("1000"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    QCOMPARE(b.rows(QStringLiteral("Borrow")), 1);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 2000.0);
    QCOMPARE(b.number(QStringLiteral("SELECT BMoney FROM Borrow"), QStringLiteral("BMoney")),
             1000.0);
    QCOMPARE(b.text(QStringLiteral("SELECT BPro FROM Borrow"), QStringLiteral("BPro")),
             QStringLiteral("张三"));
    QCOMPARE(b.screen->currentText(QStringLiteral("债权人")), QStringLiteral("张三"));
    // The creditor typed in became a contact of the book.
    QVERIFY(b.fx.file.dm().ComPType().contains(QStringLiteral("张三")));

    // Saving without a creditor is refused with its message.
    b.fx.messages.clear();
    b.post(QStringLiteral("2026-12-02"), QString(), QStringLiteral("5"), QStringLiteral("钱包"),
           QStringLiteral("爸爸"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("债权人 不能为空！请重新录入！"));
    b.screen->cancelButton()->click();
    QCOMPARE(b.rows(QStringLiteral("Borrow")), 1);
}

void DebtScreensTest::settlementDialogsOpenWithTheirPresets() {
    Book b;
    b.open(QStringLiteral("TfrmDebt"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("王五"), QStringLiteral("500"),
           QStringLiteral("银行卡"), QStringLiteral("妈妈"));
    QStringList seen;
    b.fx.onDialog = [&seen](QDialog& d) {
        auto* r = qobject_cast<TfrmBorrow_R*>(&d);
        if (!r) return int(QDialog::Rejected);
        seen << r->windowTitle() << r->settleButton()->text() << r->amountEdit()->text()
             << r->accountBox()->currentText() << r->memberBox()->currentText()
             << r->datePicker()->text() << (r->profitEdit() ? r->profitEdit()->text() : "-");
        return int(QDialog::Rejected);
    };
    b.screen->settleAction()->trigger();
    QCOMPARE(seen, QStringList({"收债", "收债", "500", "银行卡", "妈妈", "2026-12-09", "-"}));

    seen.clear();
    b.open(QStringLiteral("TfrmTZ"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("股票"), QStringLiteral("800"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    b.screen->settleAction()->trigger();
    QCOMPARE(seen, QStringList({"收益", "收益", "0", "钱包", "爸爸", "2026-12-09", "0"}));
    // Nothing was stored by closing the dialogs.
    QCOMPARE(b.rows(QStringLiteral("DebtR")), 0);
    QCOMPARE(b.rows(QStringLiteral("TTableR")), 0);
}

void DebtScreensTest::repaymentMovesDebtAndBalance() {
    Book b;
    b.open(QStringLiteral("TfrmBorrow"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("张三"), QStringLiteral("1000"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    b.fx.messages.clear();
    b.settle(QStringLiteral("400"));
    QCOMPARE(b.fx.dialogs.last(), QStringLiteral("cw::TfrmBorrow_R"));
    QCOMPARE(b.fx.messages.texts(), QStringList());
    QCOMPARE(b.number(QStringLiteral("SELECT BMoney FROM Borrow"), QStringLiteral("BMoney")),
             600.0);
    QCOMPARE(b.number(QStringLiteral("SELECT RMoney FROM Borrow"), QStringLiteral("RMoney")),
             400.0);
    QCOMPARE(b.rows(QStringLiteral("BorrowR")), 1);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 1600.0);
    QCOMPARE(b.text(QStringLiteral("SELECT theType FROM UList ORDER BY ID DESC LIMIT 1"),
                    QStringLiteral("theType")),
             QStringLiteral("还债"));
    // The list shows the new amounts.
    double shown = 0;
    QVERIFY(Money::parse(b.screen->currentText(QStringLiteral("债务金额")), &shown));
    QCOMPARE(shown, 600.0);

    // A debt with repayments is not deleted, and nothing is asked.
    b.fx.messages.clear();
    b.screen->deleteButton()->click();
    QCOMPARE(b.fx.messages.entries.size(), 1);
    QCOMPARE(b.fx.messages.last(),
             QStringLiteral("该债务有 已还金额，不能删除；如要删除，请先删除 还债记录。"));
    QCOMPARE(b.rows(QStringLiteral("Borrow")), 1);
}

void DebtScreensTest::repaymentAboveOutstandingIsRefused() {
    Book b;
    b.open(QStringLiteral("TfrmBorrow"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("张三"), QStringLiteral("1000"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    const qint64 journal = b.rows(QStringLiteral("UList"));
    b.fx.messages.clear();
    b.settle(QStringLiteral("1500"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("还债金额 不能大于债务金额！"));
    // The focus goes back to the amount.
    bool amountFocused = false;
    b.fx.onDialog = [&amountFocused](QDialog& d) {
        auto* r = qobject_cast<TfrmBorrow_R*>(&d);
        if (!r) return int(QDialog::Rejected);
        r->amountEdit()->setText(QStringLiteral("1000.5"));
        r->remarkEdit()->setFocus();
        r->settleButton()->click();
        amountFocused = r->focusWidget() == r->amountEdit();
        return r->result();
    };
    b.fx.messages.clear();
    b.screen->settleAction()->trigger();
    QCOMPARE(b.fx.messages.last(), QStringLiteral("还债金额 不能大于债务金额！"));
    QVERIFY(amountFocused);
    b.fx.onDialog = nullptr;
    b.fx.messages.clear();
    b.settle(QStringLiteral("0"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("还债金额 不能小于或等于零！"));
    QCOMPARE(b.rows(QStringLiteral("BorrowR")), 0);
    QCOMPARE(b.rows(QStringLiteral("UList")), journal);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 2000.0);
    QCOMPARE(b.number(QStringLiteral("SELECT BMoney FROM Borrow"), QStringLiteral("BMoney")),
             1000.0);
}

void DebtScreensTest::settledDebtMovesBetweenFilters() {
    Book b;
    b.fx.file.state().myD_B = true;
    b.open(QStringLiteral("TfrmBorrow"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("张三"), QStringLiteral("1000"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    b.post(QStringLiteral("2026-12-02"), QStringLiteral("李四"), QStringLiteral("300"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    QCOMPARE(b.listed(), 2);
    // The preset repays the whole outstanding amount.
    b.settle(QString());
    QCOMPARE(b.listed(), 1);
    b.screen->popupAction(QStringLiteral("已还债务 &L"))->trigger();
    QCOMPARE(b.listed(), 1);
    QCOMPARE(b.number(QStringLiteral("SELECT count(*) AS n FROM Borrow WHERE BMoney=0"),
                      QStringLiteral("n")),
             1.0);
    // A settled debt is not settled again.
    const int dialogs = int(b.fx.dialogs.size());
    b.screen->settleAction()->trigger();
    QCOMPARE(int(b.fx.dialogs.size()), dialogs);
    b.screen->popupAction(QStringLiteral("全部债务 &A"))->trigger();
    QCOMPARE(b.listed(), 2);
    b.screen->popupAction(QStringLiteral("未还债务 &D"))->trigger();
    QCOMPARE(b.listed(), 1);
}

void DebtScreensTest::repaymentDeletedFromItsRecords() {
    Book b;
    b.open(QStringLiteral("TfrmBorrow"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("张三"), QStringLiteral("1000"),
           QStringLiteral("钱包"), QStringLiteral("爸爸"));
    b.settle(QStringLiteral("400"));
    int listed = -1;
    QString amount;
    bool aligned = false;
    bool wide = false;
    QStringList narrow;
    b.fx.messages.answers = {true};
    b.fx.onDialog = [&](QDialog& d) {
        auto* list = qobject_cast<TfrmBList*>(&d);
        if (!list) return int(QDialog::Rejected);
        listed = list->table()->rowCount();
        // Amounts read as in the main grids, and every column is wide enough for its title.
        QTableWidget* t = list->table();
        amount = t->item(0, 1)->text();
        aligned = t->item(0, 1)->textAlignment() & Qt::AlignRight;
        for (int c = 0; c < t->columnCount(); ++c) {
            const QString title = t->horizontalHeaderItem(c)->text();
            if (t->columnWidth(c) < t->fontMetrics().horizontalAdvance(title)) narrow << title;
        }
        wide = list->width() >= t->horizontalHeader()->length();
        list->deleteAction()->trigger();
        return int(QDialog::Rejected);
    };
    b.screen->settlementsAction()->trigger();
    QCOMPARE(listed, 1);
    QCOMPARE(amount, QStringLiteral("400.00"));
    QVERIFY(aligned);
    QCOMPARE(narrow, QStringList());
    QVERIFY(wide);
    QCOMPARE(b.rows(QStringLiteral("BorrowR")), 0);
    QCOMPARE(b.number(QStringLiteral("SELECT BMoney FROM Borrow"), QStringLiteral("BMoney")),
             1000.0);
    QCOMPARE(b.number(QStringLiteral("SELECT RMoney FROM Borrow"), QStringLiteral("RMoney")), 0.0);
    QCOMPARE(b.balance(QStringLiteral("钱包")), 2000.0);
}

void DebtScreensTest::increaseAndDecreaseOfACredit() {
    Book b;
    b.open(QStringLiteral("TfrmDebt"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("王五"), QStringLiteral("500"),
           QStringLiteral("银行卡"), QStringLiteral("妈妈"));
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 4500.0);
    QString caption;
    auto change = [&](const QString& amount) {
        return [&caption, amount](QDialog& d) {
            auto* z = qobject_cast<TfrmB_ZJ*>(&d);
            if (!z) return int(QDialog::Rejected);
            caption = z->windowTitle();
            z->amountEdit()->setText(amount);
            z->saveButton()->click();
            return z->result();
        };
    };
    b.fx.onDialog = change(QStringLiteral("200"));
    b.screen->increaseAction()->trigger();
    QCOMPARE(caption, QStringLiteral("增加债权金额"));
    QCOMPARE(b.number(QStringLiteral("SELECT DMoney FROM Debt"), QStringLiteral("DMoney")), 700.0);
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 4300.0);

    b.fx.messages.clear();
    b.fx.onDialog = change(QString());
    b.screen->decreaseAction()->trigger();
    QCOMPARE(caption, QStringLiteral("减少债权金额"));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("金额 不能为空！请录入 金额！"));

    b.fx.onDialog = change(QStringLiteral("100"));
    b.screen->decreaseAction()->trigger();
    QCOMPARE(b.number(QStringLiteral("SELECT DMoney FROM Debt"), QStringLiteral("DMoney")), 600.0);
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 4400.0);
    QCOMPARE(b.rows(QStringLiteral("DList")), 2);

    int listed = -1;
    b.fx.onDialog = [&listed](QDialog& d) {
        if (auto* list = qobject_cast<TfrmBList*>(&d)) listed = list->table()->rowCount();
        return int(QDialog::Rejected);
    };
    b.screen->changesAction()->trigger();
    QCOMPARE(listed, 2);
}

void DebtScreensTest::creditWrittenOff() {
    Book b;
    b.open(QStringLiteral("TfrmDebt"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("王五"), QStringLiteral("300"),
           QStringLiteral("银行卡"), QStringLiteral("妈妈"));
    const int journal = b.rows(QStringLiteral("UList"));
    b.fx.messages.clear();
    b.fx.messages.answers = {true};
    b.screen->writeOffAction()->trigger();
    QCOMPARE(b.fx.messages.entries.size(), 1);
    QCOMPARE(b.fx.messages.entries.first().text,
             QStringLiteral("确认该债权为坏账吗？该操作将不可恢复！"));
    QCOMPARE(b.fx.messages.entries.first().caption, QStringLiteral("删除"));
    QCOMPARE(b.number(QStringLiteral("SELECT DMoney FROM Debt"), QStringLiteral("DMoney")), 0.0);
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 4700.0);
    QCOMPARE(b.rows(QStringLiteral("UList")), journal);
}

void DebtScreensTest::investmentReturnWritesItsIncome() {
    Book b;
    b.open(QStringLiteral("TfrmTZ"));
    b.post(QStringLiteral("2026-12-01"), QStringLiteral("股票"), QStringLiteral("1000"),
           QStringLiteral("银行卡"), QStringLiteral("妈妈"));
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 4000.0);
    const int incomes = b.rows(QStringLiteral("InTable"));
    b.fx.messages.clear();
    b.settle(QStringLiteral("1000"), QStringLiteral("50"));
    QCOMPARE(b.fx.dialogs.last(), QStringLiteral("cw::TfrmBorrow_R"));
    QCOMPARE(b.fx.messages.texts(), QStringList());
    QCOMPARE(b.number(QStringLiteral("SELECT TMoney FROM TTable"), QStringLiteral("TMoney")), 0.0);
    QCOMPARE(b.number(QStringLiteral("SELECT RMoney FROM TTable"), QStringLiteral("RMoney")), 50.0);
    QCOMPARE(b.balance(QStringLiteral("银行卡")), 5050.0);
    QCOMPARE(b.rows(QStringLiteral("InTable")), incomes + 1);
    QCOMPARE(b.text(QStringLiteral("SELECT Remark FROM InTable ORDER BY ID DESC LIMIT 1"),
                    QStringLiteral("Remark")),
             QStringLiteral("投资收益"));
    QCOMPARE(b.number(QStringLiteral("SELECT IMoney FROM InTable ORDER BY ID DESC LIMIT 1"),
                      QStringLiteral("IMoney")),
             50.0);

    // An investment with a return is not deleted.
    b.fx.messages.clear();
    b.screen->popupAction(QStringLiteral("全部投资 &A"))->trigger();
    b.screen->deleteButton()->click();
    QCOMPARE(b.fx.messages.last(), QStringLiteral("该 投资 已有收益记录，不能删除！"));
    QCOMPARE(b.rows(QStringLiteral("TTable")), 1);
}

QTEST_MAIN(DebtScreensTest)
#include "DebtScreensTest.moc"
