#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

#include "app/ui/DashboardView.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportScreenParts.h"
#include "reports/ui/ReportTableModel.h"
#include "reports/ui/StatisticsScreens.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"

using namespace cw;

namespace {

// Income in two categories over 2026, expense from two accounts, accounts of three kinds,
// with the main window over the book (today 2026-12-09).
struct Book {
    test::MainFixture fx;
    QList<QUrl> opened;

    Book() {
        fx.file.addBook(QStringLiteral("我家"));
        insert("InTable", "IDate", "IName", "2026-11-20", "工资", 1000, "工行", "爸爸");
        insert("InTable", "IDate", "IName", "2026-12-01", "奖金", 3000, "工行", "妈妈");
        insert("InTable", "IDate", "IName", "2026-12-02", "工资", 2000, "钱包", "爸爸");
        insert("OutTable", "ODate", "OName", "2026-12-03", "餐饮", 120.5, "钱包", "妈妈");
        fx.file.addAccount(QStringLiteral("钱包"), 1234.5, QStringLiteral("妈妈"),
                           QStringLiteral("现金"));
        fx.file.addAccount(QStringLiteral("零钱"), -200, QStringLiteral("爸爸"),
                           QStringLiteral("现金"));
        fx.file.addAccount(QStringLiteral("招行"), -50, QStringLiteral("爸爸"),
                           QStringLiteral("信用卡"));
        fx.file.addAccount(QStringLiteral("工行"), 9000, QStringLiteral("爸爸"),
                           QStringLiteral("银行卡"));
        fx.main->mySum();
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

    void insert(const char* table, const char* date, const char* name, const char* day,
                const char* category, double amount, const char* account, const char* member) {
        fx.file.db().exec(QStringLiteral("INSERT INTO %1(BName,%2,%3,%4,AName,FName) "
                                         "VALUES('我家',?,?,?,?,?)")
                              .arg(QString::fromLatin1(table), QString::fromLatin1(date),
                                   QString::fromLatin1(name),
                                   QString::fromLatin1(table[0] == 'I' ? "IMoney" : "OMoney")),
                          QString::fromUtf8(day), QString::fromUtf8(category), amount,
                          QString::fromUtf8(account), QString::fromUtf8(member));
    }

    ReportScreen* open(const QString& item) {
        fx.main->action(item)->trigger();
        return qobject_cast<ReportScreen*>(fx.main->workingWindow());
    }

    static QStringList column(QAbstractItemModel* m, int c) {
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
        return out;
    }

    static QComboBox* combo(ReportScreen* s, FilterKey k) {
        return qobject_cast<QComboBox*>(s->filterField(k));
    }
};

// 24 months of income, 2024-01 to 2025-12, the last 150,000,000.
AnalysisChart::Points twoYears() {
    AnalysisChart::Points p{QStringLiteral("收入分析"), {}, {}, true};
    for (int i = 0; i < 24; ++i) {
        p.labels << QDate(2024, 1, 1).addMonths(i).toString(QStringLiteral("yyyy-MM"));
        p.values << (i + 1) * 6250000.0;
    }
    return p;
}

QStringList shortMonths() {
    QStringList out;
    for (const QString& l : twoYears().labels) out << l.mid(2);
    return out;
}

// Every text the chart shows: axis labels, titles, slice labels, values over the bars.
QStringList shownTexts(const QGraphicsScene* scene) {
    QStringList out;
    for (const QGraphicsItem* item : scene->items()) {
        if (!item->isVisible()) continue;
        if (const auto* t = dynamic_cast<const QGraphicsTextItem*>(item)) out << t->toPlainText();
        if (const auto* t = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) out << t->text();
    }
    return out;
}

bool elided(const QString& text) {
    return text.contains(QChar(0x2026)) || text.contains(QLatin1String("..."));
}

// Whether a pixel is the colour, give or take the smoothing of edges.
bool near(const QImage& img, int x, int y, QColor colour) {
    const QColor c = img.pixelColor(x, y);
    return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
               std::abs(c.blue() - colour.blue()) <
           60;
}

// Runs of the colour along row y, left to right.
int runsOf(const QImage& img, QColor colour, int y) {
    int runs = 0;
    bool inside = false;
    for (int x = 0; x < img.width(); ++x) {
        const bool hit = near(img, x, y, colour);
        if (hit && !inside) ++runs;
        inside = hit;
    }
    return runs;
}

// Columns holding the colour somewhere between rows top and bottom.
int columnsWith(const QImage& img, QColor colour, int top, int bottom) {
    int columns = 0;
    for (int x = 0; x < img.width(); ++x) {
        for (int y = top; y < bottom; ++y) {
            if (near(img, x, y, colour)) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

}  // namespace

class StatisticsScreensTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void inOutShowsBothSidesHalfEach();
    void dimensionBoxTakesOnlyItsItems();
    void debtCreditHasNoStatusLine();
    void analysisFeedsTheThreeChartsRawValues();
    void analysisSavesTheChartAsPng();
    void chartsReadAtTheirSize_data();
    void chartsReadAtTheirSize();
    void screenChartReadsAtTheWindowsSize();
    void exportsNeverLandInTheDataFolder();
    void accountQueryFiltersAndTotals();
    void dashboardPicturesPresetTheKind();
};

void StatisticsScreensTest::inOutShowsBothSidesHalfEach() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("收支统计表 &R"));
    QVERIFY(qobject_cast<TfrmPage1*>(s));
    QCOMPARE(s->windowTitle(), QStringLiteral("收支统计表"));
    QCOMPARE(s->fromPicker()->text(), QStringLiteral("2026-11-09"));
    QVERIFY(s->datesBox()->isChecked());
    QCOMPARE(Book::combo(s, FilterKey::Dimension)->currentText(), QStringLiteral("收支类别"));
    QCOMPARE(Book::combo(s, FilterKey::Sort)->currentText(), QStringLiteral("金额降序"));
    QVERIFY(!s->filterBox(FilterKey::Dimension)->isEnabled());
    QVERIFY(s->filterBox(FilterKey::Sort)->isEnabled());
    QVERIFY(s->sides());
    QVERIFY(!s->excelButton()->isEnabled());

    s->runButton()->click();
    ReportTableModel* in = s->sides()->model(0);
    ReportTableModel* out = s->sides()->model(1);
    QCOMPARE(in->headerData(0, Qt::Horizontal).toString(), QStringLiteral("收入名称"));
    QCOMPARE(out->headerData(0, Qt::Horizontal).toString(), QStringLiteral("支出名称"));
    // Equal amounts keep the name order: gong before jiang.
    QCOMPARE(Book::column(in, 0), QStringList({"工资", "奖金"}));
    QCOMPARE(Book::column(in, 1), QStringList({"2", "1"}));
    QCOMPARE(Book::column(in, 2), QStringList({"3,000.00", "3,000.00"}));
    QCOMPARE(s->sides()->statusTexts(0), QStringList({"笔数：3", "合计金额：6,000.00"}));
    QCOMPARE(s->sides()->statusTexts(1), QStringList({"笔数：1", "合计金额：120.50"}));

    // By month, names ascending; the sort box unticked leaves the grouping's order.
    Book::combo(s, FilterKey::Dimension)->setCurrentText(QStringLiteral("月份"));
    Book::combo(s, FilterKey::Sort)->setCurrentText(QStringLiteral("名称降序"));
    s->runButton()->click();
    QCOMPARE(Book::column(in, 0), QStringList({"2026-12", "2026-11"}));
    s->filterBox(FilterKey::Sort)->setChecked(false);
    s->runButton()->click();
    QCOMPARE(Book::column(in, 0), QStringList({"2026-11", "2026-12"}));
    QCOMPARE(in->headerData(0, Qt::Horizontal).toString(), QStringLiteral("月份"));

    // Each side takes half the width.
    b.fx.main->resize(1280, 800);
    b.fx.main->show();
    QTRY_VERIFY(s->sides()->grid(0)->isVisible());
    const int left = s->sides()->grid(0)->parentWidget()->width();
    const int right = s->sides()->grid(1)->parentWidget()->width();
    QVERIFY2(std::abs(left - right) <= 2, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));

    QVERIFY(s->excelButton()->isEnabled());
    s->excelButton()->click();
    QCOMPARE(b.opened.size(), 1);
    QVERIFY(b.opened[0].toLocalFile().contains(QStringLiteral("我家-收支统计表")));
    QVERIFY(b.fx.messages.entries.isEmpty());
}

void StatisticsScreensTest::dimensionBoxTakesOnlyItsItems() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("收支统计表 &R"));
    QComboBox* by = Book::combo(s, FilterKey::Dimension);
    QVERIFY(!by->isEditable());
    QCOMPARE(by->count(), 6);
    by->setCurrentText(QStringLiteral("IName) union select"));
    QCOMPARE(by->currentText(), QStringLiteral("收支类别"));
}

void StatisticsScreensTest::debtCreditHasNoStatusLine() {
    Book b;
    b.fx.file.db().exec(
        QStringLiteral("INSERT INTO Borrow(BName,BDate,BPro,BMoney) VALUES"
                       "('我家','2026-12-01','老王',300),"
                       "('我家','2026-12-02','老李',500)"));
    ReportScreen* s = b.open(QStringLiteral("债务债权统计表 &Z"));
    QVERIFY(qobject_cast<TfrmPage2*>(s));
    QCOMPARE(s->datesBox()->text(), QStringLiteral("日        期"));
    s->runButton()->click();
    QCOMPARE(Book::column(s->sides()->model(0), 0), QStringList({"老李", "老王"}));
    QCOMPARE(s->sides()->model(0)->headerData(2, Qt::Horizontal).toString(),
             QStringLiteral("未还金额"));
    QCOMPARE(s->sides()->model(1)->rowCount(), 0);
    QVERIFY(s->sides()->statusTexts(0).isEmpty());
}

void StatisticsScreensTest::analysisFeedsTheThreeChartsRawValues() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("收入分析 &I"));
    QVERIFY(qobject_cast<TfrmE_I*>(s));
    QVERIFY(!s->datesBox()->isChecked());
    QCOMPARE(Book::combo(s, FilterKey::Dimension)->currentText(), QStringLiteral("月收入"));
    ChartTabs* charts = s->charts();
    QVERIFY(charts);
    QCOMPARE(charts->tabs()->count(), 3);
    QCOMPARE(charts->tabs()->tabText(2), QStringLiteral("饼图"));
    QVERIFY(!charts->saveButton()->isEnabled());

    s->runButton()->click();
    QCOMPARE(s->statusTexts(), QStringList({"数量：2", "合计金额：6,000.00"}));
    QCOMPARE(charts->points().labels, QStringList({"2026-11", "2026-12"}));
    QCOMPARE(charts->points().values, QList<double>({1000, 5000}));

    QChart* bar = charts->view(AnalysisChart::Kind::Bar)->chart();
    QCOMPARE(bar->title(), QStringLiteral("收入分析"));
    auto* bars = qobject_cast<QBarSeries*>(bar->series().value(0));
    QVERIFY(bars);
    QCOMPARE(bars->barSets().value(0)->at(1), 5000.0);
    QCOMPARE(bars->barSets().value(0)->color(), AnalysisChart::colour(true));
    auto* axis = qobject_cast<QCategoryAxis*>(bar->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    // The screen is not shown: give the chart a size of its own to fit its labels to.
    bar->resize(800, 500);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(axis->categoriesLabels(), QStringList({"2026-11", "2026-12"}));
    auto* line = qobject_cast<QLineSeries*>(
        charts->view(AnalysisChart::Kind::Line)->chart()->series().value(0));
    QCOMPARE(line->points(), QList<QPointF>({{0, 1000}, {1, 5000}}));
    QChart* pieChart = charts->view(AnalysisChart::Kind::Pie)->chart();
    pieChart->resize(800, 500);
    QCoreApplication::sendPostedEvents();
    auto* pie = qobject_cast<QPieSeries*>(pieChart->series().value(0));
    QCOMPARE(pie->slices().value(0)->label(), QStringLiteral("2026-11 16.67%"));
    QCOMPARE(pie->slices().value(1)->value(), 5000.0);

    // A new run replaces every series; amounts from 1,000 up are numbers, not display text.
    Book::combo(s, FilterKey::Dimension)->setCurrentText(QStringLiteral("家庭成员"));
    s->filterBox(FilterKey::Account)->setChecked(true);
    Book::combo(s, FilterKey::Account)->setCurrentText(QStringLiteral("工行"));
    s->runButton()->click();
    QCOMPARE(charts->points().labels, QStringList({"爸爸", "妈妈"}));
    bars = qobject_cast<QBarSeries*>(
        charts->view(AnalysisChart::Kind::Bar)->chart()->series().value(0));
    QCOMPARE(bars->barSets().value(0)->count(), 2);
    QCOMPARE(bars->barSets().value(0)->at(1), 3000.0);

    // Expense draws in its own colour.
    ReportScreen* o = b.open(QStringLiteral("支出分析 &Q"));
    QVERIFY(qobject_cast<TfrmE_O*>(o));
    o->runButton()->click();
    auto* out = qobject_cast<QBarSeries*>(
        o->charts()->view(AnalysisChart::Kind::Bar)->chart()->series().value(0));
    QCOMPARE(out->barSets().value(0)->color(), AnalysisChart::colour(false));
    QVERIFY(AnalysisChart::colour(false) != AnalysisChart::colour(true));
}

void StatisticsScreensTest::analysisSavesTheChartAsPng() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("收入分析 &I"));
    s->runButton()->click();
    s->charts()->tabs()->setCurrentIndex(1);
    const QString path = s->charts()->ButSaveClick();
    QVERIFY(!path.isEmpty());
    QVERIFY(path.endsWith(QStringLiteral(".png")));
    QVERIFY(path.contains(QStringLiteral("/Export/")));
    QVERIFY(QFileInfo(path).fileName().startsWith(QStringLiteral("我家-收入分析-折线图")));
    const QImage img(path);
    QCOMPARE(img.size(), AnalysisChart::pngSize());
    QCOMPARE(b.fx.messages.entries.size(), 1);
    QVERIFY(b.fx.messages.entries[0].text.startsWith(QStringLiteral("图片已保存在：")));
    // The picture and its folder are the owner's alone.
    QCOMPARE(QFile::permissions(path) & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFile::permissions(QFileInfo(path).path()) & 0x0077, QFileDevice::Permissions());
}

// Export/ made a link to Data/: the picture and the workbook are refused with a message, and
// nothing is written beside the data file.
void StatisticsScreensTest::exportsNeverLandInTheDataFolder() {
    Book b;
    const QString home = b.fx.file.programDir();
    QVERIFY(QFile::link(home + QStringLiteral("/Data"), home + QStringLiteral("/Export")));
    ReportScreen* s = b.open(QStringLiteral("收入分析 &I"));
    s->runButton()->click();
    QVERIFY(s->charts()->ButSaveClick().isEmpty());
    QCOMPARE(b.fx.messages.entries.size(), 1);
    QVERIFY(b.fx.messages.last().startsWith(QStringLiteral("无法写入文件：")));
    s->excelButton()->click();
    QCOMPARE(b.fx.messages.entries.size(), 2);
    QVERIFY(b.fx.messages.last().startsWith(ExcelExport::noSpreadsheetMessage()));
    QVERIFY(b.opened.isEmpty());
    QCOMPARE(QDir(home + QStringLiteral("/Data")).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("db.kbk")});
}

void StatisticsScreensTest::chartsReadAtTheirSize_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("bar") << int(AnalysisChart::Kind::Bar);
    QTest::newRow("line") << int(AnalysisChart::Kind::Line);
    QTest::newRow("pie") << int(AnalysisChart::Kind::Pie);
}

void StatisticsScreensTest::chartsReadAtTheirSize() {
    QFETCH(int, kind);
    const auto k = AnalysisChart::Kind(kind);
    QGraphicsScene scene;
    QChart* chart = AnalysisChart::laidOut(scene, k, twoYears(), AnalysisChart::pngSize());
    const QStringList texts = shownTexts(&scene);
    for (const QString& t : texts) QVERIFY2(!elided(t), qPrintable(t));
    QVERIFY(texts.contains(QStringLiteral("收入分析")));
    if (k == AnalysisChart::Kind::Pie) {
        // Every slice label names its share; the smallest slices carry none.
        auto* pie = qobject_cast<QPieSeries*>(chart->series().value(0));
        QCOMPARE(pie->slices().value(23)->label(), QStringLiteral("2025-12 8.00%"));
        QVERIFY(texts.contains(QStringLiteral("2025-12 8.00%")));
        QVERIFY(texts.contains(QStringLiteral("2024-10 3.33%")));
        QVERIFY(!texts.contains(QStringLiteral("2024-01 0.33%")));
    } else {
        // Each month in its short form, the value axis in 亿 with room above the top bar, the
        // values over the points.
        auto* x = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
        QCOMPARE(x->categoriesLabels(), shortMonths());
        for (const QString& m : shortMonths()) QVERIFY2(texts.contains(m), qPrintable(m));
        auto* y = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).value(0));
        QVERIFY(y);
        QCOMPARE(y->categoriesLabels().first(), QStringLiteral("0"));
        QCOMPARE(y->categoriesLabels().last(), QStringLiteral("1.75亿"));
        QVERIFY(texts.contains(QStringLiteral("0.75亿")));
        QVERIFY(texts.contains(QStringLiteral("625万")));
        QVERIFY(texts.contains(QStringLiteral("9,375万")));
        QVERIFY(texts.contains(QStringLiteral("1.5亿")));
    }

    // The picture: the series colour in 24 bars across the bottom of the plot, the line
    // crossing most of the width, the largest slice in its colour; the fonts do not matter.
    const QImage img = AnalysisChart::image(k, twoYears());
    QCOMPARE(img.size(), AnalysisChart::pngSize());
    const QRectF plot = chart->plotArea();
    const QColor green = AnalysisChart::colour(true);
    if (k == AnalysisChart::Kind::Bar) {
        QCOMPARE(runsOf(img, green, int(plot.bottom()) - 3), 24);
    } else if (k == AnalysisChart::Kind::Line) {
        const int columns = columnsWith(img, green, int(plot.top()), int(plot.bottom()));
        QVERIFY2(columns > plot.width() * 0.8, qPrintable(QString::number(columns)));
    } else {
        // The 8% slice: about 0.08 × π × r² pixels of its colour.
        const QColor largest = AnalysisChart::sliceColour(true, 23);
        int pixels = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) pixels += img.pixel(x, y) == largest.rgb();
        }
        QVERIFY2(pixels > 5000, qPrintable(QString::number(pixels)));
    }
}

void StatisticsScreensTest::screenChartReadsAtTheWindowsSize() {
    Book b;
    for (int i = 0; i < 24; ++i) {
        const QByteArray day = QDate(2024, 1, 15).addMonths(i).toString(Qt::ISODate).toLatin1();
        b.insert("InTable", "IDate", "IName", day.constData(), "工资", (i + 1) * 6250000.0, "工行",
                 "爸爸");
    }
    ReportScreen* s = b.open(QStringLiteral("收入分析 &I"));
    b.fx.main->resize(800, 560);
    b.fx.main->show();
    s->runButton()->click();
    QChartView* view = s->charts()->view(AnalysisChart::Kind::Bar);
    for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
    QVERIFY(view->isVisible());
    QVERIFY(view->width() < 600);

    // Half a window wide: the months turn, thin or shorten, but none is cut.
    QStringList months;
    const QStringList texts = shownTexts(view->scene());
    for (const QString& t : texts) {
        QVERIFY2(!elided(t), qPrintable(texts.join(QLatin1Char('|'))));
        if (t.size() == 5 && t[2] == QLatin1Char('-')) months << t;
    }
    QVERIFY2(months.size() >= 8, qPrintable(months.join(QLatin1Char(' '))));
    QVERIFY(months.contains(QStringLiteral("24-01")));

    // Resting on the last bar shows its exact amount.
    auto* bars = qobject_cast<QBarSeries*>(view->chart()->series().value(0));
    emit bars->hovered(true, 25, bars->barSets().value(0));
    QCOMPARE(QToolTip::text(), QStringLiteral("2026-12：5,000.00"));
    emit bars->hovered(true, 23, bars->barSets().value(0));
    QCOMPARE(QToolTip::text(), QStringLiteral("2025-12：150,000,000.00"));
}

void StatisticsScreensTest::accountQueryFiltersAndTotals() {
    Book b;
    ReportScreen* s = b.open(QStringLiteral("账户查询 &X"));
    QVERIFY(qobject_cast<TfrmA_Q*>(s));
    QVERIFY(!s->datesBox()->isVisibleTo(s));
    QCOMPARE(s->runButton()->text(), QStringLiteral("查询"));
    s->runButton()->click();
    QCOMPARE(Book::column(s->model(), 2), QStringList({"零钱", "钱包", "招行", "工行"}));
    QCOMPARE(s->statusTexts(), QStringList({"账户记录：4", "账户余额：9,984.50"}));

    // Typing a kind ticks its box; at most 10 characters.
    QComboBox* kind = Book::combo(s, FilterKey::AccountType);
    QVERIFY(kind->isEditable());
    kind->lineEdit()->setText(QStringLiteral("现金"));
    emit kind->lineEdit()->textEdited(QStringLiteral("现金"));
    QVERIFY(s->filterBox(FilterKey::AccountType)->isChecked());
    kind->setEditText(QStringLiteral("现金"));
    s->runButton()->click();
    QCOMPARE(s->statusTexts(), QStringList({"账户记录：2", "账户余额：1,034.50"}));
    kind->lineEdit()->setText(QStringLiteral("一二三四五六七八九十十一"));
    QCOMPARE(kind->lineEdit()->text().size(), 10);
    kind->setEditText(QStringLiteral("没有这类"));
    s->runButton()->click();
    QCOMPARE(s->statusTexts(), QStringList({"账户记录：0", "账户余额：0.00"}));
}

void StatisticsScreensTest::dashboardPicturesPresetTheKind() {
    Book b;
    DashboardView* dash = b.fx.main->dashboardView();
    QVERIFY(dash);
    emit dash->pictureClicked(QStringLiteral("信用卡"));
    auto* s = qobject_cast<TfrmA_Q*>(b.fx.main->workingWindow());
    QVERIFY(s);
    QVERIFY(s->filterBox(FilterKey::AccountType)->isChecked());
    QCOMPARE(Book::combo(s, FilterKey::AccountType)->currentText(), QStringLiteral("信用卡"));
    QCOMPARE(Book::column(s->model(), 2), QStringList({"招行"}));
    QVERIFY(!s->excelButton()->isEnabled());

    emit dash->pictureClicked(QStringLiteral("现金"));
    s = qobject_cast<TfrmA_Q*>(b.fx.main->workingWindow());
    QCOMPARE(Book::column(s->model(), 2), QStringList({"零钱", "钱包"}));
    // With no book open the pictures do nothing.
    b.fx.main->myfrmClose();
    b.fx.ctx.state.myBName.clear();
    emit dash->pictureClicked(QStringLiteral("现金"));
    QVERIFY(!b.fx.main->workingWindow());
}

QTEST_MAIN(StatisticsScreensTest)
#include "StatisticsScreensTest.moc"
