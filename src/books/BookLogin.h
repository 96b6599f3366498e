#pragma once

#include <QString>
#include <optional>

namespace cw {

class TfrmDM;

// Logging into a book, closing it and changing its password. The dialogs only read their
// fields and show what comes back; every check, every row written and the global state of
// the open book are handled here, so the whole login can be exercised without a window.
class BookLogin {
  public:
    // The field a refusal points the user at.
    enum class Field { None, Book, Password, OldPassword, NewPassword, Confirmation };

    struct Result {
        bool ok = false;
        QString message;            // refusal text; on a password change, the farewell text
        Field focus = Field::None;  // where the user goes on typing after a refusal
        bool bookClosed = false;    // the attempt left no book open: menus off, dashboard to 0
    };

    // Longest password a book may have, in GBK bytes (a Chinese character counts two).
    static constexpr int kMaxPasswordBytes = 20;
    static const QString kTooLong;  // "密码 长度不能大于20！"

    explicit BookLogin(TfrmDM& dm);

    // The book the dialog preselects; empty unless exactly one book is remembered.
    QString rememberedBook();
    // The remembered password of book, if the book keeps one (it may be empty).
    std::optional<QString> rememberedPassword(const QString& book);

    // Checks the book and its password and, when they match, remembers the book and the
    // password as ticked, makes sure the book has its settings row and fills the state of
    // the open book from it. A wrong password leaves no book open.
    Result login(const QString& book, const QString& password, bool rememberBook,
                 bool rememberPassword);

    // Only the book's name goes; its defaults and flags stay until the next login.
    void closeBook();

    // Changes the open book's password, and the remembered one with it.
    Result changePassword(const QString& oldPassword, const QString& newPassword,
                          const QString& confirmation);

    // Length of text in GBK bytes. A character GBK cannot hold counts one byte, as the
    // single replacement character it would become.
    static int gbkLength(const QString& text);

  private:
    bool passwordMatches(const QString& book, const QString& password);

    TfrmDM& dm_;
};

}  // namespace cw
