#include "import/ui/ImportDialog.h"

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "import/SpreadsheetImport.h"
#include "import/SpreadsheetReader.h"
#include "import/ui/ImportFrame.h"
#include "widgets/AppContext.h"

namespace cw {

// The preview grid reads the sheet as read; a model rather than a filled table widget, so a
// sheet of 100,000 rows opens at once.
class SheetRowsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void setSheet(const SheetRows* sheet) {
        beginResetModel();
        sheet_ = sheet;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !sheet_ ? 0 : int(sheet_->rowCount());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !sheet_ ? 0 : int(sheet_->header.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !sheet_) return {};
        return sheet_->text(size_t(index.row()), index.column());
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole || !sheet_) return {};
        if (o == Qt::Vertical) return sheet_->rowNumber(size_t(section));
        return sheet_->header.value(section);
    }

  private:
    const SheetRows* sheet_ = nullptr;
};

namespace {

QString countCaption(int rows) {
    return QStringLiteral("EXCEL数据  共有 %1 条数据").arg(rows);
}

}  // namespace

ImportDialog::ImportDialog(AppContext& ctx, const ImportKind& kind, QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind) {
    setWindowTitle(kind.caption);
    setObjectName(kind.className);
    resize(820, 560);
    chooser_ = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                            QStringLiteral("Excel文件(*.xls);;Excel文件(*.xlsx)"));
    };

    QPushButton* openButton = nullptr;
    QGroupBox* openGroup =
        ImportFrame::openGroup(QStringLiteral("打开EXCEL文件"), kind.hint(), &openButton);

    dataGroup_ = new QGroupBox(countCaption(0));
    dataGroup_->setObjectName(QStringLiteral("dataGroup"));
    grid_ = new QTableView;
    grid_->setObjectName(QStringLiteral("grid"));
    model_ = new SheetRowsModel(this);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    auto* dataBox = new QVBoxLayout(dataGroup_);
    dataBox->addWidget(grid_);

    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setVisible(false);
    QPushButton* exitButton = nullptr;
    QHBoxLayout* buttons = ImportFrame::buttonRow(&importButton_, &exitButton, progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(openGroup);
    layout->addWidget(dataGroup_, 1);
    layout->addLayout(buttons);

    connect(openButton, &QPushButton::clicked, this, [this] { ButOpenClick(); });
    connect(importButton_, &QPushButton::clicked, this, [this] { ButImportClick(); });
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::ButOpenClick() {
    const QString path = chooser_(this);
    if (path.isEmpty()) return;
    openFile(path);
}

void ImportDialog::openFile(const QString& path) {
    model_->setSheet(nullptr);
    try {
        sheet_ = SpreadsheetReader::read(path);
    } catch (const SheetError& e) {
        sheet_ = SheetRows();
        dataGroup_->setTitle(countCaption(0));
        importButton_->setEnabled(false);
        ctx_.messages.warn(e.message());
        return;
    }
    model_->setSheet(&sheet_);
    grid_->resizeColumnsToContents();
    const int rows = int(sheet_.rowCount());
    dataGroup_->setTitle(countCaption(rows));
    importButton_->setEnabled(rows > 0);
}

void ImportDialog::ButImportClick() {
    const SpreadsheetImport::Checked checked = SpreadsheetImport::check(kind_, sheet_);
    if (!checked.ok()) {
        ctx_.messages.warn(checked.message);
        return;
    }
    const int total = int(checked.postings.size());
    progress_->setRange(0, total);
    progress_->setValue(0);
    progress_->setVisible(true);
    int booked = 0;
    try {
        booked = SpreadsheetImport(ctx_.dm).book(kind_, checked.postings, [this](int done) {
            // A repaint every 500 rows keeps the bar moving without slowing the import.
            if (done % 500 == 0) progress_->setValue(done);
        });
    } catch (const std::exception& e) {
        progress_->setVisible(false);
        ctx_.messages.warn(QString::fromUtf8(e.what()) + SpreadsheetImport::nothingImported());
        return;
    }
    progress_->setValue(total);
    ctx_.messages.inform(SpreadsheetImport::doneMessage(booked));
    ctx_.mySum();
    accept();
}

}  // namespace cw
