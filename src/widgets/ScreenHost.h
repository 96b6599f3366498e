#pragma once

#include <QString>
#include <functional>

#include "widgets/AppContext.h"

class QDialog;
class QWidget;

namespace cw {

// The window the subsystems' screens plug into, as they see it: a place to register a screen
// under its class name, the screen context, the frame their windows belong to, and the way
// their dialogs run (which tests script). The main window is the one host; the subsystems
// know only this, so their screens sit below the program that assembles them.
class ScreenHost {
  public:
    // How a screen plugs in: how to build it, and whether it is a working window (inside
    // the frame) or a modal dialog.
    struct Screen {
        enum Kind { Working, Modal };
        Kind kind = Working;
        bool checks = false;          // run myCheckF and myCheckA first
        bool refreshOnClose = false;  // recompute the dashboard when it closes
        std::function<QWidget*(ScreenHost&)> make;
    };

    // A working window of class Window made with the screen context; when it runs dialogs
    // of its own, they run through the host (so tests can script them).
    template <typename Window>
    static Screen working(bool checks = false, bool refreshOnClose = false) {
        return Screen{
            Screen::Working, checks, refreshOnClose, [](ScreenHost& h) -> QWidget* {
                auto* w = new Window(h.context(), h.hostWindow());
                if constexpr (requires { w->setDialogRunner([](QDialog&) { return 0; }); }) {
                    w->setDialogRunner([&h](QDialog& d) { return h.runDialog(d); });
                }
                return w;
            }};
    }
    // A modal dialog of class Window made with the screen context.
    template <typename Window>
    static Screen modal(bool checks = false, bool refreshOnClose = false) {
        return Screen{Screen::Modal, checks, refreshOnClose, [](ScreenHost& h) -> QWidget* {
                          return new Window(h.context(), h.hostWindow());
                      }};
    }

    virtual ~ScreenHost() = default;

    virtual void registerScreen(const QString& className, Screen screen) = 0;
    virtual AppContext& context() = 0;
    // The parent of every window and dialog a screen makes.
    virtual QWidget* hostWindow() = 0;
    virtual int runDialog(QDialog& dialog) = 0;
    // Opens a registered screen the way its menu item does.
    virtual void openScreen(const QString& className) = 0;
    // The working window shown in the frame, if any.
    virtual QWidget* workingWindow() const = 0;
};

}  // namespace cw
