#include <QAbstractItemModelTester>
#include <QBrush>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "storage/DbError.h"
#include "storage/PinyinCode.h"
#include "storage/Transaction.h"
#include "support/TempDataFile.h"
#include "ui/support/FakeMessages.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/MoneyEdit.h"
#include "widgets/NameComboBox.h"
#include "widgets/Navigator.h"
#include "widgets/PinyinKeySearch.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

const QString kBook = QStringLiteral("我家账簿");

// The income list the way the posting screen asks for it.
const QString kIncomeList = QStringLiteral(
    "SELECT ID, BName AS 账薄名称, IDate AS 日期, IName AS 收入类别, IMoney AS 金额 "
    "FROM InTable WHERE BName=? ORDER BY ID");

void addIncome(test::TempDataFile& file, const QString& date, const QString& category,
               double amount) {
    file.db().exec(QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney) VALUES(?,?,?,?)"),
                   kBook, date, category, amount);
}

// Six postings: two tie on the amount, the categories mix ASCII, CJK, full-width and a
// character beyond U+FFFF, whose UTF-16 form would sort before the full-width one.
void fillIncome(test::TempDataFile& file) {
    addIncome(file, "2026-01-05", QStringLiteral("工资"), 100);
    addIncome(file, "2026-01-03", QStringLiteral("b"), 20);
    addIncome(file, "2026-01-09", QStringLiteral("\U00020000"), 5);
    addIncome(file, "2026-01-01", QStringLiteral("！"), 1234.5);
    addIncome(file, "2026-01-07", QStringLiteral("A"), 20);
    addIncome(file, "2026-01-02", QStringLiteral("a"), -3);
}

// A fresh data file whose open book holds the six postings above.
struct IncomeBook {
    test::TempDataFile file;
    IncomeBook() {
        file.addBook(kBook);
        fillIncome(file);
    }
};

QStringList column(const QueryGridModel& model, const QString& name) {
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r) out << model.textAt(r, name);
    return out;
}

void clickTitle(QueryGrid& grid, int section) {
    QHeaderView* header = grid.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

bool showGrid(QueryGrid& grid) {
    grid.resize(800, 300);
    grid.show();
    return QTest::qWaitForWindowExposed(&grid);
}

bool isMarked(const QueryGridModel& model, int section, Qt::GlobalColor colour) {
    const QVariant font = model.headerData(section, Qt::Horizontal, Qt::FontRole);
    const QVariant brush = model.headerData(section, Qt::Horizontal, Qt::ForegroundRole);
    return font.isValid() && font.value<QFont>().bold() && brush.isValid() &&
           brush.value<QBrush>().color() == QColor(colour);
}

bool isPlain(const QueryGridModel& model, int section) {
    return !model.headerData(section, Qt::Horizontal, Qt::FontRole).isValid() &&
           !model.headerData(section, Qt::Horizontal, Qt::ForegroundRole).isValid();
}

// n journal rows of the book, one transaction, theIn = the row's number.
void fillJournal(test::TempDataFile& file, int n) {
    Transaction t(file.db());
    Statement insert = file.db().prepare(QStringLiteral(
        "INSERT INTO UList(BName,theDate,theType,theIn,AName) VALUES(?,?,?,?,'现金')"));
    for (int i = 1; i <= n; ++i) {
        insert.reset();
        insert.bindAll(kBook, QStringLiteral("2026-01-%1").arg(1 + i % 28, 2, 10, QChar('0')),
                       QStringLiteral("工资"), double(i));
        insert.run();
    }
    t.commit();
}

// Types text as the keyboard does, one character a key press, CJK included.
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QueryGridModel::PagedSource journalSource() {
    QueryGridModel::PagedSource source;
    source.sql = QStringLiteral(
        "SELECT theDate AS 日期, theType AS 收支类别, theIn AS 收入, AName AS 账户名称, ID "
        "FROM UList WHERE BName=? ORDER BY ID");
    source.args = {kBook};
    source.countSql = QStringLiteral("SELECT count(*) FROM UList WHERE BName=?");
    source.countArgs = {kBook};
    return source;
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void modelPassesTheModelTester();
    void modelShowsMoneyAndKeepsHiddenColumnsReadable();
    void titleClicksSortWithMarks();
    void titleSortKeepsTheCurrentRecord();
    void titlesThatDoNotSort();
    void pagedListReadsPageByPage();
    void pagedListSortsByTheEngineAndSurvivesWrites();
    void pagedListRefusesABadStatement();
    void navigatorFollowsThePosition();
    void navigatorReadsPagesToTheEnd();
    void nameBoxCompletesUniqueMatches();
    void nameBoxLimitsAndPlainMode();
    void nameBoxOfferIsNeverTypedInto();
    void pickListFindsNamesByPinyin();
    void datePickerRoundTripAndEmpty();
    void moneyEditAcceptsOnlyNumbers();
    void warnThenFocusAndDeleteQuestion();
};

void WidgetsTest::modelPassesTheModelTester() {
    test::TempDataFile file;
    file.addBook(kBook);
    fillIncome(file);
    fillJournal(file, 700);
    {
        QueryGridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setSql(file.db(), kIncomeList, kBook);
        model.sortByTitle(4);
        model.sortByTitle(4);
        model.sortByTitle(3);
        model.setMoneyColumns({"金额"});
        model.refresh();
        model.setQuery(file.db().query(kIncomeList, kBook));
        model.sortByTitle(2);
        model.refresh();
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }
    // The tester reads on whenever it may, and does so inside its own reset handler as
    // well, so the paged rows are checked as they are read page by page.
    QueryGridModel paged;
    paged.setPagedQuery(file.db(), journalSource());
    QAbstractItemModelTester tester(&paged, QAbstractItemModelTester::FailureReportingMode::QtTest);
    while (paged.canFetchMore()) paged.fetchMore();
    QCOMPARE(paged.rowCount(), 700);
}

void WidgetsTest::modelShowsMoneyAndKeepsHiddenColumnsReadable() {
    IncomeBook book;
    test::TempDataFile& file = book.file;
    QueryGrid grid;
    QueryGridModel* model = grid.gridModel();
    model->setHiddenColumns({"ID", "账薄名称"});
    model->setSql(file.db(), kIncomeList, kBook);

    QCOMPARE(model->columnNames(), QStringList({"ID", "账薄名称", "日期", "收入类别", "金额"}));
    QVERIFY(grid.isColumnHidden(0));
    QVERIFY(grid.isColumnHidden(1));
    QVERIFY(!grid.isColumnHidden(2));
    // Money with separators and two decimals, right-aligned; text left.
    QCOMPARE(model->data(model->index(3, 4)).toString(), QString("1,234.50"));
    QCOMPARE(model->data(model->index(5, 4)).toString(), QString("-3.00"));
    QVERIFY(model->data(model->index(3, 4), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(model->data(model->index(3, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    // Read back as the handlers read the current row: plain text, by alias.
    QCOMPARE(model->textAt(3, "金额"), QString("1234.5"));
    QCOMPARE(model->textAt(0, "账薄名称"), kBook);
    const qint64 fourth = model->valueAt(3, "id").toLongLong();
    QCOMPARE(model->rowOfId(fourth), 3);
    QCOMPARE(model->rowOfId(99999), -1);
    QVERIFY_THROWS_EXCEPTION(DbError, model->textAt(0, "收入"));
    // A sum comes back whole when every amount is whole; it is still money.
    QueryGridModel sums;
    sums.setSql(file.db(), "SELECT 7 AS 金额, 7 AS 次数");
    sums.setMoneyColumns({"金额"});
    QCOMPARE(sums.data(sums.index(0, 0)).toString(), QString("7.00"));
    QCOMPARE(sums.data(sums.index(0, 1)).toString(), QString("7"));
    // The list opens on its first row. The name takes the spare width, never the trailing
    // amount; the other columns fit their content and title, empty or full.
    QCOMPARE(grid.currentRow(), 0);
    addIncome(file, "2026-01-10", QString(200, QChar(0x957F)), 1);
    model->refresh();
    QCOMPARE(grid.horizontalHeader()->sectionResizeMode(3), QHeaderView::Stretch);
    QCOMPARE(grid.horizontalHeader()->sectionResizeMode(4), QHeaderView::Interactive);
    QVERIFY(grid.columnWidth(4) < QueryGrid::kMaxColumnWidth);
    QVERIFY(grid.columnWidth(4) >= grid.fontMetrics().horizontalAdvance("金额"));
    QVERIFY(grid.columnWidth(2) >= grid.fontMetrics().horizontalAdvance("2026-01-10"));
    // A width the screen fixes holds across refreshes.
    grid.setColumnWidthFor("收入类别", 100);
    model->refresh();
    QCOMPARE(grid.columnWidth(3), 100);
    // With no rows the titles still read whole.
    file.db().exec("DELETE FROM InTable");
    model->refresh();
    QVERIFY(grid.columnWidth(4) >= grid.fontMetrics().horizontalAdvance("金额"));
    QVERIFY(grid.columnWidth(4) >= QueryGrid::kMinColumnWidth);
}

void WidgetsTest::titleClicksSortWithMarks() {
    IncomeBook book;
    test::TempDataFile& file = book.file;
    QueryGrid grid;
    QVERIFY(showGrid(grid));
    QueryGridModel* model = grid.gridModel();
    model->setSql(file.db(), kIncomeList, kBook);

    // Numbers numerically (as text "100" would come before "20"); the two 20s keep the
    // order of the statement in both directions.
    clickTitle(grid, 4);
    QCOMPARE(column(*model, "金额"), QStringList({"-3", "5", "20", "20", "100", "1234.5"}));
    QCOMPARE(column(*model, "收入类别").mid(2, 2), QStringList({"b", "A"}));
    QVERIFY(isMarked(*model, 4, Qt::red));
    QVERIFY(isPlain(*model, 3));
    clickTitle(grid, 4);
    QCOMPARE(column(*model, "金额"), QStringList({"1234.5", "100", "20", "20", "5", "-3"}));
    QCOMPARE(column(*model, "收入类别").mid(2, 2), QStringList({"b", "A"}));
    QVERIFY(isMarked(*model, 4, Qt::blue));
    clickTitle(grid, 4);
    QVERIFY(isMarked(*model, 4, Qt::red));
    QCOMPARE(model->textAt(0, "金额"), QString("-3"));

    // Text in pinyin order: a sign alone first, letters whatever their case (capitals first
    // among equals), CJK by its syllables, a character without a reading (U+20000) last.
    clickTitle(grid, 3);
    QCOMPARE(column(*model, "收入类别"),
             QStringList({"！", "A", "a", "b", "工资", QStringLiteral("\U00020000")}));
    QVERIFY(isMarked(*model, 3, Qt::red));
    QVERIFY(isPlain(*model, 4));
    QCOMPARE(model->sortColumn(), 3);
    QCOMPARE(model->sortOrder(), Qt::AscendingOrder);

    // A refresh reads the statement's order again and drops the marks.
    model->refresh();
    QCOMPARE(model->sortColumn(), -1);
    QVERIFY(isPlain(*model, 3));
    QCOMPARE(model->textAt(0, "收入类别"), QString("工资"));
}

void WidgetsTest::titleSortKeepsTheCurrentRecord() {
    IncomeBook book;
    test::TempDataFile& file = book.file;
    QueryGrid grid;
    QueryGridModel* model = grid.gridModel();
    model->setSql(file.db(), kIncomeList, kBook);
    const qint64 payday = model->valueAt(0, "ID").toLongLong();  // 工资 100
    QSignalSpy moved(&grid, &QueryGrid::currentRowChanged);
    model->sortByTitle(4);
    QCOMPARE(grid.currentRow(), 4);
    QCOMPARE(model->valueAt(grid.currentRow(), "ID").toLongLong(), payday);
    QVERIFY(!moved.isEmpty());
    QCOMPARE(moved.last().at(0).toInt(), 4);
    QVERIFY(grid.selectId(payday));
    QCOMPARE(grid.currentRow(), 4);
}

void WidgetsTest::titlesThatDoNotSort() {
    IncomeBook book;
    test::TempDataFile& file = book.file;
    QueryGrid grid;
    grid.setTitleSort(false);
    QVERIFY(showGrid(grid));
    grid.gridModel()->setSql(file.db(), kIncomeList, kBook);
    clickTitle(grid, 4);
    QCOMPARE(grid.gridModel()->sortColumn(), -1);
    QCOMPARE(grid.gridModel()->textAt(0, "收入类别"), QString("工资"));
    // Locked for entry, titles do not sort either.
    grid.setTitleSort(true);
    grid.setLocked(true);
    emit grid.horizontalHeader()->sectionClicked(4);
    QCOMPARE(grid.gridModel()->sortColumn(), -1);
    QVERIFY(!grid.isEnabled());
}

void WidgetsTest::pagedListReadsPageByPage() {
    test::TempDataFile file;
    file.addBook(kBook);
    fillJournal(file, 3000);
    QueryGridModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.setPagedQuery(file.db(), journalSource());
    QVERIFY(model.isPaged());
    QCOMPARE(model.rowCount(), QueryGridModel::kDefaultPageSize);
    QCOMPARE(model.totalCount(), qint64(3000));
    QVERIFY(model.canFetchMore());
    model.fetchMore();
    QCOMPARE(model.rowCount(), 2 * QueryGridModel::kDefaultPageSize);
    QCOMPARE(inserted.count(), 1);
    while (model.canFetchMore()) model.fetchMore();
    QCOMPARE(model.rowCount(), 3000);
    QCOMPARE(inserted.count(), 11);  // 3000 rows: 12 pages, the first read at once
    for (int r : {0, 255, 256, 2999}) QCOMPARE(model.numberAt(r, "收入"), double(r + 1));
    QVERIFY(model.lastError().isEmpty());
    // A row far down is found by reading on.
    model.setPagedQuery(file.db(), journalSource());
    const qint64 id =
        file.db().query("SELECT max(ID) AS m FROM UList WHERE BName=?", kBook).integer("m");
    QCOMPARE(model.rowOfId(id), -1);
    QCOMPARE(model.rowOfId(id, true), 2999);
}

void WidgetsTest::pagedListSortsByTheEngineAndSurvivesWrites() {
    test::TempDataFile file;
    file.addBook(kBook);
    fillJournal(file, 3000);
    QueryGridModel model;
    model.setPagedQuery(file.db(), journalSource());

    model.sortByTitle(2);  // 收入 ascending: already the order of entry
    QCOMPARE(model.numberAt(0, "收入"), 1.0);
    QVERIFY(isMarked(model, 2, Qt::red));
    model.sortByTitle(2);
    QCOMPARE(model.rowCount(), QueryGridModel::kDefaultPageSize);
    QCOMPARE(model.numberAt(0, "收入"), 3000.0);
    QCOMPARE(model.numberAt(255, "收入"), 2745.0);
    QVERIFY(isMarked(model, 2, Qt::blue));
    model.fetchMore();
    QCOMPARE(model.numberAt(256, "收入"), 2744.0);
    while (model.canFetchMore()) model.fetchMore();
    QCOMPARE(model.numberAt(2999, "收入"), 1.0);

    // The open statement and the program's writes get along: a write, and a transaction
    // rolled back (schema change included), while the list walks the table lose no row.
    QueryGridModel walking;
    walking.setPagedQuery(file.db(), journalSource());
    file.db().exec("UPDATE SAccount SET Remark='x' WHERE BName=?", kBook);
    {
        Transaction t(file.db());
        file.db().exec("INSERT INTO InD(BName,IName) VALUES(?,'临时')", kBook);
        file.db().execScript("CREATE TABLE Scratch(a)");
    }
    while (walking.canFetchMore()) walking.fetchMore();
    QVERIFY2(walking.lastError().isEmpty(), qPrintable(walking.lastError()));
    QCOMPARE(walking.rowCount(), 3000);
    for (int r = 0; r < 3000; ++r) {
        if (walking.numberAt(r, "收入") != r + 1) QFAIL("row lost or doubled");
    }

    // Ties keep the order of entry: every row has the same kind.
    model.sortByTitle(1);
    QCOMPARE(model.numberAt(0, "收入"), 1.0);
    QCOMPARE(model.numberAt(1, "收入"), 2.0);

    // The caller's own sorted statement.
    auto source = journalSource();
    QStringList asked;
    source.sortedSql = [&asked](const QString& title, Qt::SortOrder order) -> QString {
        asked << title;
        return QStringLiteral(
                   "SELECT theDate AS 日期, theType AS 收支类别, theIn AS 收入, "
                   "AName AS 账户名称, ID FROM UList WHERE BName=? ORDER BY theIn") +
               (order == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString());
    };
    model.setPagedQuery(file.db(), source);
    model.sortByTitle(2);
    model.sortByTitle(2);
    QCOMPARE(asked, QStringList({"收入", "收入"}));
    QCOMPARE(model.numberAt(0, "收入"), 3000.0);
    QCOMPARE(model.totalCount(), qint64(3000));
    model.refresh();
    QCOMPARE(model.sortColumn(), -1);
    QCOMPARE(model.numberAt(0, "收入"), 1.0);
}

void WidgetsTest::pagedListRefusesABadStatement() {
    test::TempDataFile file;
    file.addBook(kBook);
    fillJournal(file, 10);
    QueryGridModel model;
    model.setPagedQuery(file.db(), journalSource());
    auto bad = journalSource();
    bad.sql = QStringLiteral("SELECT nothing FROM UList WHERE BName=?");
    QVERIFY_THROWS_EXCEPTION(DbError, model.setPagedQuery(file.db(), bad));
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.textAt(0, "收支类别"), QString("工资"));
}

void WidgetsTest::navigatorFollowsThePosition() {
    test::TempDataFile file;
    file.addBook(kBook);
    addIncome(file, "2026-01-01", "a", 1);
    addIncome(file, "2026-01-02", "b", 2);
    addIncome(file, "2026-01-03", "c", 3);
    QueryGrid grid;
    Navigator nav;
    nav.setGrid(&grid);
    auto state = [&nav] {
        return QList<bool>{nav.firstButton()->isEnabled(), nav.priorButton()->isEnabled(),
                           nav.nextButton()->isEnabled(), nav.lastButton()->isEnabled()};
    };
    QCOMPARE(state(), QList<bool>({false, false, false, false}));  // nothing loaded
    QCOMPARE(nav.firstButton()->text(), QString("第一条"));
    QCOMPARE(nav.priorButton()->text(), QString("上一条"));
    QCOMPARE(nav.nextButton()->text(), QString("下一条"));
    QCOMPARE(nav.lastButton()->text(), QString("最后一条"));

    grid.gridModel()->setSql(file.db(), kIncomeList, kBook);
    QCOMPARE(grid.currentRow(), 0);
    QCOMPARE(state(), QList<bool>({false, false, true, true}));
    QTest::mouseClick(nav.nextButton(), Qt::LeftButton);
    QCOMPARE(grid.currentRow(), 1);
    QCOMPARE(state(), QList<bool>({true, true, true, true}));
    QTest::mouseClick(nav.lastButton(), Qt::LeftButton);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(state(), QList<bool>({true, true, false, false}));
    QTest::mouseClick(nav.priorButton(), Qt::LeftButton);
    QCOMPARE(grid.gridModel()->textAt(grid.currentRow(), "收入类别"), QString("b"));
    QTest::mouseClick(nav.firstButton(), Qt::LeftButton);
    QCOMPARE(grid.currentRow(), 0);

    grid.setLocked(true);
    QCOMPARE(state(), QList<bool>({false, false, false, false}));
    nav.next();
    QCOMPARE(grid.currentRow(), 0);
    grid.setLocked(false);
    QCOMPARE(state(), QList<bool>({false, false, true, true}));

    // A title sort moves the current record to the end of the list.
    grid.gridModel()->sortByTitle(4);
    grid.gridModel()->sortByTitle(4);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(state(), QList<bool>({true, true, false, false}));

    file.db().exec("DELETE FROM InTable");
    grid.gridModel()->refresh();
    QCOMPARE(grid.currentRow(), -1);
    QCOMPARE(state(), QList<bool>({false, false, false, false}));
}

void WidgetsTest::navigatorReadsPagesToTheEnd() {
    test::TempDataFile file;
    file.addBook(kBook);
    fillJournal(file, 600);
    QueryGrid grid;
    Navigator nav;
    nav.setGrid(&grid);
    auto source = journalSource();
    source.pageSize = 100;
    grid.gridModel()->setPagedQuery(file.db(), source);
    QCOMPARE(grid.gridModel()->rowCount(), 100);
    grid.selectRow(99);
    QVERIFY(nav.nextButton()->isEnabled());  // more rows wait to be read
    nav.next();
    QCOMPARE(grid.currentRow(), 100);
    QCOMPARE(grid.gridModel()->rowCount(), 200);
    nav.last();
    QCOMPARE(grid.currentRow(), 599);
    QCOMPARE(grid.gridModel()->numberAt(599, "收入"), 600.0);
    QVERIFY(!nav.nextButton()->isEnabled());
    QVERIFY(!nav.lastButton()->isEnabled());
}

void WidgetsTest::nameBoxCompletesUniqueMatches() {
    test::TempDataFile file;
    file.addBook(kBook);
    for (const QString& name : {QStringLiteral("工资"), QStringLiteral("奖金"),
                                QStringLiteral("租赁所得"), QStringLiteral("50%返现")}) {
        file.db().exec("INSERT INTO InD(BName,IName,thePY,theState) VALUES(?,?,?,'启用')", kBook,
                       name, PinyinCode::of(name));
    }
    NameComboBox box;
    box.setNames(file.dm().ComInType());
    QCOMPARE(box.names().size(), 4);
    QCOMPARE(box.text(), QString());  // a filled list leaves the text empty
    box.setSearch(&file.dm(), "IName", "InD");
    QSignalSpy completed(&box, &NameComboBox::nameCompleted);

    // "Z" is in GZ and ZLSD: two names, the text stays as typed.
    type(box.lineEdit(), "Z");
    QCOMPARE(box.text(), QString("Z"));
    type(box.lineEdit(), "L");
    QCOMPARE(box.text(), QString("租赁所得"));
    QCOMPARE(box.lineEdit()->cursorPosition(), 4);
    QCOMPARE(completed.count(), 1);

    // Part of the name itself.
    box.lineEdit()->clear();
    type(box.lineEdit(), "资");
    QCOMPARE(box.text(), QString("工资"));

    // "%" is a character, not a wildcard: only the name that holds it matches.
    box.lineEdit()->clear();
    type(box.lineEdit(), "%");
    QCOMPARE(box.text(), QString("50%返现"));

    // No match: the typed text stays and is what a save will create.
    box.lineEdit()->clear();
    type(box.lineEdit(), "稿费");
    QCOMPARE(box.text(), QString("稿费"));

    // Setting the text from code never searches.
    box.setText("Z");
    QCOMPARE(box.text(), QString("Z"));
    box.setText("奖金");
    QCOMPARE(box.currentIndex(), box.names().indexOf("奖金"));
    QCOMPARE(completed.count(), 3);
}

// The keystroke sequences that once booked to invented names ("利息收入sr", "现金钱包OC").
void WidgetsTest::nameBoxOfferIsNeverTypedInto() {
    test::TempDataFile file;
    file.addBook(kBook);
    for (const QString& name :
         {QStringLiteral("利息收入"), QStringLiteral("工资"), QStringLiteral("现金钱包")}) {
        file.db().exec("INSERT INTO InD(BName,IName,thePY,theState) VALUES(?,?,?,'启用')", kBook,
                       name, PinyinCode::of(name));
    }
    NameComboBox box;
    box.setNames(file.dm().ComInType());
    box.setSearch(&file.dm(), "IName", "InD");

    // The pinyin code typed in full: the offer after "l" is kept, never appended to.
    type(box.lineEdit(), "lxsr");
    QCOMPARE(box.text(), QString("利息收入"));
    QCOMPARE(box.lineEdit()->selectedText(), QString("利息收入"));

    // "B" offers 现金钱包 (XJQB); "O" replaces the offer; the rest is a truly new name.
    box.lineEdit()->clear();
    type(box.lineEdit(), "B");
    QCOMPARE(box.text(), QString("现金钱包"));
    type(box.lineEdit(), "OC");
    QCOMPARE(box.text(), QString("BOC"));

    // A name beginning with the typing shows the typing and the offered tail selected;
    // Backspace withdraws the offer and leaves what was typed.
    box.lineEdit()->clear();
    type(box.lineEdit(), "现");
    QCOMPARE(box.text(), QString("现金钱包"));
    QCOMPARE(box.lineEdit()->selectedText(), QString("金钱包"));
    QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
    QCOMPARE(box.text(), QString("现"));
    QVERIFY(!box.lineEdit()->hasSelectedText());

    // Any other key takes the offer; typing after that is ordinary typing.
    box.lineEdit()->clear();
    type(box.lineEdit(), "g");
    QCOMPARE(box.text(), QString("工资"));
    QTest::keyClick(box.lineEdit(), Qt::Key_End);
    QCOMPARE(box.text(), QString("工资"));
    type(box.lineEdit(), "2");
    QCOMPARE(box.text(), QString("工资2"));
}

void WidgetsTest::nameBoxLimitsAndPlainMode() {
    test::TempDataFile file;
    file.addBook(kBook);
    file.db().exec("INSERT INTO InD(BName,IName,thePY,theState) VALUES(?,'工资','GZ','启用')",
                   kBook);
    NameComboBox box;
    box.setNames({"工资"});
    type(box.lineEdit(), "一二三四五六七八九十一二三四五六七八九十多出来");
    QCOMPARE(box.text().size(), NameComboBox::kMaxLength);
    // Plain list: no completion.
    box.lineEdit()->clear();
    type(box.lineEdit(), "GZ");
    QCOMPARE(box.text(), QString("GZ"));
    // Enter does not add the typed text to the list.
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    QCOMPARE(box.names(), QStringList({"工资"}));
    // With the search set and then cleared again.
    box.setSearch(&file.dm(), "IName", "InD");
    box.lineEdit()->clear();
    type(box.lineEdit(), "g");
    QCOMPARE(box.text(), QString("工资"));
    box.clearSearch();
    QVERIFY(!box.hasSearch());
    box.lineEdit()->clear();
    type(box.lineEdit(), "g");
    QCOMPARE(box.text(), QString("g"));
}

void WidgetsTest::datePickerRoundTripAndEmpty() {
    DatePicker picker;
    QVERIFY(picker.setText("2024-02-29"));
    QCOMPARE(picker.text(), QString("2024-02-29"));
    QCOMPARE(picker.displayFormat(), QString("yyyy-MM-dd"));
    QVERIFY(picker.calendarPopup());
    QVERIFY(!picker.setText("2024-13-01"));
    QVERIFY(!picker.setText("2024/03/01"));
    QVERIFY(!picker.setText(""));  // a date field that needs a date
    QCOMPARE(picker.text(), QString("2024-02-29"));

    DatePicker birthday;
    birthday.setAllowEmpty(true);
    QVERIFY(birthday.setText(""));
    QVERIFY(birthday.isEmpty());
    QCOMPARE(birthday.text(), QString());
    QCOMPARE(static_cast<QAbstractSpinBox&>(birthday).text().trimmed(), QString());  // shown
    // The user picks a day in the calendar.
    QSignalSpy changed(&birthday, &QDateEdit::dateChanged);
    emit birthday.calendarWidget()->clicked(QDate(1980, 1, 1));
    QCOMPARE(birthday.text(), QString("1980-01-01"));
    QVERIFY(!birthday.isEmpty());
    QCOMPARE(changed.count(), 1);
    QVERIFY(birthday.setText(""));
    QCOMPARE(birthday.text(), QString());
    // No longer allowed to be empty: it shows a date again.
    birthday.setAllowEmpty(false);
    QVERIFY(!birthday.text().isEmpty());
}

void WidgetsTest::moneyEditAcceptsOnlyNumbers() {
    MoneyEdit edit;
    struct Case {
        const char* typed;
        const char* shown;
        bool number;
        double value;
    };
    const Case cases[] = {
        {"1.2.3", "1.23", true, 1.23}, {"abc", "", false, 0},      {"-5", "-5", true, -5},
        {"+.5", "+.5", true, 0.5},     {"5-", "5", true, 5},       {"-", "-", false, 0},
        {"１２", "", false, 0},        {"12,5", "125", true, 125},
    };
    for (const Case& c : cases) {
        edit.clear();
        type(&edit, QString::fromUtf8(c.typed));
        QCOMPARE(edit.text(), QString::fromUtf8(c.shown));
        bool ok = false;
        QCOMPARE(edit.value(&ok), c.value);
        QCOMPARE(ok, c.number);
        QCOMPARE(edit.hasValue(), c.number);
    }
    edit.setValue(-550.5);
    QCOMPARE(edit.text(), QString("-550.5"));
    edit.setValue(100);
    QCOMPARE(edit.text(), QString("100"));
}

void WidgetsTest::warnThenFocusAndDeleteQuestion() {
    // Records whether the field already had the focus when the message came.
    struct Probe : test::FakeMessages {
        QWidget* field = nullptr;
        bool focusedAtMessage = true;
        void warn(const QString& text, const QString& caption) override {
            focusedAtMessage = field->hasFocus();
            FakeMessages::warn(text, caption);
        }
    };
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* name = new QLineEdit("旧名称", &window);
    layout->addWidget(other);
    layout->addWidget(name);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    Probe messages;
    messages.field = name;
    Dialogs::focusAndWarn(messages, name, "收入类别不能为空！请重新录入！");
    QCOMPARE(messages.entries.size(), 1);
    QCOMPARE(messages.entries[0].kind, QString("warn"));
    QCOMPARE(messages.last(), QString("收入类别不能为空！请重新录入！"));
    QVERIFY(!messages.focusedAtMessage);
    QTRY_VERIFY(name->hasFocus());
    QCOMPARE(name->selectedText(), QString("旧名称"));

    test::FakeMessages ask;
    ask.answers = {true, false};
    QVERIFY(Dialogs::askDelete(ask));
    QVERIFY(!Dialogs::askDelete(ask));
    QVERIFY(!Dialogs::askDelete(ask));  // no scripted answer left: No
    QCOMPARE(ask.entries.size(), 3);
    for (const auto& e : ask.entries) {
        QCOMPARE(e.kind, QString("ask"));
        QCOMPARE(e.caption, QString("删除"));
        QCOMPARE(e.text, QString("确认要删除吗？该删除将不可恢复！"));
        QVERIFY(!e.defaultYes);
    }
}

void WidgetsTest::pickListFindsNamesByPinyin() {
    QComboBox box;
    box.addItems({QStringLiteral("现金"), QStringLiteral("工商银行"), QStringLiteral("利息收入"),
                  QStringLiteral("BOC"), QStringLiteral("建设银行")});
    box.setCurrentIndex(-1);
    cw::PinyinKeySearch::attach(&box);
    QSignalSpy activated(&box, &QComboBox::activated);
    type(&box, QStringLiteral("gs"));
    QCOMPARE(box.currentText(), QStringLiteral("工商银行"));
    QCOMPARE(activated.count(), 1);    // "g" picked it; "s" kept it
    type(&box, QStringLiteral("yh"));  // within the pause: "GSYH" still 工商银行
    QCOMPARE(box.currentText(), QStringLiteral("工商银行"));

    // A pause starts a new search; initials in the middle count when none starts with them.
    QComboBox quick;
    quick.addItems({QStringLiteral("现金"), QStringLiteral("利息收入"), QStringLiteral("BOC")});
    cw::PinyinKeySearch::attach(&quick, -1);
    type(&quick, QStringLiteral("s"));
    QCOMPARE(quick.currentText(), QStringLiteral("利息收入"));
    type(&quick, QStringLiteral("b"));
    QCOMPARE(quick.currentText(), QStringLiteral("BOC"));
    type(&quick, QStringLiteral("X"));
    QCOMPARE(quick.currentText(), QStringLiteral("现金"));
    // A letter no name answers leaves the pick.
    type(&quick, QStringLiteral("q"));
    QCOMPARE(quick.currentText(), QStringLiteral("现金"));
}

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
