#include "widgets/EntryKeys.h"

#include <QKeyEvent>

namespace cw {

EntryKeys::EntryKeys(QWidget* panel, Actions actions)
    : QObject(panel), panel_(panel), actions_(std::move(actions)) {
    for (QWidget* w : panel->findChildren<QWidget*>()) w->installEventFilter(this);
}

QList<QWidget*> EntryKeys::fields() const {
    QList<QWidget*> out;
    if (!panel_) return out;
    // The focus chain gives the tab order; a field's own parts (the line edit inside a
    // drop-down or a date picker) belong to the field.
    for (QWidget* w = panel_->nextInFocusChain(); w && w != panel_; w = w->nextInFocusChain()) {
        if (!panel_->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus)) continue;
        if (!w->isVisibleTo(panel_) || !w->isEnabled()) continue;
        const bool part = std::any_of(out.begin(), out.end(),
                                      [w](const QWidget* f) { return f->isAncestorOf(w); });
        if (!part && !out.contains(w)) out << w;
    }
    return out;
}

bool EntryKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !actions_.entering || !actions_.entering())
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return QObject::eventFilter(watched, event);
    if (key->key() == Qt::Key_Escape) {
        if (actions_.cancel) actions_.cancel();
        return true;
    }
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const QList<QWidget*> list = fields();
    qsizetype at = -1;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i] == widget || list[i]->isAncestorOf(widget)) at = i;
    }
    if (at < 0) return QObject::eventFilter(watched, event);
    if (at + 1 < list.size()) {
        list[at + 1]->setFocus(Qt::TabFocusReason);
    } else if (actions_.save) {
        actions_.save();
    }
    return true;
}

}  // namespace cw
