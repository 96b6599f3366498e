#pragma once

#include <QString>
#include <stdexcept>

namespace cw {

// Every failure of the database engine travels as this exception. The text is the
// engine's own message (plus the statement or file it concerns), so a screen can
// end the current action by showing it as it stands.
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& message, int code = 0)
        : std::runtime_error(message.toStdString()), code_(code) {}

    QString message() const { return QString::fromUtf8(what()); }
    int code() const { return code_; }

  private:
    int code_;
};

}  // namespace cw
