#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "reports/ReportDefinition.h"
#include "widgets/AppContext.h"

class QCheckBox;
class QDialog;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace cw {

class ChartTabs;
class DatePicker;
class ReportTableModel;
class SideGrids;

// The one window of every report and query screen, configured by a ReportDefinition: the
// filter group "查询条件" (the date range and the definition's name filters, each with its
// check box), the run button, "Excel", "打印" and "退出"; a thin progress bar; the grid of the
// last run's ReportTable; and the status line of the definition's texts.
//
// "Excel" and "打印" stay disabled until a run has finished and always use the last run's
// table: Excel through ExcelExport with ExportLayout::forScreen(screen), 打印 through
// ReportPreview with PrintLayout::named(printLayout). A refused run (reversed dates) shows
// its message and leaves grid, totals and buttons as they were.
//
// A concrete screen is a one-line subclass handing in its definition (TfrmSZ_M), registered
// with the main window in ReportScreens.cpp.
class ReportScreen : public QWidget {
    Q_OBJECT

  public:
    using DialogRunner = std::function<int(QDialog&)>;

    ReportScreen(AppContext& ctx, const ReportDefinition& definition, QWidget* parent = nullptr);
    ~ReportScreen() override;

    // How the preview runs; the main window hands in its own.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    const ReportDefinition& definition() const { return def_; }
    // The filter as the fields show it now.
    ReportFilter filter() const;
    // The table of the last run (empty before one).
    const ReportTable& table() const;

    DatePicker* fromPicker() const { return from_; }
    DatePicker* toPicker() const { return to_; }
    QCheckBox* datesBox() const { return datesBox_; }
    QCheckBox* filterBox(FilterKey key) const { return boxes_.value(int(key)); }
    // The drop-down (QComboBox) or line (QLineEdit) of a filter.
    QWidget* filterField(FilterKey key) const { return fields_.value(int(key)); }
    QPushButton* runButton() const { return run_; }
    QPushButton* excelButton() const { return excel_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* exitButton() const { return exit_; }
    QProgressBar* progressBar() const { return progress_; }
    QTableView* grid() const { return grid_; }
    ReportTableModel* model() const { return model_; }
    QStringList statusTexts() const;
    // Two-sided reports: the grids of the sides; analysis screens: the chart tabs (else null).
    SideGrids* sides() const { return sides_; }
    ChartTabs* charts() const { return charts_; }

    // Puts a text into a filter, ticks it and runs, leaving "Excel" as it was: the dashboard's
    // account-type pictures open the account query this way.
    void preset(FilterKey key, const QString& text);

  public slots:
    void ButRunClick();
    void ButExcelClick();
    void ButPrintClick();
    void ButExitClick();

  private:
    QWidget* buildFilters();
    void addFilter(const ReportDefinition::FilterField& f, QHBoxLayout* line);

    AppContext& ctx_;
    const ReportDefinition& def_;
    DialogRunner runDialog_;
    DatePicker* from_ = nullptr;
    DatePicker* to_ = nullptr;
    QCheckBox* datesBox_ = nullptr;
    QHash<int, QCheckBox*> boxes_;
    QHash<int, QWidget*> fields_;
    QPushButton* run_ = nullptr;
    QPushButton* excel_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* exit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableView* grid_ = nullptr;
    ReportTableModel* model_ = nullptr;
    QList<QLabel*> status_;
    SideGrids* sides_ = nullptr;
    ChartTabs* charts_ = nullptr;
    QList<QWidget*> datesRow_;
};

}  // namespace cw
