#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace cw {

// The keyboard of an entry panel while a row is being entered or changed: Enter moves to the
// next field and on the last field saves, Esc cancels at once, as the Cancel button does,
// without asking. In browse mode the keys do what they always do.
class EntryKeys : public QObject {
    Q_OBJECT

  public:
    struct Actions {
        std::function<bool()> entering;  // a row is being entered or changed
        std::function<void()> save;      // Enter on the last field
        std::function<void()> cancel;    // Esc
    };

    // Watches every field of `panel` (the fields in their tab order).
    EntryKeys(QWidget* panel, Actions actions);

    // The panel's fields that can take the focus now, in tab order.
    QList<QWidget*> fields() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> panel_;
    Actions actions_;
};

}  // namespace cw
