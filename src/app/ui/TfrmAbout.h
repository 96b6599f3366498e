#pragma once

#include <QDialog>

namespace cw {

// The About box: product name, version and 确定.
class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    TfrmAbout(const QString& version, QWidget* parent = nullptr);
};

}  // namespace cw
