#include "reports/ui/ReportScreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/DbError.h"
#include "widgets/DatePicker.h"

namespace cw {

ReportScreen::ReportScreen(AppContext& ctx, const ReportDefinition& definition, QWidget* parent)
    : QWidget(parent), ctx_(ctx), def_(definition) {
    setObjectName(def_.screen);
    setWindowTitle(def_.caption);
    runDialog_ = [](QDialog& d) { return d.exec(); };

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFilters());

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setFixedHeight(6);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    layout->addWidget(progress_);

    model_ = new ReportTableModel(this);
    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setAlternatingRowColors(true);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setDefaultSectionSize(24);
    grid_->horizontalHeader()->setMinimumSectionSize(90);
    layout->addWidget(grid_, 1);

    auto* status = new QHBoxLayout;
    status->setSpacing(2);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(150);
        label->setVisible(false);
        status_ << label;
        status->addWidget(label);
    }
    status->addStretch(1);
    layout->addLayout(status);
}

ReportScreen::~ReportScreen() = default;

QWidget* ReportScreen::buildFilters() {
    auto* group = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* row = new QHBoxLayout(group);
    auto* lines = new QVBoxLayout;

    datesBox_ = new QCheckBox(def_.datesLabel, group);
    datesBox_->setChecked(true);
    from_ = new DatePicker(group);
    from_->setObjectName(QStringLiteral("from"));
    to_ = new DatePicker(group);
    to_->setObjectName(QStringLiteral("to"));
    const auto [from, to] = def_.defaultDates ? def_.defaultDates(ctx_.clock.today())
                                              : std::pair{ctx_.clock.today(), ctx_.clock.today()};
    from_->setDate(from);
    to_->setDate(to);
    if (def_.datesTickOnChange) {
        for (DatePicker* d : {from_, to_}) {
            connect(d, &QDateEdit::dateChanged, datesBox_, [this] { datesBox_->setChecked(true); });
        }
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(datesBox_);
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("至："), group));
    dates->addWidget(to_);
    dates->addStretch(1);
    lines->addLayout(dates);

    // Two name filters to a line.
    QHBoxLayout* names = nullptr;
    for (size_t i = 0; i < def_.filters.size(); ++i) {
        if (i % 2 == 0) {
            names = new QHBoxLayout;
            lines->addLayout(names);
        } else {
            names->addSpacing(16);
        }
        addFilter(def_.filters[i], names);
        if (i % 2 == 1 || i + 1 == def_.filters.size()) names->addStretch(1);
    }
    row->addLayout(lines, 1);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& caption, void (ReportScreen::*slot)()) {
        auto* b = new QPushButton(caption, group);
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    run_ = button(def_.runCaption, &ReportScreen::ButRunClick);
    run_->setDefault(true);
    excel_ = button(QStringLiteral("Excel"), &ReportScreen::ButExcelClick);
    print_ = button(QStringLiteral("打印"), &ReportScreen::ButPrintClick);
    exit_ = button(QStringLiteral("退出"), &ReportScreen::ButExitClick);
    excel_->setEnabled(false);
    print_->setEnabled(false);
    print_->setVisible(!def_.printLayout.isEmpty());
    row->addLayout(buttons);
    return group;
}

void ReportScreen::addFilter(const ReportDefinition::FilterField& f, QHBoxLayout* line) {
    QWidget* parent = line->parentWidget() ? line->parentWidget() : this;
    auto* box = new QCheckBox(f.label, parent);
    box->setObjectName(QStringLiteral("filter_") + ReportFilter::keyword(f.key));
    QWidget* field = nullptr;
    if (f.names) {
        auto* combo = new QComboBox(parent);
        combo->addItems(f.names(ctx_.dm));
        combo->setMinimumWidth(160);
        // Choosing an entry means filtering by it.
        connect(combo, &QComboBox::activated, box, [box] { box->setChecked(true); });
        field = combo;
    } else {
        auto* edit = new QLineEdit(parent);
        edit->setMinimumWidth(160);
        connect(edit, &QLineEdit::textEdited, box, [box] { box->setChecked(true); });
        field = edit;
    }
    field->setObjectName(QStringLiteral("field_") + ReportFilter::keyword(f.key));
    boxes_.insert(int(f.key), box);
    fields_.insert(int(f.key), field);
    line->addWidget(box);
    line->addWidget(field);
}

ReportFilter ReportScreen::filter() const {
    ReportFilter f;
    f.from = from_->date();
    f.to = to_->date();
    f.datesTicked = datesBox_->isChecked();
    for (const ReportDefinition::FilterField& ff : def_.filters) {
        if (!boxes_.value(int(ff.key))->isChecked()) continue;
        QWidget* field = fields_.value(int(ff.key));
        if (auto* combo = qobject_cast<QComboBox*>(field)) {
            f.set(ff.key, combo->currentText());
        } else if (auto* line = qobject_cast<QLineEdit*>(field)) {
            f.set(ff.key, line->text());
        }
    }
    return f;
}

const ReportTable& ReportScreen::table() const {
    return model_->table();
}

QStringList ReportScreen::statusTexts() const {
    QStringList texts;
    for (const QLabel* l : status_) {
        if (!l->text().isEmpty()) texts << l->text();
    }
    return texts;
}

void ReportScreen::ButRunClick() {
    const ReportFilter f = filter();
    ReportOutcome outcome;
    progress_->setRange(0, 1);
    progress_->setValue(0);
    try {
        outcome = def_.run(ctx_.db, ctx_.state.myBName, f);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    if (!outcome.ok()) {
        ctx_.messages.warn(outcome.refusal);
        return;
    }
    model_->setTable(std::move(outcome.table));
    grid_->resizeColumnsToContents();
    const QStringList texts = def_.statusTexts ? def_.statusTexts(table()) : QStringList();
    for (int i = 0; i < status_.size(); ++i) {
        status_[i]->setText(texts.value(i));
        status_[i]->setVisible(i < texts.size());
    }
    progress_->setValue(1);
    excel_->setEnabled(true);
    print_->setEnabled(true);
}

void ReportScreen::ButExcelClick() {
    ExcelExport::run(ctx_, ExportLayout::forScreen(def_.screen), table(),
                     {ctx_.state.myBName, from_->date(), to_->date()}, progress_);
}

void ReportScreen::ButPrintClick() {
    const ReportPainter painter(PrintLayout::named(def_.printLayout), table(), ctx_.state.myBName,
                                QDateTime::currentDateTime());
    ReportPreview::show(ctx_, painter, this, runDialog_);
}

void ReportScreen::ButExitClick() {
    close();
}

}  // namespace cw
