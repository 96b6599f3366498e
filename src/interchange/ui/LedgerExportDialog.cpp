#include "interchange/ui/LedgerExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "interchange/LedgerExport.h"
#include "reports/IncomeExpenseReport.h"
#include "reports/SpreadsheetExport.h"
#include "storage/OutputFile.h"
#include "widgets/AppContext.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"

namespace cw {

namespace {

struct FormatChoice {
    const char* caption;
    const char* word;
    const char* suffix;
};

constexpr FormatChoice kChoices[] = {
    {"hledger / ledger 日记账", "ledger", ".journal"},
    {"beancount", "beancount", ".beancount"},
    {"QIF", "qif", ".qif"},
    {"CSV（UTF-8）", "csv", ".csv"},
};

}  // namespace

LedgerExportDialog::LedgerExportDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("导出到其它记账软件"));
    auto* form = new QGridLayout;
    format_ = new QComboBox(this);
    for (const FormatChoice& c : kChoices)
        format_->addItem(QString::fromUtf8(c.caption), QString::fromUtf8(c.word));
    Dialogs::addFieldRow(form, QStringLiteral("格        式："), format_);

    byDate_ = new QCheckBox(QStringLiteral("日期"), this);
    from_ = new DatePicker(this);
    to_ = new DatePicker(this);
    from_->setDate(ctx_.clock.today().addMonths(-1));
    to_->setDate(ctx_.clock.today());
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("至："), this));
    dates->addWidget(to_);
    dates->addStretch();
    form->addWidget(byDate_, form->rowCount(), 0);
    form->addLayout(dates, form->rowCount() - 1, 1);
    // Picking a date means the user wants the range.
    connect(from_, &QDateEdit::dateChanged, byDate_, [this] { byDate_->setChecked(true); });
    connect(to_, &QDateEdit::dateChanged, byDate_, [this] { byDate_->setChecked(true); });

    // The file starts as the book's name in Export/, and follows the format while it is the one
    // proposed; a path is long, so the box is wide enough to read one.
    file_ = new QLineEdit(suggested(), this);
    file_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 48);
    connect(format_, &QComboBox::currentIndexChanged, this, [this] {
        if (file_->text() == proposed_) file_->setText(suggested());
    });
    auto* browse = new QPushButton(QStringLiteral("浏览…"), this);
    connect(browse, &QPushButton::clicked, this, &LedgerExportDialog::browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse);
    form->addWidget(new QLabel(QStringLiteral("文        件："), this), form->rowCount(), 0);
    form->addLayout(fileRow, form->rowCount() - 1, 1);

    QPushButton* exit = nullptr;
    QHBoxLayout* buttons = Dialogs::saveRow(this, &export_, &exit);
    export_->setText(QStringLiteral("导出"));
    connect(export_, &QPushButton::clicked, this, &LedgerExportDialog::runExport);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* root = new QVBoxLayout(this);
    root->addLayout(form);
    root->addLayout(buttons);
}

QString LedgerExportDialog::suggested() {
    const FormatChoice& c = kChoices[format_->currentIndex()];
    proposed_ = QDir(SpreadsheetExport::exportFolder(ctx_.programDir))
                    .filePath(SpreadsheetExport::safeFileName(ctx_.state.myBName) +
                              QString::fromUtf8(c.suffix));
    return proposed_;
}

void LedgerExportDialog::browse() {
    const QString start = file_->text().isEmpty() ? suggested() : file_->text();
    const QString path = QFileDialog::getSaveFileName(this, windowTitle(), start);
    if (!path.isEmpty()) file_->setText(path);
}

void LedgerExportDialog::runExport() {
    if (byDate_->isChecked() && from_->text() > to_->text()) {
        Dialogs::focusAndWarn(ctx_.messages, from_, IncomeExpenseReport::reversedDatesMessage());
        return;
    }
    const QString path = file_->text().trimmed();
    if (path.isEmpty()) {
        Dialogs::focusAndWarn(ctx_.messages, file_, QStringLiteral("文件 不能为空！请选择 文件！"));
        return;
    }
    // The proposed file goes to Export/, which a new data folder may not have yet.
    if (QFileInfo(path).absolutePath() ==
        QDir(SpreadsheetExport::exportFolder(ctx_.programDir)).absolutePath())
        OutputFile::makePrivateFolder(QFileInfo(path).absolutePath());
    LedgerExport::Format format = LedgerExport::Format::Ledger;
    LedgerExport::parseFormat(format_->currentData().toString(), &format);
    LedgerExport exporter(ctx_.db, ctx_.state.myBName);
    QString error;
    const QString from = byDate_->isChecked() ? from_->text() : QString();
    const QString to = byDate_->isChecked() ? to_->text() : QString();
    if (!exporter.write(format, path, from, to, ctx_.clock.todayText(), &error)) {
        ctx_.messages.warn(error);
        return;
    }
    ctx_.messages.inform(QStringLiteral("已导出到 ") + path);
    accept();
}

}  // namespace cw
