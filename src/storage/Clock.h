#pragma once

#include <QDate>
#include <QString>

namespace cw {

// Where today's date comes from. The program reads the system clock; tests stand on
// any day they like by fixing it.
class Clock {
  public:
    static Clock system() { return Clock(QDate()); }
    static Clock fixed(const QDate& day) { return Clock(day); }

    QDate today() const { return fixed_.isValid() ? fixed_ : QDate::currentDate(); }
    QString todayText() const { return today().toString(QStringLiteral("yyyy-MM-dd")); }
    QString monthText() const { return today().toString(QStringLiteral("yyyy-MM")); }

  private:
    explicit Clock(const QDate& day) : fixed_(day) {}
    QDate fixed_;
};

}  // namespace cw
