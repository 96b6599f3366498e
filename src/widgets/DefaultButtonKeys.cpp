#include "widgets/DefaultButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace cw {

void DefaultButtonKeys::attach(QWidget* window) {
    window->installEventFilter(new DefaultButtonKeys(window));
}

QPushButton* DefaultButtonKeys::defaultButton(QWidget* window) {
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        // A dialog the window runs has buttons of its own; they are not the window's.
        if (b->isDefault() && b->window() == window->window() && b->isEnabled() &&
            b->isVisibleTo(window))
            return b;
    }
    return nullptr;
}

bool DefaultButtonKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    QPushButton* button = defaultButton(static_cast<QWidget*>(watched));
    if (!button) return false;
    button->click();
    return true;
}

}  // namespace cw
