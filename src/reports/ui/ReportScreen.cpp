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
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "reports/AnalysisReport.h"
#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/ReportScreenParts.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/DbError.h"
#include "widgets/DatePicker.h"
#include "widgets/PinyinKeySearch.h"
#include "widgets/ReadOnlyGrid.h"

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
    ReadOnlyGrid::setUp(grid_, ReadOnlyGrid::OneRow | ReadOnlyGrid::Banded);
    grid_->horizontalHeader()->setMinimumSectionSize(90);
    if (!def_.sides.isEmpty()) {
        // The run's table stays in the (hidden) grid model; each side shows its own part.
        grid_->hide();
        sides_ = new SideGrids(def_, this);
        layout->addWidget(sides_, 1);
    } else if (!def_.chartTitle.isEmpty()) {
        const bool income = def_.chartTitle == AnalysisReport::title(AnalysisReport::Side::Income);
        charts_ = new ChartTabs(ctx_, def_, income, this);
        auto* split = new QSplitter(Qt::Horizontal, this);
        split->addWidget(grid_);
        split->addWidget(charts_);
        split->setStretchFactor(0, 2);
        split->setStretchFactor(1, 3);
        layout->addWidget(split, 1);
    } else {
        layout->addWidget(grid_, 1);
    }

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
    datesBox_->setChecked(def_.datesInitiallyTicked);
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
    auto* until = new QLabel(QStringLiteral("至："), group);
    datesRow_ = {datesBox_, from_, until, to_};
    for (QWidget* w : datesRow_) dates->addWidget(w);
    dates->addStretch(1);
    lines->addLayout(dates);
    if (!def_.hasDates) {
        for (QWidget* w : datesRow_) w->setVisible(false);
    }

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
    // The fixed choices on a line of their own: a drop-down nothing can be typed into.
    if (!def_.choices.empty()) {
        auto* line = new QHBoxLayout;
        for (const ReportDefinition::Choice& c : def_.choices) {
            auto* box = new QCheckBox(c.label, group);
            box->setObjectName(QStringLiteral("filter_") + ReportFilter::keyword(c.key));
            box->setChecked(true);
            box->setEnabled(c.optional);
            auto* combo = new QComboBox(group);
            combo->setObjectName(QStringLiteral("field_") + ReportFilter::keyword(c.key));
            combo->addItems(c.items);
            combo->setCurrentText(c.initial);
            combo->setMinimumWidth(160);
            boxes_.insert(int(c.key), box);
            fields_.insert(int(c.key), combo);
            if (line->count() > 0) line->addSpacing(16);
            line->addWidget(box);
            line->addWidget(combo);
        }
        line->addStretch(1);
        lines->addLayout(line);
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
        if (!f.editable) PinyinKeySearch::attach(combo);
        // Choosing an entry means filtering by it.
        connect(combo, &QComboBox::activated, box, [box] { box->setChecked(true); });
        if (f.editable) {
            combo->setEditable(true);
            if (f.maxLength > 0) combo->lineEdit()->setMaxLength(f.maxLength);
            connect(combo->lineEdit(), &QLineEdit::textEdited, box,
                    [box] { box->setChecked(true); });
        }
        // An unticked filter shows nothing: a name in it would read as a filter in force.
        combo->setCurrentIndex(-1);
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
    f.datesTicked = def_.hasDates && datesBox_->isChecked();
    for (const ReportDefinition::Choice& c : def_.choices) {
        if (!boxes_.value(int(c.key))->isChecked()) continue;
        f.set(c.key, qobject_cast<QComboBox*>(fields_.value(int(c.key)))->currentText());
    }
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
    ReadOnlyGrid::fitToContents(grid_);
    if (sides_) sides_->setTable(table());
    if (charts_) charts_->setTable(table());
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
    if (def_.workbook) {
        try {
            ExcelExport::save(ctx_, def_.workbook(ctx_.db, ctx_.state.myBName, filter(), table()));
        } catch (const DbError& e) {
            ctx_.messages.warn(e.message());
        }
        return;
    }
    ExcelExport::run(ctx_, ExportLayout::forScreen(def_.screen), table(),
                     {ctx_.state.myBName, from_->date(), to_->date()}, progress_);
}

void ReportScreen::ButPrintClick() {
    const ReportPainter painter(PrintLayout::named(def_.printLayout), table(), ctx_.state.myBName,
                                QDateTime::currentDateTime());
    ReportPreview::show(ctx_, painter, this, runDialog_);
}

void ReportScreen::preset(FilterKey key, const QString& text) {
    QWidget* field = fields_.value(int(key));
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        combo->setCurrentText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->setText(text);
    }
    if (QCheckBox* box = boxes_.value(int(key))) box->setChecked(true);
    const bool excel = excel_->isEnabled();
    const bool print = print_->isEnabled();
    ButRunClick();
    excel_->setEnabled(excel);
    print_->setEnabled(print);
}

void ReportScreen::ButExitClick() {
    close();
}

}  // namespace cw
