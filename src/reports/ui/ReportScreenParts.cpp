#include "reports/ui/ReportScreenParts.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "reports/SpreadsheetExport.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/OutputFile.h"
#include "widgets/AppContext.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

SideGrids::SideGrids(const ReportDefinition& definition, QWidget* parent)
    : QWidget(parent), def_(definition) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (const QString& side : def_.sides) {
        auto* group = new QGroupBox(side, this);
        auto* box = new QVBoxLayout(group);
        auto* model = new ReportTableModel(this);
        auto* grid = new QTableView(group);
        grid->setObjectName(QStringLiteral("grid_") + side);
        grid->setModel(model);
        ReadOnlyGrid::setUp(grid, ReadOnlyGrid::Banded | ReadOnlyGrid::StretchLast);
        box->addWidget(grid, 1);
        QList<QLabel*> labels;
        if (def_.sideStatus) {
            auto* status = new QHBoxLayout;
            for (int i = 0; i < 2; ++i) {
                auto* label = new QLabel(group);
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                label->setMinimumWidth(150);
                labels << label;
                status->addWidget(label);
            }
            status->addStretch(1);
            box->addLayout(status);
        }
        // Equal stretch: the left half is exactly half the window.
        row->addWidget(group, 1);
        grids_ << grid;
        models_ << model;
        status_ << labels;
    }
}

void SideGrids::setTable(const ReportTable& all) {
    for (int s = 0; s < models_.size(); ++s) {
        models_[s]->setTable(def_.sideTable(all, s));
        grids_[s]->setColumnWidth(0, 150);
        const QStringList texts =
            def_.sideStatus ? def_.sideStatus(models_[s]->table()) : QStringList();
        for (int i = 0; i < status_[s].size(); ++i) status_[s][i]->setText(texts.value(i));
    }
}

QStringList SideGrids::statusTexts(int side) const {
    QStringList texts;
    for (const QLabel* l : status_.value(side)) texts << l->text();
    return texts;
}

namespace {

constexpr QSize kChartMinimum(480, 320);

}  // namespace

ChartTabs::ChartTabs(AppContext& ctx, const ReportDefinition& definition, bool income,
                     QWidget* parent)
    : QWidget(parent), ctx_(ctx), def_(definition), income_(income) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    const QStringList captions = AnalysisChart::tabCaptions();
    for (int k = 0; k < captions.size(); ++k) {
        auto* view = new QChartView(this);
        view->setRenderHint(QPainter::Antialiasing);
        // Below this a chart has no room left for its axes and Qt cuts every label to "…";
        // the window keeps at least this much for it.
        view->setMinimumSize(kChartMinimum);
        view->setChart(
            AnalysisChart::make(AnalysisChart::Kind(k), {def_.chartTitle, {}, {}, income_}));
        views_ << view;
        tabs_->addTab(view, captions[k]);
    }
    box->addWidget(tabs_, 1);
    auto* foot = new QHBoxLayout;
    foot->addStretch(1);
    save_ = new QPushButton(QStringLiteral("保存图片"), this);
    save_->setEnabled(false);
    connect(save_, &QPushButton::clicked, this, [this] { ButSaveClick(); });
    foot->addWidget(save_);
    box->addLayout(foot);
}

void ChartTabs::setTable(const ReportTable& table) {
    points_ = AnalysisChart::points(table, def_.chartTitle, income_);
    for (int k = 0; k < views_.size(); ++k) {
        QChart* old = views_[k]->chart();
        QChart* chart = AnalysisChart::make(AnalysisChart::Kind(k), points_);
        hoverValues(chart);
        views_[k]->setChart(chart);
        delete old;
    }
    save_->setEnabled(true);
}

void ChartTabs::hoverValues(QChart* chart) {
    const auto tip = [this](int index) {
        if (index < 0 || index >= points_.labels.size()) return;
        QToolTip::showText(QCursor::pos(), points_.labels[index] + QStringLiteral("：") +
                                               Money::display(points_.values[index]));
    };
    for (QAbstractSeries* s : chart->series()) {
        if (auto* bars = qobject_cast<QBarSeries*>(s)) {
            connect(bars, &QBarSeries::hovered, this, [tip](bool on, int index, QBarSet*) {
                if (on)
                    tip(index);
                else
                    QToolTip::hideText();
            });
        } else if (auto* line = qobject_cast<QLineSeries*>(s)) {
            connect(line, &QLineSeries::hovered, this, [tip](const QPointF& p, bool on) {
                if (on)
                    tip(int(std::lround(p.x())));
                else
                    QToolTip::hideText();
            });
        } else if (auto* pie = qobject_cast<QPieSeries*>(s)) {
            const QList<QPieSlice*> slices = pie->slices();
            for (int i = 0; i < slices.size(); ++i) {
                QPieSlice* slice = slices[i];
                connect(slice, &QPieSlice::hovered, this, [tip, slice, i](bool on) {
                    slice->setExploded(on);
                    if (on)
                        tip(i);
                    else
                        QToolTip::hideText();
                });
            }
        }
    }
}

QString ChartTabs::ButSaveClick() {
    const int k = tabs_->currentIndex();
    QString path =
        SpreadsheetExport::fileFor(ctx_.programDir,
                                   ctx_.state.myBName + QLatin1Char('-') + def_.chartTitle +
                                       QLatin1Char('-') + AnalysisChart::tabCaptions().value(k),
                                   QDateTime::currentDateTime());
    path.chop(5);  // ".xlsx"
    QString png = path + QStringLiteral(".png");
    for (int n = 2; QFileInfo::exists(png); ++n) {
        png = path + QLatin1Char('_') + QString::number(n) + QStringLiteral(".png");
    }
    path = png;
    QString error;
    if (!OutputFile::makePrivateFolder(SpreadsheetExport::exportFolder(ctx_.programDir)) ||
        !AnalysisChart::writePng(AnalysisChart::Kind(k), points_, path, ctx_.db.path(), &error)) {
        ctx_.messages.warn(error.isEmpty() ? QStringLiteral("无法写入图片：") + path : error);
        return QString();
    }
    ctx_.messages.inform(QStringLiteral("图片已保存在：") + QDir::toNativeSeparators(path));
    return path;
}

}  // namespace cw
