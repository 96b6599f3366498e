#pragma once

#include <QString>

class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace cw {

// What every import dialog is framed by: a group on top that opens the file (its hint beside
// "打开"), and at the foot "导入" (disabled until something can be booked) and "退出", after
// an optional widget such as a progress bar. The object names are the ones tests find.
class ImportFrame {
  public:
    static QGroupBox* openGroup(const QString& title, const QString& hint, QPushButton** open);
    static QHBoxLayout* buttonRow(QPushButton** import, QPushButton** exit,
                                  QWidget* leading = nullptr);
};

}  // namespace cw
