#pragma once

#include <QList>
#include <QWidget>

#include "reports/ReportDefinition.h"
#include "reports/render/AnalysisChart.h"

class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace cw {

struct AppContext;
class ReportTableModel;

// The two grids of a two-sided report (收入 | 支出, 债务 | 债权), side by side, each half the
// width, each in a group named after its side with its own status line.
class SideGrids : public QWidget {
    Q_OBJECT

  public:
    SideGrids(const ReportDefinition& definition, QWidget* parent = nullptr);

    // Shows each side of the run's table.
    void setTable(const ReportTable& all);
    QTableView* grid(int side) const { return grids_.value(side); }
    ReportTableModel* model(int side) const { return models_.value(side); }
    QStringList statusTexts(int side) const;

  private:
    const ReportDefinition& def_;
    QList<QTableView*> grids_;
    QList<ReportTableModel*> models_;
    QList<QList<QLabel*>> status_;
};

// The three charts of an analysis screen on the tabs 柱图, 折线图 and 饼图, redrawn from each
// run's table, values shown when the pointer rests on a bar, a point or a slice; "保存图片"
// writes the chart of the open tab as a PNG beside the exported workbooks.
class ChartTabs : public QWidget {
    Q_OBJECT

  public:
    ChartTabs(AppContext& ctx, const ReportDefinition& definition, bool income,
              QWidget* parent = nullptr);

    void setTable(const ReportTable& table);
    const AnalysisChart::Points& points() const { return points_; }
    QTabWidget* tabs() const { return tabs_; }
    QChartView* view(AnalysisChart::Kind kind) const { return views_.value(int(kind)); }
    QPushButton* saveButton() const { return save_; }

  public slots:
    // Returns the file written, empty when nothing was.
    QString ButSaveClick();

  private:
    void hoverValues(QChart* chart);

    AppContext& ctx_;
    const ReportDefinition& def_;
    bool income_;
    AnalysisChart::Points points_;
    QTabWidget* tabs_ = nullptr;
    QList<QChartView*> views_;
    QPushButton* save_ = nullptr;
};

}  // namespace cw
