#pragma once

#include <QObject>

class QPushButton;
class QWidget;

namespace cw {

// Enter in a window that lives inside the main window presses its default button, as it
// would in a dialog: lines, dates, check boxes and drop-downs leave Enter to their window, so
// the key reaches the window and runs its query.
class DefaultButtonKeys : public QObject {
    Q_OBJECT

  public:
    // Watches `window`; the watcher goes with it.
    static void attach(QWidget* window);
    // The window's default button when it can be pressed now; null otherwise.
    static QPushButton* defaultButton(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};

}  // namespace cw
