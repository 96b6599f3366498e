#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace cw {

// Where the main window opens: the size and place it had when it last closed (kept in an
// ini file in the data folder, beside Data/), or its preferred size centred; either way
// fitted into the available area of the screen it opens on, so the status bar is never cut.
class WindowPlacement {
  public:
    // What a window manager adds around the window (title bar, borders), which is unknown
    // before the first show.
    static constexpr QMargins kFrame{8, 32, 8, 8};

    explicit WindowPlacement(QString file);

    void restore(QWidget& window, const QSize& preferred) const;
    void save(const QWidget& window) const;

    // `wanted` shrunk to fit into `available` and moved into it.
    static QRect fit(QRect wanted, const QRect& available);

  private:
    QString file_;
};

}  // namespace cw
