#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "books/ui/TfrmChangePass.h"
#include "books/ui/TfrmOpenBook.h"
#include "support/TempDataFile.h"
#include "ui/support/FakeMessages.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家账簿");
const QString kTrip = QStringLiteral("旅行账簿");

// Two books and no open one, with every call a screen makes to the main window recorded
// in one list, so both the calls and their order can be checked.
struct Harness {
    Harness()
        : ctx{file.db(),
              file.dm(),
              file.state(),
              messages,
              file.programDir(),
              Clock::fixed(QDate(2026, 12, 9)),
              {},
              {},
              {},
              {}} {
        file.addBook(kHome, QStringLiteral("123"));
        file.addBook(kTrip, QStringLiteral("abc"));
        file.state().myBName.clear();
        file.dm().setMenuSwitch([this](bool on) {
            calls << QStringLiteral("menus %1 [%2]").arg(on ? "on" : "off", book());
        });
        ctx.refreshDashboard = [this] { calls << QStringLiteral("sum [%1]").arg(book()); };
        ctx.setCaption = [this](const QString& c) { calls << QStringLiteral("caption ") + c; };
        ctx.closeWorkingWindow = [this] { calls << QStringLiteral("close [%1]").arg(book()); };
        ctx.endProgram = [this] { calls << QStringLiteral("end"); };
    }

    QString book() const { return ctx.state.myBName; }
    QString password(const QString& name) {
        return file.db()
            .query(QStringLiteral("SELECT BPass FROM SBook WHERE BName=?"), name)
            .text(QStringLiteral("BPass"));
    }

    test::TempDataFile file;
    test::FakeMessages messages;
    AppContext ctx;
    QStringList calls;
};

// Typed character by character, as a keyboard (or a pasted clipboard) delivers Chinese
// into a masked box, where input methods are off.
void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

bool showActive(QWidget& w) {
    w.show();
    return QTest::qWaitForWindowActive(&w);
}

}  // namespace

class OpenBookTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void rememberedLoginIsPrefilledWithOpenFocused();
    void aSingleBookIsOfferedWhenNothingIsRemembered();
    void rememberedBookAloneFocusesThePassword();
    void refusalsComeInOrderWithTheirFocus();
    void choosingABookClearsThePassword();
    void rememberPasswordTicksRememberBookAndExitLogsNothingIn();
    void closeBookRunsItsStepsInOrder();
    void changePasswordRefusesInOrderThenEndsTheProgram();
    void dialogsFitTheirContent();
};

void OpenBookTest::rememberedLoginIsPrefilledWithOpenFocused() {
    Harness h;
    {
        TfrmOpenBook first(h.ctx);
        QCOMPARE(first.windowTitle(), QStringLiteral("打开账簿"));
        QCOMPARE(first.bookBox()->count(), 2);
        QCOMPARE(first.bookBox()->currentIndex(), -1);
        QVERIFY(!first.rememberBookBox()->isChecked());
        QVERIFY(showActive(first));
        first.bookBox()->setFocus();
        QTest::keyClick(first.bookBox(), Qt::Key_Down);
        QCOMPARE(first.bookBox()->currentText(), kHome);
        QCOMPARE(QApplication::focusWidget(), first.passwordEdit());
        QTest::keyClicks(first.passwordEdit(), QStringLiteral("123"));
        first.rememberPasswordBox()->click();
        first.openButton()->click();
        QCOMPARE(first.result(), int(QDialog::Accepted));
    }
    QVERIFY(h.messages.entries.isEmpty());
    QCOMPARE(h.calls,
             QStringList({QStringLiteral("caption 我家账簿"), QStringLiteral("menus on [我家账簿]"),
                          QStringLiteral("sum [我家账簿]")}));

    // The next start: book and password are there, Enter is all it takes.
    h.calls.clear();
    TfrmOpenBook next(h.ctx);
    QCOMPARE(next.bookBox()->currentText(), kHome);
    QCOMPARE(next.passwordEdit()->text(), QStringLiteral("123"));
    QVERIFY(next.rememberBookBox()->isChecked());
    QVERIFY(next.rememberPasswordBox()->isChecked());
    QVERIFY(showActive(next));
    QCOMPARE(QApplication::focusWidget(), next.openButton());
    QTest::keyClick(next.openButton(), Qt::Key_Return);
    QCOMPARE(next.result(), int(QDialog::Accepted));
    QCOMPARE(h.book(), kHome);
}

void OpenBookTest::rememberedBookAloneFocusesThePassword() {
    Harness h;
    QVERIFY(BookLogin(h.file.dm()).login(kTrip, QStringLiteral("abc"), true, false).ok);
    TfrmOpenBook dlg(h.ctx);
    QCOMPARE(dlg.bookBox()->currentText(), kTrip);
    QVERIFY(dlg.rememberBookBox()->isChecked());
    QVERIFY(!dlg.rememberPasswordBox()->isChecked());
    QVERIFY(dlg.passwordEdit()->text().isEmpty());
    QVERIFY(showActive(dlg));
    QCOMPARE(QApplication::focusWidget(), dlg.passwordEdit());
}

void OpenBookTest::aSingleBookIsOfferedWhenNothingIsRemembered() {
    Harness h;
    h.file.db().exec(QStringLiteral("DELETE FROM SBook WHERE BName=?"), kTrip);
    TfrmOpenBook dlg(h.ctx);
    QVERIFY(showActive(dlg));
    QCOMPARE(dlg.bookBox()->currentText(), kHome);
    QVERIFY(!dlg.rememberBookBox()->isChecked());
    QCOMPARE(QApplication::focusWidget(), dlg.passwordEdit());
}

void OpenBookTest::refusalsComeInOrderWithTheirFocus() {
    Harness h;
    h.file.openBook(kTrip);
    TfrmOpenBook dlg(h.ctx);
    QVERIFY(showActive(dlg));

    dlg.openButton()->click();
    QCOMPARE(h.messages.last(), QStringLiteral("请选择 账簿！如果没有账簿，请退出后新建账簿。"));
    QCOMPARE(QApplication::focusWidget(), dlg.bookBox());

    QTest::keyClick(dlg.bookBox(), Qt::Key_Down);
    typeText(dlg.passwordEdit(), QStringLiteral("一二三四五六七八九十百"));
    dlg.openButton()->click();
    QCOMPARE(h.messages.last(), QStringLiteral("密码 长度不能大于20！"));
    QCOMPARE(QApplication::focusWidget(), dlg.passwordEdit());
    // Neither refusal touched the book that was open.
    QCOMPARE(h.book(), kTrip);
    QVERIFY(h.calls.isEmpty());

    dlg.passwordEdit()->clear();
    QTest::keyClicks(dlg.passwordEdit(), QStringLiteral("999"));
    dlg.openButton()->click();
    QCOMPARE(h.messages.texts(),
             QStringList({QStringLiteral("请选择 账簿！如果没有账簿，请退出后新建账簿。"),
                          QStringLiteral("密码 长度不能大于20！"),
                          QStringLiteral("密码错误，请重新录入！")}));
    QCOMPARE(QApplication::focusWidget(), dlg.passwordEdit());
    QVERIFY(dlg.isVisible());
    // The wrong password closed the open book, menus and dashboard with it.
    QCOMPARE(h.book(), QString());
    QCOMPARE(h.calls, QStringList({QStringLiteral("menus off []"), QStringLiteral("sum []")}));

    // The refused password is selected, so typing the right one replaces it.
    QTest::keyClicks(dlg.passwordEdit(), QStringLiteral("123"));
    QCOMPARE(dlg.passwordEdit()->text(), QStringLiteral("123"));
    dlg.openButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(h.book(), kHome);
    QCOMPARE(h.messages.entries.size(), 3);
}

void OpenBookTest::choosingABookClearsThePassword() {
    Harness h;
    QVERIFY(BookLogin(h.file.dm()).login(kHome, QStringLiteral("123"), true, true).ok);
    TfrmOpenBook dlg(h.ctx);
    QVERIFY(showActive(dlg));
    QCOMPARE(dlg.passwordEdit()->text(), QStringLiteral("123"));

    dlg.bookBox()->setFocus();
    QTest::keyClick(dlg.bookBox(), Qt::Key_Down);
    QCOMPARE(dlg.bookBox()->currentText(), kTrip);
    QVERIFY(dlg.passwordEdit()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), dlg.passwordEdit());
}

void OpenBookTest::rememberPasswordTicksRememberBookAndExitLogsNothingIn() {
    Harness h;
    TfrmOpenBook dlg(h.ctx);
    dlg.rememberPasswordBox()->click();
    QVERIFY(dlg.rememberBookBox()->isChecked());
    // Unticking the password does not forget the book.
    dlg.rememberPasswordBox()->click();
    QVERIFY(!dlg.rememberPasswordBox()->isChecked());
    QVERIFY(dlg.rememberBookBox()->isChecked());

    QTest::keyClick(dlg.bookBox(), Qt::Key_Down);
    QTest::keyClicks(dlg.passwordEdit(), QStringLiteral("123"));
    dlg.exitButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(h.book(), QString());
    QVERIFY(h.calls.isEmpty());
    QVERIFY(h.messages.entries.isEmpty());
    QCOMPARE(h.file.count(QStringLiteral("SMRB")), 0);
}

void OpenBookTest::closeBookRunsItsStepsInOrder() {
    Harness h;
    h.file.openBook(kHome);
    h.file.state().myFName = QStringLiteral("爸爸");
    TfrmOpenBook::closeBook(h.ctx);
    QCOMPARE(h.calls, QStringList({QStringLiteral("menus off [我家账簿]"),
                                   QStringLiteral("close []"), QStringLiteral("sum []")}));
    QCOMPARE(h.file.state().myFName, QStringLiteral("爸爸"));
}

void OpenBookTest::changePasswordRefusesInOrderThenEndsTheProgram() {
    Harness h;
    QVERIFY(BookLogin(h.file.dm()).login(kHome, QStringLiteral("123"), true, true).ok);
    TfrmChangePass dlg(h.ctx);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("修改密码"));
    QCOMPARE(dlg.newPasswordEdit()->echoMode(), QLineEdit::Password);
    QCOMPARE(dlg.confirmationEdit()->maxLength(), 20);
    QVERIFY(showActive(dlg));

    QTest::keyClicks(dlg.oldPasswordEdit(), QStringLiteral("999"));
    typeText(dlg.newPasswordEdit(), QStringLiteral("新的"));
    typeText(dlg.confirmationEdit(), QStringLiteral("新"));
    dlg.saveButton()->click();
    QCOMPARE(h.messages.last(), QStringLiteral("原密码错误！"));
    QCOMPARE(QApplication::focusWidget(), dlg.oldPasswordEdit());

    QTest::keyClicks(dlg.oldPasswordEdit(), QStringLiteral("123"));  // replaces the selection
    dlg.saveButton()->click();
    QCOMPARE(h.messages.last(), QStringLiteral("新密码与确认密码不一致！"));
    QCOMPARE(QApplication::focusWidget(), dlg.confirmationEdit());
    QVERIFY(h.calls.isEmpty());
    QCOMPARE(h.password(kHome), QStringLiteral("123"));

    typeText(dlg.confirmationEdit(), dlg.newPasswordEdit()->text());
    dlg.saveButton()->click();
    QCOMPARE(h.messages.texts(), QStringList({QStringLiteral("原密码错误！"),
                                              QStringLiteral("新密码与确认密码不一致！"),
                                              QStringLiteral("密码修改成功！请重新登录！")}));
    QCOMPARE(h.calls, QStringList{QStringLiteral("end")});
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(h.password(kHome), dlg.newPasswordEdit()->text());
    QCOMPARE(BookLogin(h.file.dm()).rememberedPassword(kHome), dlg.newPasswordEdit()->text());
}

void OpenBookTest::dialogsFitTheirContent() {
    Harness h;
    TfrmOpenBook open(h.ctx);
    TfrmChangePass change(h.ctx);
    for (QDialog* d : {static_cast<QDialog*>(&open), static_cast<QDialog*>(&change)}) {
        d->show();
        const QSize need = d->minimumSizeHint();
        QVERIFY2(d->width() >= need.width() && d->height() >= need.height(),
                 qPrintable(d->windowTitle()));
        QVERIFY(d->width() <= 1280 && d->height() <= 800);
    }
}

QTEST_MAIN(OpenBookTest)
#include "OpenBookTest.moc"
