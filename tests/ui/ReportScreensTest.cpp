#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportScreen.h"
#include "reports/ui/ReportTableModel.h"
#include "reports/ui/TfrmSZ_M.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"

using namespace cw;

namespace {

const QString kReversed = QStringLiteral("日期选择错误，请重新选择！");

// A book with a salary every month of 2026 and expenses from two accounts, the main window
// over it (today 2026-12-09), and the spreadsheet opener recording instead of opening.
struct Book {
    test::MainFixture fx;
    QList<QUrl> opened;
    bool openerWorks = true;

    Book() {
        fx.file.addBook(QStringLiteral("我家"));
        for (int m = 1; m <= 12; ++m) {
            const QString month = QStringLiteral("2026-%1").arg(m, 2, 10, QLatin1Char('0'));
            insert("InTable", "IDate", "IName", month + "-05", "工资", 12345.6, "银行卡", "爸爸");
            insert("OutTable", "ODate", "OName", month + "-09", "餐饮", 1000 + m, "钱包", "妈妈");
        }
        insert("OutTable", "ODate", "OName", "2026-03-20", "交通", 0.5, "银行卡", "爸爸");
        fx.file.dm().NewFamily(QStringLiteral("爸爸"));
        fx.file.dm().NewFamily(QStringLiteral("妈妈"));
        fx.file.dm().NewAccount(QStringLiteral("钱包"), QStringLiteral("妈妈"));
        fx.file.dm().NewAccount(QStringLiteral("银行卡"), QStringLiteral("爸爸"));
        ExcelExport::opener() = [this](const QUrl& url) {
            opened << url;
            return openerWorks;
        };
    }

    ~Book() {
        ExcelExport::opener() = [](const QUrl&) { return false; };
        fx.main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void insert(const char* table, const char* date, const char* name, const QString& day,
                const char* category, double amount, const char* account, const char* member) {
        fx.file.db().exec(QStringLiteral("INSERT INTO %1(BName,%2,%3,%4,AName,FName) "
                                         "VALUES('我家',?,?,?,?,?)")
                              .arg(QString::fromLatin1(table), QString::fromLatin1(date),
                                   QString::fromLatin1(name),
                                   QString::fromLatin1(table[0] == 'I' ? "IMoney" : "OMoney")),
                          day, QString::fromUtf8(category), amount, QString::fromUtf8(account),
                          QString::fromUtf8(member));
    }

    ReportScreen* open(const QString& item) {
        fx.main->action(item)->trigger();
        return qobject_cast<ReportScreen*>(fx.main->workingWindow());
    }

    QString shown(ReportScreen* s, int row, int column) {
        return s->model()->index(row, column).data().toString();
    }
};

}  // namespace

class ReportScreensTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void monthlyReportRunsFromTheMenu();
    void reversedDatesChangeNothing();
    void filtersTickTheirBoxes();
    void excelWritesAndOpensTheWorkbook();
    void excelWithoutSpreadsheetProgramSaysWhereTheFileIs();
    void printShowsThePreview();
    void monthByCategoryMenusWriteWorkbooks();
    void modelPassesTheChecker();
    void everyPrintedLayoutPaints();
};

void ReportScreensTest::monthlyReportRunsFromTheMenu() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    QVERIFY(s);
    QVERIFY(qobject_cast<TfrmSZ_M*>(s));
    QCOMPARE(b.fx.main->workingWindowClass(), QStringLiteral("TfrmSZ_M"));
    QCOMPARE(s->windowTitle(), QStringLiteral("收支月报表"));
    QCOMPARE(s->fromPicker()->text(), QStringLiteral("2026-01-01"));
    QCOMPARE(s->toPicker()->text(), QStringLiteral("2026-12-31"));
    QVERIFY(s->datesBox()->isChecked());
    QVERIFY(!s->filterBox(FilterKey::Account)->isChecked());
    QVERIFY(!s->excelButton()->isEnabled());
    QVERIFY(!s->printButton()->isEnabled());

    s->runButton()->click();
    QCOMPARE(s->model()->rowCount(), 12);
    QStringList headers;
    for (int c = 0; c < s->model()->columnCount(); ++c) {
        headers << s->model()->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, QStringList({"月份", "收入金额", "收入笔数", "支出金额", "支出笔数",
                                   "结余金额", "支出占收入"}));
    QCOMPARE(b.shown(s, 0, 0), QStringLiteral("2026-01"));
    QCOMPARE(b.shown(s, 0, 1), QStringLiteral("12,345.60"));
    QCOMPARE(b.shown(s, 2, 3), QStringLiteral("1,003.50"));
    QCOMPARE(b.shown(s, 2, 4), QStringLiteral("2"));
    QCOMPARE(b.shown(s, 2, 5), QStringLiteral("11,342.10"));
    QCOMPARE(b.shown(s, 0, 6), QStringLiteral("0.08"));
    const QModelIndex money = s->model()->index(0, 1);
    QCOMPARE(money.data(ReportTableModel::RawValueRole).toDouble(), 12345.6);
    QVERIFY(money.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    QVERIFY(s->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
            Qt::AlignLeft);
    QCOMPARE(s->statusTexts(),
             QStringList({"数量：12", "收入合计：148,147.20", "收入笔数：12", "支出合计：12,078.50",
                          "支出笔数：13", "结余合计：136,068.70"}));
    QVERIFY(s->excelButton()->isEnabled());
    QVERIFY(s->printButton()->isEnabled());
    QVERIFY(b.fx.messages.entries.isEmpty());

    // 退出 hands the frame back to the dashboard.
    s->exitButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!b.fx.main->workingWindow());
}

void ReportScreensTest::reversedDatesChangeNothing() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    s->fromPicker()->setText(QStringLiteral("2026-03-01"));
    s->toPicker()->setText(QStringLiteral("2026-02-28"));
    s->runButton()->click();
    QCOMPARE(b.fx.messages.texts(), QStringList{kReversed});
    QCOMPARE(s->model()->rowCount(), 0);
    QVERIFY(!s->excelButton()->isEnabled());

    // After a good run, a refused one leaves grid and totals as they were.
    s->toPicker()->setText(QStringLiteral("2026-04-30"));
    s->runButton()->click();
    QCOMPARE(s->model()->rowCount(), 2);
    const QStringList status = s->statusTexts();
    s->fromPicker()->setText(QStringLiteral("2026-05-01"));
    s->runButton()->click();
    QCOMPARE(b.fx.messages.texts(), QStringList({kReversed, kReversed}));
    QCOMPARE(s->model()->rowCount(), 2);
    QCOMPARE(s->statusTexts(), status);
    QVERIFY(s->excelButton()->isEnabled());
    // Only the shared table of the old program would have held those lines: it stays empty.
    QCOMPARE(b.fx.file.count(QStringLiteral("SZTable")), 0);
}

void ReportScreensTest::filtersTickTheirBoxes() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    // A changed date ticks the date box on the monthly report…
    s->datesBox()->setChecked(false);
    s->fromPicker()->setText(QStringLiteral("2026-02-01"));
    QVERIFY(s->datesBox()->isChecked());
    auto* accounts = qobject_cast<QComboBox*>(s->filterField(FilterKey::Account));
    QVERIFY(accounts);
    QVERIFY(accounts->count() >= 2);
    const int wallet = accounts->findText(QStringLiteral("钱包"));
    QVERIFY(wallet >= 0);
    accounts->setCurrentIndex(wallet);
    Q_EMIT accounts->activated(wallet);
    QVERIFY(s->filterBox(FilterKey::Account)->isChecked());
    s->toPicker()->setText(QStringLiteral("2026-03-31"));
    s->runButton()->click();
    QCOMPARE(s->model()->rowCount(), 2);
    QCOMPARE(b.shown(s, 0, 1), QStringLiteral("0.00"));
    QCOMPARE(b.shown(s, 1, 3), QStringLiteral("1,003.00"));  // not the 0.50 fare of 银行卡

    // …but not on the yearly one.
    ReportScreen* y = b.open(QStringLiteral("年报表 &Y"));
    QCOMPARE(y->fromPicker()->text(), QStringLiteral("2025-01-01"));
    QCOMPARE(y->toPicker()->text(), QStringLiteral("2026-12-31"));
    y->datesBox()->setChecked(false);
    y->fromPicker()->setText(QStringLiteral("2026-01-01"));
    QVERIFY(!y->datesBox()->isChecked());
    auto* members = qobject_cast<QComboBox*>(y->filterField(FilterKey::Member));
    const int dad = members->findText(QStringLiteral("爸爸"));
    QVERIFY(dad >= 0);
    members->setCurrentIndex(dad);
    Q_EMIT members->activated(dad);
    y->runButton()->click();
    QCOMPARE(y->model()->rowCount(), 1);
    QCOMPARE(b.shown(y, 0, 0), QStringLiteral("2026"));
    QCOMPARE(b.shown(y, 0, 3), QStringLiteral("0.50"));
}

void ReportScreensTest::excelWritesAndOpensTheWorkbook() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    s->runButton()->click();
    s->excelButton()->click();
    QCOMPARE(b.opened.size(), 1);
    const QString path = b.opened[0].toLocalFile();
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).dir().path(), b.fx.file.programDir() + QStringLiteral("/Export"));
    QVERIFY(QFileInfo(path).fileName().startsWith(QStringLiteral("我家-收支月报表_")));
    QVERIFY(b.fx.messages.entries.isEmpty());
    QCOMPARE(s->progressBar()->value(), s->progressBar()->maximum());
}

void ReportScreensTest::excelWithoutSpreadsheetProgramSaysWhereTheFileIs() {
    Book b;
    b.openerWorks = false;
    ReportScreen* s = b.open(QStringLiteral("年报表 &Y"));
    s->runButton()->click();
    b.fx.messages.answers = {true};
    s->excelButton()->click();
    // Written, so no word of failure: where it is, and its folder offered (which here cannot
    // be shown either, so the place is said once more).
    QCOMPARE(b.opened.size(), 2);
    const QString path = b.opened[0].toLocalFile();
    QVERIFY(QFile::exists(path));
    QCOMPARE(b.opened[1].toLocalFile(), QFileInfo(path).absolutePath());
    QCOMPARE(b.fx.messages.entries.size(), 2);
    QCOMPARE(b.fx.messages.entries[0].kind, QStringLiteral("ask"));
    QVERIFY(b.fx.messages.entries[0].text.startsWith(QStringLiteral("已导出到 ") +
                                                     QDir::toNativeSeparators(path)));
    QVERIFY(!b.fx.messages.texts().join(QString()).contains(ExcelExport::noSpreadsheetMessage()));
    QCOMPARE(b.fx.messages.last(), QStringLiteral("已导出到 ") + QDir::toNativeSeparators(path));
    // The screen stays as it was.
    QCOMPARE(s->model()->rowCount(), 2);
    QVERIFY(s->excelButton()->isEnabled());
}

void ReportScreensTest::printShowsThePreview() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    s->runButton()->click();
    int pages = -1;
    bool pdfAction = false;
    b.fx.onDialog = [&](QDialog& d) {
        auto* preview = d.findChild<QPrintPreviewWidget*>();
        if (preview) {
            preview->updatePreview();
            pages = preview->pageCount();
        }
        for (QToolBar* bar : d.findChildren<QToolBar*>()) {
            for (QAction* a : bar->actions()) pdfAction |= a->text() == QStringLiteral("导出PDF");
        }
        return int(QDialog::Rejected);
    };
    s->printButton()->click();
    QCOMPARE(b.fx.dialogs, QStringList{"QPrintPreviewDialog"});
    QCOMPARE(pages, 1);
    QVERIFY(pdfAction);
}

void ReportScreensTest::monthByCategoryMenusWriteWorkbooks() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    QVERIFY(s);
    QAction* byCategory = nullptr;
    for (QAction* a : b.fx.main->menu(QStringLiteral("支出月报表 &G"))->actions()) {
        if (a->text() == QStringLiteral("按支出类别 &T")) byCategory = a;
    }
    QVERIFY(byCategory && byCategory->isEnabled());
    byCategory->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The working window closes first, as for every menu item.
    QVERIFY(!b.fx.main->workingWindow());
    QCOMPARE(b.opened.size(), 1);
    const QString path = b.opened[0].toLocalFile();
    QVERIFY(QFileInfo(path).fileName().startsWith(QStringLiteral("我家-支出月报表-按支出类别_")));
    QVERIFY(QFileInfo(path).size() > 0);
    QVERIFY(b.fx.messages.entries.isEmpty());
}

void ReportScreensTest::modelPassesTheChecker() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("月报表 &M"));
    QAbstractItemModelTester tester(s->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    s->runButton()->click();
    s->fromPicker()->setText(QStringLiteral("2026-06-01"));
    s->runButton()->click();
    QCOMPARE(s->model()->rowCount(), 7);
}

// Each of the ten printed layouts over three rows: a PDF whose text reads back with the title,
// every header and the footers. COINWICK_KEEP_PDF=DIR keeps the files for a look.
void ReportScreensTest::everyPrintedLayoutPaints() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QTemporaryDir temp;
    const QString dir = qEnvironmentVariableIsSet("COINWICK_KEEP_PDF")
                            ? qEnvironmentVariable("COINWICK_KEEP_PDF")
                            : temp.path();
    QCOMPARE(PrintLayout::all().size(), size_t(10));
    for (const PrintLayout& layout : PrintLayout::all()) {
        std::vector<ReportColumn> columns;
        for (const PrintLayout::Column& c : layout.columns) {
            const bool summed = std::find(layout.summed.begin(), layout.summed.end(), c.field) !=
                                layout.summed.end();
            columns.push_back({c.field, c.header, summed ? ColumnKind::Money : ColumnKind::Text,
                               c.widthMm, summed});
        }
        ReportTable table(columns);
        for (int r = 1; r <= 3; ++r) {
            std::vector<QVariant> values;
            for (const ReportColumn& c : columns) {
                values.push_back(c.summed ? QVariant(r * 1000.25)
                                          : QVariant(QStringLiteral("文字%1").arg(r)));
            }
            table.addRow(values, 40 + r);
        }
        const ReportPainter painter(layout, table, QStringLiteral("我家"),
                                    QDateTime(QDate(2026, 12, 9), QTime(8, 30, 5)));
        const QString path =
            dir + QLatin1Char('/') + QFileInfo(layout.name).baseName() + QStringLiteral(".pdf");
        QVERIFY2(painter.writePdf(path, QString()), qPrintable(layout.name));
        if (pdftotext.isEmpty()) continue;
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(layout.titleFor(QStringLiteral("我家"))), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("页数 1")));
        QVERIFY(text.contains(QStringLiteral("2026-12-09 08:30:05")));
        QVERIFY(text.contains(QStringLiteral("序号")));
        for (const PrintLayout::Column& c : layout.columns) {
            QVERIFY2(text.contains(c.header),
                     qPrintable(layout.name + QLatin1Char(' ') + c.header));
        }
        QCOMPARE(text.contains(QStringLiteral("合计 3")), layout.footers);
        QCOMPARE(text.contains(QStringLiteral("本页合计 3")), layout.footers);
        if (!layout.summed.empty()) QVERIFY(text.contains(QStringLiteral("6,001.50")));
        QVERIFY(text.contains(QStringLiteral("43")));
    }
}

QTEST_MAIN(ReportScreensTest)
#include "ReportScreensTest.moc"
