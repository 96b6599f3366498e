#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

namespace cw {

// The program's message boxes, each at least as wide as its title bar needs: a box sizes
// itself by its text alone, and a short text would cut the caption ("Coi… 软件").
class MessageBox {
  public:
    static std::unique_ptr<QMessageBox> make(QMessageBox::Icon icon, const QString& text,
                                             const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QWidget* parent = nullptr);
    // The width the title bar needs for the caption, as the platform writes it (followed by
    // the program's name).
    static int titleWidth(const QString& caption);
};

}  // namespace cw
