#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace cw {

class DatePicker;
struct AppContext;

// "导出到其它记账软件": the open book's postings written for another bookkeeping program, in
// the format, over the dates and into the file the user picks.
class LedgerExportDialog : public QDialog {
    Q_OBJECT

  public:
    LedgerExportDialog(AppContext& ctx, QWidget* parent = nullptr);

    QComboBox* format() const { return format_; }
    QCheckBox* byDate() const { return byDate_; }
    DatePicker* from() const { return from_; }
    DatePicker* to() const { return to_; }
    QLineEdit* file() const { return file_; }
    QPushButton* exportButton() const { return export_; }

    // Runs the export of the fields; the outcome is a message box.
    void runExport();

  private:
    void browse();
    // Export/<book><suffix of the chosen format>, remembered as the proposal.
    QString suggested();

    AppContext& ctx_;
    QComboBox* format_;
    QCheckBox* byDate_;
    DatePicker* from_;
    DatePicker* to_;
    QLineEdit* file_;
    QPushButton* export_;
    QString proposed_;
};

}  // namespace cw
