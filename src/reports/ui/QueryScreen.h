#pragma once

#include <memory>

#include "reports/QueryReports.h"
#include "reports/ui/ReportScreen.h"

class QComboBox;
class QGroupBox;
class QSplitter;

namespace cw {

// The query screens: the report screen of their description, with the sort group
// "排序条件" (its two drop-downs take only their listed items) between the filters and the
// grid, and, where the description has one, a lower grid of the records under the clicked
// row, the two grids separated by a movable splitter. A run sorts by the sort group as it
// stands; the lower grid keeps its rows until the next click.
class QueryScreen : public ReportScreen {
    Q_OBJECT

  public:
    QueryScreen(AppContext& ctx, const QueryDefinition& query, QWidget* parent = nullptr);
    ~QueryScreen() override;

    const QueryDefinition& query() const { return query_; }
    // Null without a sort group (转帐查询).
    QComboBox* sortBox() const { return sortBox_; }
    QComboBox* directionBox() const { return directionBox_; }
    ReportSort sort() const;
    // Null without a lower grid.
    QTableView* detailGrid() const { return detailGrid_; }
    ReportTableModel* detailModel() const { return detailModel_; }

    // The records under a row of the main grid; does nothing on an empty grid.
    void showDetail(int row);

  private:
    struct Shared;
    QueryScreen(AppContext& ctx, const QueryDefinition& query, std::shared_ptr<Shared> shared,
                QWidget* parent);
    static std::shared_ptr<Shared> makeShared(const QueryDefinition& query);

    AppContext& qctx_;
    const QueryDefinition& query_;
    std::shared_ptr<Shared> shared_;
    QComboBox* sortBox_ = nullptr;
    QComboBox* directionBox_ = nullptr;
    QTableView* detailGrid_ = nullptr;
    ReportTableModel* detailModel_ = nullptr;
};

// The nine query screens under their own names, for the main window.
#define CW_QUERY_SCREEN(Name)                                             \
    class Name : public QueryScreen {                                     \
      public:                                                             \
        explicit Name(AppContext& ctx, QWidget* parent = nullptr)         \
            : QueryScreen(ctx, *QueryReports::byScreen(#Name), parent) {} \
    };
CW_QUERY_SCREEN(TfrmP_In)
CW_QUERY_SCREEN(TfrmP_Out)
CW_QUERY_SCREEN(TfrmP_A)
CW_QUERY_SCREEN(TfrmP_B)
CW_QUERY_SCREEN(TfrmP_D)
CW_QUERY_SCREEN(TfrmTZ_Qu)
CW_QUERY_SCREEN(TfrmBR_Q)
CW_QUERY_SCREEN(TfrmDR_Q)
CW_QUERY_SCREEN(TfrmTR_Q)
#undef CW_QUERY_SCREEN

}  // namespace cw
