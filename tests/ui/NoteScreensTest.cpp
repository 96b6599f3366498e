#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "notes/NoteBook.h"
#include "notes/ui/TfrmUThing_In.h"
#include "notes/ui/TfrmUThing_Q.h"
#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportTableModel.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/NameComboBox.h"

using namespace cw;

namespace {

const QString kBook = QStringLiteral("我家");

// A book with two members; today is 2026-12-09.
struct Fixture : test::MainFixture {
    Fixture() {
        file.addBook(kBook);
        file.dm().NewFamily(QStringLiteral("爸爸"));
        file.dm().NewFamily(QStringLiteral("妈妈"));
    }

    qint64 note(const char* date, const char* member, const char* title, const char* text) {
        qint64 id = 0;
        NoteBook(file.dm()).add({QString::fromUtf8(date), QString::fromUtf8(member),
                                 QString::fromUtf8(title), QString::fromUtf8(text)},
                                &id);
        return id;
    }

    QString stored(qint64 id, const char* column) {
        return file.db()
            .query(QStringLiteral("SELECT ") + QLatin1String(column) +
                       QStringLiteral(" AS v FROM UThing WHERE ID=?"),
                   id)
            .text(QStringLiteral("v"));
    }

    int count() {
        return int(file.db()
                       .query(QStringLiteral("SELECT count(*) AS n FROM UThing"))
                       .integer(QStringLiteral("n")));
    }
};

// The titles of the query's rows, top to bottom.
QStringList titles(const TfrmUThing_Q& w) {
    QStringList out;
    for (int r = 0; r < w.table().rowCount(); ++r) out << w.table().text(r, Field::Title);
    return out;
}

// Chinese arrives through the input method, as a committed string.
void typeText(QLineEdit* edit, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(edit, &event);
}

}  // namespace

class NoteScreensTest : public QObject {
    Q_OBJECT
  private slots:
    void entryChecksInOrderAndSavesTwiceKeepingDateAndMember();
    void queryFiltersOnTheSummaryAndSorts();
    void changeFromTheQueryRefreshesIt();
    void deleteAsksWithNoAsDefault();
    void excelAndPrintWaitForTheFirstQuery();
    void printedNotesWrapTheirWholeText();
    void menuItemsAreAlive();
};

void NoteScreensTest::entryChecksInOrderAndSavesTwiceKeepingDateAndMember() {
    Fixture fx;
    TfrmUThing_In w(fx.ctx);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("记事录入"));
    QCOMPARE(w.dateEdit()->date(), QDate(2026, 12, 9));
    QVERIFY(w.saveButton()->isDefault());

    w.memberCombo()->setText(QString());
    w.titleEdit()->setText(QStringLiteral("水费"));
    w.textEdit()->setPlainText(QStringLiteral("x"));
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("家庭成员 不能为空！请重新选择！"));
    w.memberCombo()->setText(QStringLiteral("妈妈"));
    w.titleEdit()->clear();
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("标题 不能为空！请重新录入！"));
    QTRY_VERIFY(w.titleEdit()->hasFocus());
    w.titleEdit()->setText(QStringLiteral("水费"));
    w.textEdit()->clear();
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("内容 不能为空！请重新录入！"));
    QTRY_VERIFY(w.textEdit()->hasFocus());
    QCOMPARE(fx.count(), 0);

    w.dateEdit()->setDate(QDate(2026, 11, 30));
    w.textEdit()->setPlainText(QStringLiteral("交了 水费\n共 86 元"));
    w.ButSaveClick();
    QCOMPARE(fx.messages.last(), QStringLiteral("恭喜！恭喜！ 记事 保存成功！"));
    // Open for the next note: title and text cleared, date and member kept.
    QVERIFY(w.isVisible());
    QVERIFY(w.titleEdit()->text().isEmpty());
    QVERIFY(w.textEdit()->toPlainText().isEmpty());
    QTRY_VERIFY(w.titleEdit()->hasFocus());
    QCOMPARE(w.dateEdit()->text(), QStringLiteral("2026-11-30"));
    QCOMPARE(w.memberCombo()->text(), QStringLiteral("妈妈"));

    w.titleEdit()->setText(QStringLiteral("电费"));
    w.textEdit()->setPlainText(QStringLiteral("交了电费"));
    w.ButSaveClick();
    QCOMPARE(fx.count(), 2);
    auto rows =
        fx.file.db().query(QStringLiteral("SELECT TDate, FName, Title, Detail, Summary, BName "
                                          "FROM UThing ORDER BY ID"));
    QCOMPARE(rows.recordCount(), 2);
    QCOMPARE(rows.text(QStringLiteral("Detail")), QStringLiteral("交了 水费\n共 86 元"));
    QCOMPARE(rows.text(QStringLiteral("Summary")), QStringLiteral("交了水费共86元"));
    for (rows.first(); !rows.eof(); rows.next()) {
        QCOMPARE(rows.text(QStringLiteral("TDate")), QStringLiteral("2026-11-30"));
        QCOMPARE(rows.text(QStringLiteral("FName")), QStringLiteral("妈妈"));
        QCOMPARE(rows.text(QStringLiteral("BName")), kBook);
    }
    rows.seek(1);
    QCOMPARE(rows.text(QStringLiteral("Title")), QStringLiteral("电费"));
    w.exitButton()->click();
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void NoteScreensTest::queryFiltersOnTheSummaryAndSorts() {
    Fixture fx;
    fx.note("2026-12-01", "爸爸", "B 买菜", "去 超市");
    fx.note("2026-12-05", "妈妈", "A 修车", "车坏了，去超市旁边修");
    fx.note("2026-10-01", "爸爸", "C 旧事", "超市");  // before the default month
    fx.note("2026-12-03", "爸爸", "D 100%", "打折_促销");
    TfrmUThing_Q w(fx.ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("记事查询"));
    QVERIFY(w.dateBox()->isChecked());
    QCOMPARE(w.fromDate()->date(), QDate(2026, 11, 9));
    QCOMPARE(w.toDate()->date(), QDate(2026, 12, 9));
    QCOMPARE(w.sortCombo()->currentText(), QStringLiteral("日期"));
    QCOMPARE(w.orderCombo()->currentText(), QStringLiteral("升序"));
    QCOMPARE(w.table().rowCount(), 0);  // nothing runs on opening

    w.queryButton()->click();
    QCOMPARE(titles(w), (QStringList{"B 买菜", "D 100%", "A 修车"}));
    QCOMPARE(w.countLabel()->text(), QStringLiteral("记录：3"));
    // The grid shows 日期, 家庭成员, 标题, 内容; the full text stays hidden for export and print.
    const int detail = w.table().columnOf(Field::Detail);
    QVERIFY(w.grid()->isColumnHidden(detail));
    QCOMPARE(w.grid()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("内容"));

    // Typing ticks the box; the text is matched against the summary, which has no blanks.
    typeText(w.textEdit(), QStringLiteral("去 超市"));
    QVERIFY(w.textBox()->isChecked());
    w.queryButton()->click();
    QCOMPARE(w.table().rowCount(), 0);
    w.textEdit()->setText(QStringLiteral("去超市"));
    w.queryButton()->click();
    QCOMPARE(titles(w), (QStringList{"B 买菜", "A 修车"}));

    // % and _ are matched as typed.
    w.textBox()->setChecked(false);
    QTest::keyClicks(w.titleEdit(), QStringLiteral("%"));
    QVERIFY(w.titleBox()->isChecked());
    w.queryButton()->click();
    QCOMPARE(titles(w), QStringList{"D 100%"});
    w.titleBox()->setChecked(false);

    // Moving a date ticks the date box again; picking a member ticks its box.
    w.dateBox()->setChecked(false);
    w.fromDate()->setDate(QDate(2026, 1, 1));
    QVERIFY(w.dateBox()->isChecked());
    w.memberCombo()->setCurrentText(QStringLiteral("爸爸"));
    QVERIFY(w.memberBox()->isChecked());
    w.sortCombo()->setCurrentIndex(2);   // 标题
    w.orderCombo()->setCurrentIndex(1);  // 降序
    w.queryButton()->click();
    QCOMPARE(titles(w), (QStringList{"D 100%", "C 旧事", "B 买菜"}));
}

void NoteScreensTest::changeFromTheQueryRefreshesIt() {
    Fixture fx;
    fx.note("2026-12-01", "爸爸", "早", "一");
    const qint64 id = fx.note("2026-12-02", "爸爸", "晚", "二");
    fx.note("2026-12-03", "妈妈", "别人的", "三");
    TfrmUThing_Q w(fx.ctx);
    w.setDialogRunner([&](QDialog& d) { return fx.main->runDialog(d); });
    w.memberCombo()->setCurrentText(QStringLiteral("爸爸"));
    w.orderCombo()->setCurrentIndex(1);  // 降序
    w.queryButton()->click();
    QCOMPARE(titles(w), (QStringList{"晚", "早"}));
    QVERIFY(w.grid()->contextMenuPolicy() == Qt::CustomContextMenu);

    // The window opens on the current row's note, filled from the store.
    fx.onDialog = [&](QDialog& d) {
        auto* in = qobject_cast<TfrmUThing_In*>(&d);
        if (!in) return int(QDialog::Rejected);
        if (in->noteId() != id || in->titleEdit()->text() != QStringLiteral("晚") ||
            in->textEdit()->toPlainText() != QStringLiteral("二") ||
            in->dateEdit()->text() != QStringLiteral("2026-12-02")) {
            return int(QDialog::Rejected);
        }
        in->dateEdit()->setDate(QDate(2026, 11, 20));
        in->textEdit()->setPlainText(QStringLiteral("改 过\n了"));
        in->ButSaveClick();
        return in->result();
    };
    w.popupMenu()->actions().at(0)->trigger();  // 修改 &M
    QCOMPARE(fx.dialogs, QStringList{"cw::TfrmUThing_In"});
    QCOMPARE(fx.messages.last(), QStringLiteral("恭喜！恭喜！ 记事 保存成功！"));
    QCOMPARE(fx.stored(id, "Summary"), QStringLiteral("改过了"));
    QCOMPARE(fx.stored(id, "TDate"), QStringLiteral("2026-11-20"));
    // The same conditions and order again: the changed note moved to the end.
    QCOMPARE(titles(w), (QStringList{"早", "晚"}));
    QCOMPARE(w.table().text(1, Field::Summary), QStringLiteral("改过了"));
    QCOMPARE(w.grid()->currentIndex().row(), 1);

    // A failed check keeps the note window open and changes nothing.
    fx.onDialog = [&](QDialog& d) {
        auto* in = qobject_cast<TfrmUThing_In*>(&d);
        in->titleEdit()->clear();
        in->ButSaveClick();
        return in->result();
    };
    w.modify();
    QCOMPARE(fx.messages.last(), QStringLiteral("标题 不能为空！请重新录入！"));
    QCOMPARE(fx.stored(id, "Title"), QStringLiteral("晚"));
}

void NoteScreensTest::deleteAsksWithNoAsDefault() {
    Fixture fx;
    fx.note("2026-12-01", "爸爸", "一", "一");
    const qint64 second = fx.note("2026-12-02", "爸爸", "二", "二");
    TfrmUThing_Q w(fx.ctx);
    w.deleteCurrent();  // no rows yet: nothing asked
    QVERIFY(fx.messages.entries.isEmpty());
    w.queryButton()->click();
    w.grid()->setCurrentIndex(w.grid()->model()->index(1, 0));

    fx.messages.answers = {false};
    w.popupMenu()->actions().at(2)->trigger();  // 删除 &D, after the separator
    QCOMPARE(fx.messages.entries.size(), 1);
    const auto asked = fx.messages.entries.last();
    QCOMPARE(asked.kind, QStringLiteral("ask"));
    QCOMPARE(asked.text, QStringLiteral("确认要删除吗？该删除将不可恢复！"));
    QCOMPARE(asked.caption, QStringLiteral("删除"));
    QVERIFY(!asked.defaultYes);
    QCOMPARE(fx.count(), 2);

    fx.messages.answers = {true};
    w.deleteCurrent();
    QCOMPARE(fx.count(), 1);
    QCOMPARE(fx.stored(second, "count(*)"), QStringLiteral("0"));
    QCOMPARE(titles(w), QStringList{"一"});
    QCOMPARE(w.countLabel()->text(), QStringLiteral("记录：1"));
}

void NoteScreensTest::excelAndPrintWaitForTheFirstQuery() {
    Fixture fx;
    fx.note("2026-12-01", "爸爸", "长文", "第一行\n第二行");
    TfrmUThing_Q w(fx.ctx);
    w.setDialogRunner([&](QDialog& d) { return fx.main->runDialog(d); });
    QVERIFY(!w.excelButton()->isEnabled());
    QVERIFY(!w.printButton()->isEnabled());
    w.queryButton()->click();
    QVERIFY(w.excelButton()->isEnabled());
    QVERIFY(w.printButton()->isEnabled());

    ExcelExport::opener() = [](const QUrl&) { return true; };
    w.excelButton()->click();
    const QStringList files =
        QDir(fx.file.programDir() + QStringLiteral("/Export")).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(files[0].contains(QStringLiteral("记事表")), qPrintable(files[0]));

    w.printButton()->click();
    QCOMPARE(fx.dialogs, QStringList{"QPrintPreviewDialog"});
}

// The printed 标题 and 内容 wrap: the whole text of a long note is on paper, lines of its own
// included, and the dates print whole.
void NoteScreensTest::printedNotesWrapTheirWholeText() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    Fixture fx;
    QString detail;
    for (int i = 1; i <= 40; ++i) detail += QStringLiteral("第%1句话，").arg(i);
    detail += QStringLiteral("\nlast-line-of-the-note");
    fx.note("2026-12-01", "爸爸", "一个很长很长很长很长很长很长很长很长很长很长很长很长的标题",
            detail.toUtf8().constData());
    for (int i = 0; i < 25; ++i) fx.note("2026-12-02", "妈妈", "短", "短");
    NoteBook::Filter all;
    all.byDate = false;
    const ReportTable table = NoteBook(fx.file.dm()).find(all);
    const ReportPainter painter(PrintLayout::named(QStringLiteral("Print/theJS.rf3")), table, kBook,
                                QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("notes.pdf"));
    QVERIFY(painter.writePdf(path, fx.file.dataPath()));
    QProcess p;
    p.start(pdftotext, {path, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(text.count(QStringLiteral("2026-12-02")), 25);
    // 26 one-line rows would fit one page; the grown row pushes the last ones onto a second.
    QCOMPARE(text.count(QStringLiteral("页数")), 2);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    QVERIFY(text.contains(QStringLiteral("第1句话，第2句话，")));
    QVERIFY(text.contains(QStringLiteral("第40句话，last-line-of-the-note")));
    QVERIFY(text.contains(QStringLiteral("很长的标题")));
}

void NoteScreensTest::menuItemsAreAlive() {
    Fixture fx;
    QVERIFY(fx.main->action(QStringLiteral("记事录入 &I"))->isEnabled());
    fx.main->action(QStringLiteral("记事查询 &Q"))->trigger();
    QCOMPARE(fx.main->workingWindowClass(), QStringLiteral("TfrmUThing_Q"));
    fx.main->action(QStringLiteral("记事录入 &I"))->trigger();
    QVERIFY(fx.dialogs.contains(QStringLiteral("cw::TfrmUThing_In")));
    fx.main->myfrmClose();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(NoteScreensTest)
#include "NoteScreensTest.moc"
