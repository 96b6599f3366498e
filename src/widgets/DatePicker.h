#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

namespace cw {

// The date field of every entry panel and query: a calendar drop-down, shown and read as
// the stored text yyyy-mm-dd. A field that allows "no date" (a birthday never entered)
// shows nothing and reads "" until the user picks a date.
class DatePicker : public QDateEdit {
    Q_OBJECT

  public:
    static const QString kFormat;  // "yyyy-MM-dd"

    explicit DatePicker(QWidget* parent = nullptr);

    // "yyyy-mm-dd", or "" while an empty-allowed field holds no date.
    QString text() const;
    // Takes "yyyy-mm-dd". "" empties a field that allows it. Anything else (and "" on a
    // field that needs a date) is refused and leaves the field as it was.
    bool setText(const QString& text);

    void setAllowEmpty(bool allow);
    bool allowEmpty() const { return allowEmpty_; }
    bool isEmpty() const;

    // The month the calendar opens on while the field is empty (today, as a rule).
    void setEmptyPage(const QDate& date) { emptyPage_ = date; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // With no date the field rests on its minimum, which shows as blank.
    static const QDate kNoDate;

    bool allowEmpty_ = false;
    QDate emptyPage_;
};

}  // namespace cw
