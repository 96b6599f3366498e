#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "books/BookCreation.h"
#include "books/ui/BookFields.h"
#include "books/ui/TfrmNewA.h"
#include "books/ui/TfrmNewBook.h"
#include "books/ui/TfrmNewBook1.h"
#include "books/ui/TfrmNewF.h"
#include "books/ui/TfrmOpenBook.h"
#include "support/TempDataFile.h"
#include "ui/support/FakeMessages.h"
#include "widgets/DatePicker.h"
#include "widgets/MoneyEdit.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

const QDate kToday(2026, 12, 9);
const QString kHome = QStringLiteral("我家账簿");

// A fresh data file, scripted message boxes, and the modal steps handed to a script
// instead of blocking.
struct Fixture {
    test::TempDataFile file{kToday};
    test::FakeMessages messages;
    AppContext ctx{
        file.db(), file.dm(), file.state(), messages, file.programDir(), Clock::fixed(kToday),
        {},        {},        {},           {}};
    QStringList dialogs;                    // class names of the steps run, in order
    std::function<int(QDialog&)> onDialog;  // drives a step; default: closed at once

    std::function<int(QDialog&)> runner() {
        return [this](QDialog& d) {
            dialogs << QString::fromLatin1(d.metaObject()->className())
                           .section(QStringLiteral("::"), -1);
            return onDialog ? onDialog(d) : int(QDialog::Rejected);
        };
    }

    int rows(const QString& table, const QString& book) {
        return int(
            file.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE BName=?").arg(table),
                       book)
                .integer(QStringLiteral("n")));
    }
};

bool showActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

QWidget* focused() {
    return QApplication::focusWidget();
}

// Types as the keyboard would, Chinese characters included (keyClicks takes ASCII only).
void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void retype(QLineEdit* edit, const QString& text) {
    edit->clear();
    type(edit, text);
}

void pick(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
}

}  // namespace

class NewBookTest : public QObject {
    Q_OBJECT

  private slots:
    void wizardOffersItsDefaults();
    void wizardChecksInOrderAndFocusesTheField();
    void wizardWritesTheBookAndLeadsToMembers();
    void membersStepAddsChecksAndDeletes();
    void accountsStepChecksInOrderAndBooksTheOpening();
    void accountsStepDeletesOnlyEmptyAccounts();
    void wholeChainEndsInTheLoginAndClosesEveryStep();
    void additionalBookChecksGroupsBeforeWriting();
    void additionalBookCopiesFromAnotherBook();
};

void NewBookTest::wizardOffersItsDefaults() {
    Fixture f;
    TfrmNewBook w(f.ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("新建账簿"));
    QCOMPARE(w.fields()->nameEdit()->text(), kHome);
    QCOMPARE(w.fields()->countLabel()->text(), QStringLiteral("0"));
    QCOMPARE(w.fields()->nameEdit()->maxLength(), 20);
    QCOMPARE(w.fields()->remarkEdit()->maxLength(), 25);
    QCOMPARE(w.fields()->nameEdit()->toolTip(), QStringLiteral("第一次使用的时候需要新建账簿。"));
    QCOMPARE(w.fields()->passwordEdit()->toolTip(), QStringLiteral("录入账簿的密码。"));
    QCOMPARE(w.fields()->confirmEdit()->toolTip(), QStringLiteral("再输入一次确认密码。"));
    QCOMPARE(w.fields()->passwordEdit()->echoMode(), QLineEdit::Password);
    QVERIFY(w.incomeBox()->isChecked() && w.expenseBox()->isChecked() &&
            w.investmentBox()->isChecked());
    QCOMPARE(w.nextButton()->text(), QStringLiteral("下一步"));
    QVERIFY(w.nextButton()->isDefault());

    // With books already there, the offer is numbered.
    f.file.addBook(QStringLiteral("老账簿"));
    TfrmNewBook again(f.ctx);
    QCOMPARE(again.fields()->nameEdit()->text(), QStringLiteral("我家账簿1"));
    QCOMPARE(again.fields()->countLabel()->text(), QStringLiteral("1"));
}

void NewBookTest::wizardChecksInOrderAndFocusesTheField() {
    Fixture f;
    f.file.addBook(QStringLiteral("老账簿"));
    f.file.state().myBName.clear();
    TfrmNewBook w(f.ctx);
    w.setDialogRunner(f.runner());
    QVERIFY(showActive(w));

    w.fields()->nameEdit()->clear();
    type(w.fields()->passwordEdit(), QStringLiteral("a"));
    type(w.fields()->confirmEdit(), QStringLiteral("b"));
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("新密码与确认密码不一致！"));
    QCOMPARE(focused(), w.fields()->passwordEdit());

    retype(w.fields()->confirmEdit(), QStringLiteral("a"));
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("账簿名称 不能为空！"));
    QCOMPARE(focused(), w.fields()->nameEdit());

    type(w.fields()->nameEdit(), QStringLiteral("老账簿"));
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("账簿名称 重复，请重新录入！"));
    QCOMPARE(focused(), w.fields()->nameEdit());

    QCOMPARE(f.messages.texts().size(), 3);
    QVERIFY(f.dialogs.isEmpty());
    QCOMPARE(f.file.count(QStringLiteral("SBook")), 1);
    QCOMPARE(f.file.count(QStringLiteral("InD")), 0);
    QVERIFY(f.file.state().myBName.isEmpty());
    QVERIFY(w.isVisible());
}

void NewBookTest::wizardWritesTheBookAndLeadsToMembers() {
    Fixture f;
    TfrmNewBook w(f.ctx);
    w.setDialogRunner(f.runner());
    QString bookDuringStep;
    bool openUnderStep = false;
    f.onDialog = [&](QDialog&) {
        bookDuringStep = f.file.state().myBName;
        openUnderStep = w.isVisible();
        return int(QDialog::Rejected);
    };
    QVERIFY(showActive(w));
    type(w.fields()->passwordEdit(), QStringLiteral("pw"));
    type(w.fields()->confirmEdit(), QStringLiteral("pw"));
    type(w.fields()->remarkEdit(), QStringLiteral("家里的账"));
    w.investmentBox()->setChecked(false);
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);

    QVERIFY(f.messages.entries.isEmpty());
    QCOMPARE(f.dialogs, QStringList{QStringLiteral("TfrmNewF")});
    QCOMPARE(bookDuringStep, kHome);
    QVERIFY(openUnderStep);  // the wizard stays open under its step
    QCOMPARE(f.file.state().myBName, kHome);
    QCOMPARE(f.rows(QStringLiteral("SBook"), kHome), 1);
    QCOMPARE(f.file.db()
                 .query(QStringLiteral("SELECT Remark FROM SBook"))
                 .text(QStringLiteral("Remark")),
             QStringLiteral("家里的账"));
    QCOMPARE(f.rows(QStringLiteral("InD"), kHome), 14);
    QCOMPARE(f.rows(QStringLiteral("OutD"), kHome), 50);
    QCOMPARE(f.rows(QStringLiteral("TD"), kHome), 0);
    QCOMPARE(f.rows(QStringLiteral("SMRX"), kHome), 1);
    QCOMPARE(f.file.db().query(QStringLiteral("SELECT IName FROM InD ORDER BY ID")).firstColumn(),
             BookCreation::incomeSeeds());
    // The count and the offer were refreshed, and the wizard closed with its step.
    QCOMPARE(w.fields()->countLabel()->text(), QStringLiteral("1"));
    QCOMPARE(w.fields()->nameEdit()->text(), QStringLiteral("我家账簿1"));
    QVERIFY(!w.isVisible());
}

void NewBookTest::membersStepAddsChecksAndDeletes() {
    Fixture f;
    QVERIFY(BookCreation(f.file.dm()).createFirstBook(kHome, {}, {}, true, true, true).ok());
    TfrmNewF w(f.ctx);
    w.setDialogRunner(f.runner());
    QCOMPARE(w.windowTitle(), QStringLiteral("家庭成员管理"));
    QVERIFY(showActive(w));

    // Browsing an empty list.
    QVERIFY(!w.entryGroup()->isEnabled());
    QVERIFY(!w.saveButton()->isEnabled() && !w.cancelButton()->isEnabled());
    QVERIFY(w.newButton()->isEnabled() && w.deleteButton()->isEnabled());
    QVERIFY(!w.birthdayPicker()->isVisible());
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("至少新增一个家庭成员！"));
    QVERIFY(f.dialogs.isEmpty());

    // Adding.
    QTest::mouseClick(w.newButton(), Qt::LeftButton);
    QVERIFY(w.entryGroup()->isEnabled());
    QVERIFY(w.birthdayPicker()->isVisible() && !w.birthdayText()->isVisible());
    QVERIFY(!w.grid()->isEnabled() && !w.nextButton()->isEnabled());
    QVERIFY(!w.newButton()->isEnabled() && !w.deleteButton()->isEnabled());
    QCOMPARE(focused(), w.nameEdit());
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("姓名不能为空！请重新录入！"));
    QCOMPARE(focused(), w.nameEdit());
    QVERIFY(w.isAdding());

    type(w.nameEdit(), QStringLiteral("爸爸"));
    type(w.relationEdit(), QStringLiteral("父亲"));
    QVERIFY(w.birthdayPicker()->setText(QStringLiteral("1970-01-02")));
    type(w.remarkEdit(), QStringLiteral("户主"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QVERIFY(!w.isAdding());
    QCOMPARE(w.grid()->gridModel()->rowCount(), 1);
    QVERIFY(w.grid()->isColumnHidden(w.grid()->gridModel()->columnOf(QStringLiteral("拼音码"))));
    QVERIFY(w.grid()->isColumnHidden(w.grid()->gridModel()->columnOf(QStringLiteral("帐薄名称"))));
    QCOMPARE(w.birthdayText()->text(), QStringLiteral("1970-01-02"));
    QVERIFY(w.birthdayText()->isVisible() && !w.birthdayPicker()->isVisible());
    const Query m = f.file.db().query(QStringLiteral("SELECT * FROM SFamily"));
    QCOMPARE(m.text(QStringLiteral("FName")), QStringLiteral("爸爸"));
    QCOMPARE(m.text(QStringLiteral("thePY")), QStringLiteral("BB"));
    QCOMPARE(m.text(QStringLiteral("BirDate")), QStringLiteral("1970-01-02"));

    // A second member of the same name is refused; cancelling drops the entry.
    QTest::mouseClick(w.newButton(), Qt::LeftButton);
    QVERIFY(w.birthdayPicker()->text() == QStringLiteral("2026-12-09"));
    type(w.nameEdit(), QStringLiteral("爸爸"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("姓名添加重复！"));
    QVERIFY(w.isAdding());
    QTest::mouseClick(w.cancelButton(), Qt::LeftButton);
    QVERIFY(!w.isAdding());
    QCOMPARE(w.nameEdit()->text(), QStringLiteral("爸爸"));
    QCOMPARE(f.file.count(QStringLiteral("SFamily")), 1);

    // Delete asks first, No preselected; No keeps the row.
    f.messages.answers = {false};
    QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
    QCOMPARE(f.messages.entries.last().kind, QStringLiteral("ask"));
    QCOMPARE(f.messages.entries.last().text, QStringLiteral("确认要删除吗？该删除将不可恢复！"));
    QCOMPARE(f.messages.entries.last().caption, QStringLiteral("删除"));
    QVERIFY(!f.messages.entries.last().defaultYes);
    QCOMPARE(f.file.count(QStringLiteral("SFamily")), 1);
    f.messages.answers = {true};
    QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
    QCOMPARE(f.file.count(QStringLiteral("SFamily")), 0);
    QCOMPARE(w.grid()->gridModel()->rowCount(), 0);

    QCOMPARE(f.messages.texts(), (QStringList{QStringLiteral("至少新增一个家庭成员！"),
                                              QStringLiteral("姓名不能为空！请重新录入！"),
                                              QStringLiteral("姓名添加重复！"),
                                              QStringLiteral("确认要删除吗？该删除将不可恢复！"),
                                              QStringLiteral("确认要删除吗？该删除将不可恢复！")}));

    // With a member the step leads on, and closes when the accounts step closes.
    QTest::mouseClick(w.newButton(), Qt::LeftButton);
    type(w.nameEdit(), QStringLiteral("妈妈"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(f.dialogs, QStringList{QStringLiteral("TfrmNewA")});
    QVERIFY(!w.isVisible());
}

void NewBookTest::accountsStepChecksInOrderAndBooksTheOpening() {
    Fixture f;
    BookCreation books(f.file.dm());
    QVERIFY(books.createFirstBook(kHome, {}, {}, true, true, true).ok());
    QVERIFY(books.addMember(QStringLiteral("爸爸"), {}, {}, {}).ok());
    TfrmNewA w(f.ctx);
    w.setDialogRunner(f.runner());
    QCOMPARE(w.windowTitle(), QStringLiteral("账户初始金额"));
    QCOMPARE(w.typeBox()->count(), 5);
    QCOMPARE(w.memberBox()->count(), 1);
    QCOMPARE(w.typeBox()->toolTip(), QStringLiteral("注意：一定要选择账户分类"));
    QCOMPARE(w.memberBox()->toolTip(), QStringLiteral("该账户的所属人"));
    QVERIFY(showActive(w));

    QTest::mouseClick(w.finishButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("至少新增一个账户！"));
    QVERIFY(f.dialogs.isEmpty());

    QTest::mouseClick(w.newButton(), Qt::LeftButton);
    QCOMPARE(w.amountEdit()->text(), QStringLiteral("0"));
    QCOMPARE(focused(), w.typeBox());
    QVERIFY(!w.grid()->isEnabled() && !w.finishButton()->isEnabled());

    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("请选择 账户分类！"));
    QCOMPARE(focused(), w.typeBox());
    pick(w.typeBox(), QStringLiteral("信用卡"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("请选择 家庭成员！"));
    QCOMPARE(focused(), w.memberBox());
    pick(w.memberBox(), QStringLiteral("爸爸"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("账户名称不能为空！请重新录入！"));
    QCOMPARE(focused(), w.nameEdit());
    type(w.nameEdit(), QStringLiteral("招行卡"));
    w.amountEdit()->clear();
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("初始金额不能为空！请重新录入！"));
    QCOMPARE(focused(), w.amountEdit());
    QCOMPARE(f.file.count(QStringLiteral("SAccount")), 0);

    type(w.amountEdit(), QStringLiteral("-500.5x"));  // the x never gets in
    type(w.remarkEdit(), QStringLiteral("透支"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QVERIFY(!w.isAdding());
    QCOMPARE(w.grid()->gridModel()->rowCount(), 1);
    QCOMPARE(w.amountEdit()->text(), QStringLiteral("-500.5"));

    const Query a = f.file.db().query(QStringLiteral("SELECT * FROM SAccount"));
    QCOMPARE(a.text(QStringLiteral("theType")), QStringLiteral("信用卡"));
    QCOMPARE(a.text(QStringLiteral("FName")), QStringLiteral("爸爸"));
    QCOMPARE(a.text(QStringLiteral("AName")), QStringLiteral("招行卡"));
    QCOMPARE(a.number(QStringLiteral("AMoney")), -500.5);
    const Query j = f.file.db().query(QStringLiteral("SELECT * FROM UList"));
    QCOMPARE(j.recordCount(), 1);
    QCOMPARE(j.text(QStringLiteral("theType")), QStringLiteral("开户"));
    QCOMPARE(j.text(QStringLiteral("Remark")), QStringLiteral("透支"));
    QCOMPARE(j.number(QStringLiteral("theIn")), -500.5);
    QCOMPARE(j.number(QStringLiteral("AMoney")), -500.5);
    QCOMPARE(j.integer(QStringLiteral("theID")), a.integer(QStringLiteral("ID")));

    QTest::mouseClick(w.newButton(), Qt::LeftButton);
    pick(w.typeBox(), QStringLiteral("现金"));
    pick(w.memberBox(), QStringLiteral("爸爸"));
    type(w.nameEdit(), QStringLiteral("招行卡"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("账户名称添加重复！"));
    QVERIFY(w.isAdding());
    QCOMPARE(f.file.count(QStringLiteral("SAccount")), 1);
    QCOMPARE(f.messages.texts().size(), 6);
}

void NewBookTest::accountsStepDeletesOnlyEmptyAccounts() {
    Fixture f;
    BookCreation books(f.file.dm());
    QVERIFY(books.createFirstBook(kHome, {}, {}, false, false, false).ok());
    QVERIFY(books
                .openAccount(QStringLiteral("现金"), QStringLiteral("爸爸"), QStringLiteral("钱包"),
                             0.5, {})
                .ok());
    QVERIFY(books
                .openAccount(QStringLiteral("现金"), QStringLiteral("爸爸"),
                             QStringLiteral("空钱包"), 0, {})
                .ok());
    TfrmNewA w(f.ctx);
    QVERIFY(showActive(w));

    w.grid()->selectRow(0);
    QCOMPARE(w.nameEdit()->text(), QStringLiteral("钱包"));
    f.messages.answers = {true};
    QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral(
                 "账户余额不为零，不能删除；若要删除，请将该账户余额转账到其它账户后删除！")});
    QCOMPARE(f.file.count(QStringLiteral("SAccount")), 2);

    f.messages.clear();
    w.grid()->selectRow(1);
    QCOMPARE(w.nameEdit()->text(), QStringLiteral("空钱包"));
    QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
    QCOMPARE(f.messages.entries.size(), 1);
    QCOMPARE(f.messages.entries.first().kind, QStringLiteral("ask"));
    QCOMPARE(f.file.count(QStringLiteral("SAccount")), 1);
    QCOMPARE(w.grid()->gridModel()->rowCount(), 1);
    QCOMPARE(f.file.count(QStringLiteral("UList")), 2);  // its opening row stays
}

void NewBookTest::wholeChainEndsInTheLoginAndClosesEveryStep() {
    Fixture f;
    TfrmNewBook wizard(f.ctx);
    wizard.setDialogRunner(f.runner());
    f.onDialog = [&](QDialog& d) {
        if (auto* members = qobject_cast<TfrmNewF*>(&d)) {
            members->ButNewClick();
            members->nameEdit()->setText(QStringLiteral("妈妈"));
            members->ButSaveClick();
            members->ButNextClick();
        } else if (auto* accounts = qobject_cast<TfrmNewA*>(&d)) {
            accounts->ButNewClick();
            pick(accounts->typeBox(), QStringLiteral("银行卡"));
            pick(accounts->memberBox(), QStringLiteral("妈妈"));
            accounts->nameEdit()->setText(QStringLiteral("农行卡"));
            accounts->amountEdit()->setText(QStringLiteral("3000"));
            accounts->ButSaveClick();
            accounts->ButFinishClick();
        } else if (auto* login = qobject_cast<TfrmOpenBook*>(&d)) {
            pick(login->bookBox(), kHome);
            login->ButOpenClick();
        }
        return d.result();
    };
    wizard.ButNextClick();

    QCOMPARE(f.dialogs, (QStringList{QStringLiteral("TfrmNewF"), QStringLiteral("TfrmNewA"),
                                     QStringLiteral("TfrmOpenBook")}));
    QVERIFY(f.messages.entries.isEmpty());
    QCOMPARE(f.file.state().myBName, kHome);
    QCOMPARE(f.file.state().myPX, QStringLiteral("5"));
    QCOMPARE(f.rows(QStringLiteral("SFamily"), kHome), 1);
    QCOMPARE(f.file.dm().balance(QStringLiteral("农行卡")), 3000.0);
    QCOMPARE(f.rows(QStringLiteral("UList"), kHome), 1);
    QVERIFY(!wizard.isVisible());
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
}

void NewBookTest::additionalBookChecksGroupsBeforeWriting() {
    Fixture f;
    BookCreation books(f.file.dm());
    QVERIFY(books.createFirstBook(QStringLiteral("老账簿"), {}, {}, true, true, true).ok());
    TfrmNewBook1 w(f.ctx, 1);
    w.setDialogRunner(f.runner());
    QCOMPARE(w.windowTitle(), QStringLiteral("新建账簿"));
    QCOMPARE(w.fields()->nameEdit()->text(), QStringLiteral("我家账簿1"));
    QCOMPARE(w.fields()->countLabel()->text(), QStringLiteral("1"));
    using G = BookCreation::Group;
    const QStringList titles = {QStringLiteral("收入类别信息"), QStringLiteral("支出类别信息"),
                                QStringLiteral("投资类别信息"), QStringLiteral("家庭成员信息"),
                                QStringLiteral("账户信息"),     QStringLiteral("往来人员信息")};
    for (int g = 0; g < BookCreation::GroupCount; ++g) {
        QCOMPARE(w.groupBox(G(g))->title(), titles[g]);
        QCOMPARE(w.bookList(G(g))->count(), 1);
        QCOMPARE(w.bookList(G(g))->currentIndex(), -1);
        QCOMPARE(w.copyChoice(G(g))->text(), QStringLiteral("账簿名称"));
        QCOMPARE(w.emptyChoice(G(g))->text(), QStringLiteral("空"));
        // Categories default to the seeds, the other lists to nothing.
        QCOMPARE(w.seedChoice(G(g)) != nullptr, g <= BookCreation::Investment);
        QCOMPARE(
            w.seedChoice(G(g)) ? w.seedChoice(G(g))->isChecked() : w.emptyChoice(G(g))->isChecked(),
            true);
    }
    QCOMPARE(w.seedChoice(BookCreation::Expense)->text(), QStringLiteral("默认支出类别"));
    QVERIFY(showActive(w));

    type(w.fields()->passwordEdit(), QStringLiteral("1"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("新密码与确认密码不一致！"));
    QCOMPARE(focused(), w.fields()->passwordEdit());
    type(w.fields()->confirmEdit(), QStringLiteral("1"));

    // Members copied from a book, accounts to be copied with no book picked: refused whole.
    pick(w.bookList(BookCreation::Members), QStringLiteral("老账簿"));
    QVERIFY(w.copyChoice(BookCreation::Members)->isChecked());
    w.copyChoice(BookCreation::Accounts)->setChecked(true);
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("请选择 账簿名称！"));
    QCOMPARE(focused(), w.bookList(BookCreation::Accounts));
    QCOMPARE(f.file.count(QStringLiteral("SBook")), 1);
    QCOMPARE(f.rows(QStringLiteral("InD"), QStringLiteral("我家账簿1")), 0);
    QVERIFY(f.dialogs.isEmpty());
    QCOMPARE(f.messages.texts().size(), 2);

    // The name is checked before the groups.
    retype(w.fields()->nameEdit(), QStringLiteral("老账簿"));
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(f.messages.last(), QStringLiteral("账簿名称 重复，请重新录入！"));
    QCOMPARE(focused(), w.fields()->nameEdit());
}

void NewBookTest::additionalBookCopiesFromAnotherBook() {
    Fixture f;
    BookCreation books(f.file.dm());
    const QString src = QStringLiteral("老账簿");
    QVERIFY(books.createFirstBook(src, {}, {}, false, true, false).ok());
    QVERIFY(books.addMember(QStringLiteral("爸爸"), {}, {}, {}).ok());
    QVERIFY(books
                .openAccount(QStringLiteral("现金"), QStringLiteral("爸爸"), QStringLiteral("钱包"),
                             88.8, QStringLiteral("零钱"))
                .ok());
    f.file.dm().AccountUp(11.2, QStringLiteral("钱包"));

    TfrmNewBook1 w(f.ctx, 1);
    w.setDialogRunner(f.runner());
    bool openUnderLogin = false;
    f.onDialog = [&](QDialog&) {
        openUnderLogin = w.isVisible();
        return int(QDialog::Rejected);
    };
    QVERIFY(showActive(w));
    type(w.fields()->remarkEdit(), QStringLiteral("第二本"));
    pick(w.bookList(BookCreation::Expense), src);
    pick(w.bookList(BookCreation::Members), src);
    pick(w.bookList(BookCreation::Accounts), src);
    w.emptyChoice(BookCreation::Investment)->setChecked(true);
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);

    const QString book = QStringLiteral("我家账簿1");
    QVERIFY(f.messages.entries.isEmpty());
    QCOMPARE(f.dialogs, QStringList{QStringLiteral("TfrmOpenBook")});
    QVERIFY(openUnderLogin);
    QVERIFY(!w.isVisible());
    QCOMPARE(f.file.state().myBName, src);  // the new book is opened by logging in
    // Seeds, copies and empty groups as chosen; the copied balance comes with its opening row.
    QCOMPARE(f.rows(QStringLiteral("InD"), book), 14);
    QCOMPARE(f.rows(QStringLiteral("OutD"), book), 50);
    QCOMPARE(f.rows(QStringLiteral("TD"), book), 0);
    QCOMPARE(f.rows(QStringLiteral("SFamily"), book), 1);
    QCOMPARE(f.rows(QStringLiteral("PD"), book), 0);
    QCOMPARE(f.file.db()
                 .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=?"), book)
                 .number(QStringLiteral("AMoney")),
             100.0);
    QCOMPARE(
        f.file.db()
            .query(QStringLiteral("SELECT theIn FROM UList WHERE BName=? AND theType='开户'"), book)
            .number(QStringLiteral("theIn")),
        100.0);
}

QTEST_MAIN(NewBookTest)
#include "NewBookTest.moc"
