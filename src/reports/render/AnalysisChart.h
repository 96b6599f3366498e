#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class QChart;
class QGraphicsScene;

namespace cw {

class ReportTable;

// The three charts of the analysis screens (bar, line, pie), built from a report's raw
// values: the screen's chart tabs show them, "保存图片" and `coinwick-cli analysis … png=`
// paint them offscreen through image(), so the file shows what the screen shows.
//
// Long series stay readable: ChartLabels fits the axis labels and the values over the bars
// to the chart's size, the value axis reads in separators and 万/亿 (ChartScale); the pie
// names only the slices large enough to carry a label, each with its share, and moves its
// legend aside. Income draws in greens, expense in reds.
class AnalysisChart {
  public:
    enum class Kind { Bar, Line, Pie };

    struct Points {
        QString title;  // 收入分析
        QStringList labels;
        QList<double> values;
        bool income = true;
    };

    // The table's Item labels and Amount values (raw numbers, never the display text), in
    // the table's order.
    static Points points(const ReportTable& table, const QString& title, bool income);

    // A new chart of the points; the caller owns it.
    static QChart* make(Kind kind, const Points& points);
    // The series colour of a side, and the colour of pie slice i.
    static QColor colour(bool income);
    static QColor sliceColour(bool income, int index);
    static QString sliceLabel(const QString& label, double value, double total);

    static QSize pngSize() { return {1200, 700}; }
    static QStringList tabCaptions();  // 柱图, 折线图, 饼图
    // "bar", "line", "pie"; false for another word.
    static bool kindFromWord(const QString& word, Kind* kind);

    // The chart in `scene`, laid out at `size` as image() paints it.
    static QChart* laidOut(QGraphicsScene& scene, Kind kind, const Points& points, QSize size);
    // Paints the chart offscreen; needs the application object of a graphical program.
    static QImage image(Kind kind, const Points& points, QSize size = pngSize());
    // Writes the picture through OutputFile (never into the folder of dataFile, the open data
    // file); false with *error set when it cannot be written, and then no file is changed.
    static bool writePng(Kind kind, const Points& points, const QString& path,
                         const QString& dataFile, QString* error, QSize size = pngSize());
};

}  // namespace cw
