#include "app/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace cw {

namespace {

const QString kGeometry = QStringLiteral("MainWindow/geometry");
const QString kMaximized = QStringLiteral("MainWindow/maximized");

}  // namespace

WindowPlacement::WindowPlacement(QString file) : file_(std::move(file)) {}

QRect WindowPlacement::fit(QRect wanted, const QRect& available) {
    wanted.setSize(wanted.size().boundedTo(available.size()));
    if (wanted.right() > available.right()) wanted.moveRight(available.right());
    if (wanted.bottom() > available.bottom()) wanted.moveBottom(available.bottom());
    if (wanted.left() < available.left()) wanted.moveLeft(available.left());
    if (wanted.top() < available.top()) wanted.moveTop(available.top());
    return wanted;
}

void WindowPlacement::restore(QWidget& window, const QSize& preferred) const {
    const QSettings settings(file_, QSettings::IniFormat);
    QRect wanted = settings.value(kGeometry).toRect();
    // The screen it was on, when that is still attached; otherwise the main screen.
    QScreen* screen = wanted.isValid() ? QGuiApplication::screenAt(wanted.center()) : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(preferred);
        return;
    }
    const QRect inside = screen->availableGeometry() - kFrame;
    if (!wanted.isValid()) {
        wanted = QRect(QPoint(), preferred.boundedTo(inside.size()));
        wanted.moveCenter(inside.center());
    }
    window.setGeometry(fit(wanted, inside));
    if (settings.value(kMaximized).toBool()) window.setWindowState(Qt::WindowMaximized);
}

void WindowPlacement::save(const QWidget& window) const {
    QSettings settings(file_, QSettings::IniFormat);
    // A maximised window keeps the size it returns to.
    settings.setValue(kGeometry,
                      window.isMaximized() ? window.normalGeometry() : window.geometry());
    settings.setValue(kMaximized, window.isMaximized());
}

}  // namespace cw
