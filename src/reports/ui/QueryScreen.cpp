#include "reports/ui/QueryScreen.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "reports/ui/ReportTableModel.h"
#include "storage/DbError.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

// The window's description with its run reading the sort group: it lives as long as the
// window, which the base holds by reference.
struct QueryScreen::Shared {
    ReportDefinition report;
    ReportSort sort;
};

std::shared_ptr<QueryScreen::Shared> QueryScreen::makeShared(const QueryDefinition& query) {
    auto shared = std::make_shared<Shared>();
    shared->report = query.report;
    Shared* raw = shared.get();
    const auto run = query.run;
    shared->report.run = [raw, run](Database& db, const QString& book, const ReportFilter& f) {
        return run(db, book, f, raw->sort);
    };
    return shared;
}

QueryScreen::QueryScreen(AppContext& ctx, const QueryDefinition& query, QWidget* parent)
    : QueryScreen(ctx, query, makeShared(query), parent) {}

QueryScreen::QueryScreen(AppContext& ctx, const QueryDefinition& query,
                         std::shared_ptr<Shared> shared, QWidget* parent)
    : ReportScreen(ctx, shared->report, parent),
      qctx_(ctx),
      query_(query),
      shared_(std::move(shared)) {
    auto* column = qobject_cast<QVBoxLayout*>(layout());
    if (!query_.sortItems.isEmpty()) {
        auto* group = new QGroupBox(QStringLiteral("排序条件"), this);
        auto* line = new QHBoxLayout(group);
        line->addWidget(new QLabel(QStringLiteral("排序条件："), group));
        // Drop-downs, not text: only a listed item or direction ever reaches the statement.
        sortBox_ = new QComboBox(group);
        sortBox_->setObjectName(QStringLiteral("sortItem"));
        sortBox_->addItems(query_.sortItems);
        sortBox_->setMinimumWidth(120);
        directionBox_ = new QComboBox(group);
        directionBox_->setObjectName(QStringLiteral("sortDirection"));
        directionBox_->addItems({QStringLiteral("升序"), QStringLiteral("降序")});
        line->addWidget(sortBox_);
        line->addWidget(directionBox_);
        line->addStretch(1);
        column->insertWidget(1, group);
        const auto follow = [this] { shared_->sort = sort(); };
        connect(sortBox_, &QComboBox::currentIndexChanged, this, follow);
        connect(directionBox_, &QComboBox::currentIndexChanged, this, follow);
        follow();
    }
    if (query_.detail) {
        detailModel_ = new ReportTableModel(this);
        detailGrid_ = new QTableView(this);
        detailGrid_->setObjectName(QStringLiteral("detailGrid"));
        detailGrid_->setModel(detailModel_);
        ReadOnlyGrid::setUp(detailGrid_, ReadOnlyGrid::Banded);
        const int at = column->indexOf(grid());
        column->removeWidget(grid());
        auto* splitter = new QSplitter(Qt::Vertical, this);
        splitter->addWidget(grid());
        splitter->addWidget(detailGrid_);
        splitter->setStretchFactor(0, 3);
        splitter->setStretchFactor(1, 1);
        column->insertWidget(at, splitter, 1);
        connect(grid(), &QTableView::clicked, this,
                [this](const QModelIndex& index) { showDetail(index.row()); });
    }
}

QueryScreen::~QueryScreen() = default;

ReportSort QueryScreen::sort() const {
    if (!sortBox_) return {};
    return {sortBox_->currentText(), directionBox_->currentIndex() == 1};
}

void QueryScreen::showDetail(int row) {
    if (!query_.detail || row < 0 || row >= table().rowCount()) return;
    try {
        detailModel_->setTable(query_.detail(qctx_.db, table().rowId(row)));
    } catch (const DbError& e) {
        qctx_.messages.warn(e.message());
        return;
    }
    ReadOnlyGrid::fitToContents(detailGrid_);
}

}  // namespace cw
