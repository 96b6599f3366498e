#pragma once

#include <QString>
#include <stdexcept>

namespace cw {

// Every failure of the database engine travels as this exception. The text is the
// engine's own message (plus the statement or file it concerns), so a screen can
// end the current action by showing it as it stands. The one exception is a file still
// busy after the wait: the engine's "database is locked" tells a household nothing, so
// that failure says in words what happened and what to do.
class DbError : public std::runtime_error {
  public:
    static inline const QString kBusy = QStringLiteral(
        "数据文件正被另一个 Coinwick记账软件 使用，请等它完成或关闭它之后再试！");

    explicit DbError(const QString& message, int code = 0)
        : std::runtime_error(phrase(message, code).toStdString()), code_(code) {}

    QString message() const { return QString::fromUtf8(what()); }
    int code() const { return code_; }

    // The engine's busy and locked codes (SQLITE_BUSY, SQLITE_LOCKED and their extended forms).
    bool busy() const { return (code_ & 0xff) == 5 || (code_ & 0xff) == 6; }

  private:
    static QString phrase(const QString& message, int code) {
        const int primary = code & 0xff;
        return primary == 5 || primary == 6 ? kBusy : message;
    }

    int code_;
};

}  // namespace cw
