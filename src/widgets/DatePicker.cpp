#include "widgets/DatePicker.h"

#include <QCalendarWidget>

namespace cw {

const QString DatePicker::kFormat = QStringLiteral("yyyy-MM-dd");
const QDate DatePicker::kNoDate(1752, 9, 14);

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(kFormat);
    setCalendarPopup(true);
    setMinimumDate(kNoDate);
    setDate(QDate::currentDate());
    // Room for the widest date and the drop-down arrow in any font.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888-88-88")) + 40);
}

QString DatePicker::text() const {
    if (isEmpty()) return QString();
    return date().toString(kFormat);
}

bool DatePicker::setText(const QString& text) {
    if (text.isEmpty()) {
        if (!allowEmpty_) return false;
        setDate(kNoDate);
        return true;
    }
    const QDate d = QDate::fromString(text, kFormat);
    if (!d.isValid() || d <= kNoDate) return false;
    setDate(d);
    return true;
}

void DatePicker::setAllowEmpty(bool allow) {
    if (allowEmpty_ == allow) return;
    allowEmpty_ = allow;
    // A single blank: an empty special text would mean "no special text" to Qt.
    setSpecialValueText(allow ? QStringLiteral(" ") : QString());
    if (!allow && date() == kNoDate) setDate(QDate::currentDate());
}

bool DatePicker::isEmpty() const {
    return allowEmpty_ && date() == kNoDate;
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    const bool wasEmpty = isEmpty();
    QDateEdit::mousePressEvent(event);
    // An empty field would open the calendar on its resting date two centuries back.
    if (wasEmpty && calendarWidget()) {
        const QDate page = emptyPage_.isValid() ? emptyPage_ : QDate::currentDate();
        calendarWidget()->setCurrentPage(page.year(), page.month());
    }
}

}  // namespace cw
