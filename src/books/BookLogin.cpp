#include "books/BookLogin.h"

#include <iconv.h>

#include <array>
#include <memory>

#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

const QString BookLogin::kTooLong = QStringLiteral("密码 长度不能大于20！");

namespace {

const QString kChooseBook = QStringLiteral("请选择 账簿！如果没有账簿，请退出后新建账簿。");
const QString kWrongPassword = QStringLiteral("密码错误，请重新录入！");
const QString kWrongOldPassword = QStringLiteral("原密码错误！");
const QString kNotConfirmed = QStringLiteral("新密码与确认密码不一致！");
const QString kChanged = QStringLiteral("密码修改成功！请重新登录！");

BookLogin::Result refusal(const QString& message, BookLogin::Field focus) {
    return {false, message, focus, false};
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

}  // namespace

BookLogin::BookLogin(TfrmDM& dm) : dm_(dm) {}

QString BookLogin::rememberedBook() {
    const Query q = dm_.db().query(QStringLiteral("SELECT BName FROM SMRB"));
    return q.recordCount() == 1 ? q.text(QStringLiteral("BName")) : QString();
}

std::optional<QString> BookLogin::rememberedPassword(const QString& book) {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT BPass FROM SMRX WHERE (BName = ?) AND (BPassKG = 1)"), book);
    if (q.recordCount() != 1) return std::nullopt;
    return q.text(QStringLiteral("BPass"));
}

bool BookLogin::passwordMatches(const QString& book, const QString& password) {
    return dm_.db()
               .query(QStringLiteral("SELECT ID FROM SBook WHERE BName=? AND BPass=?"), book,
                      password)
               .recordCount() == 1;
}

BookLogin::Result BookLogin::login(const QString& book, const QString& password, bool rememberBook,
                                   bool rememberPassword) {
    if (book.isEmpty()) return refusal(kChooseBook, Field::Book);
    if (gbkLength(password) > kMaxPasswordBytes) return refusal(kTooLong, Field::Password);

    Database& db = dm_.db();
    const Query found =
        db.query(QStringLiteral("SELECT thePX, theJZPX FROM SBook WHERE BName=? AND BPass=?"), book,
                 password);
    if (found.recordCount() != 1) {
        // Whatever was open before is closed too: a half-open book whose menus stay up
        // while every statement matches nothing helps nobody.
        closeBook();
        return {false, kWrongPassword, Field::Password, true};
    }

    // What the dialog remembers and the book's settings row go in together or not at all.
    Transaction tx(db);
    if (rememberBook) {
        if (db.query(QStringLiteral("SELECT BName FROM SMRB")).isEmpty())
            dm_.myESql(QStringLiteral("INSERT INTO SMRB(BName) VALUES(?)"), book);
        else
            dm_.myESql(QStringLiteral("UPDATE SMRB SET BName = ?"), book);
    } else {
        dm_.myESql(QStringLiteral("DELETE FROM SMRB"));
    }

    // Books made before settings rows existed get theirs now, with nothing chosen.
    if (db.query(QStringLiteral("SELECT ID FROM SMRX WHERE (BName = ?)"), book).isEmpty()) {
        dm_.myESql(QStringLiteral("INSERT INTO SMRX(BName, BPass, FName, IName, OName, TName, "
                                  "BPassKG, AName) VALUES(?, '', '', '', '', '', 0, '')"),
                   book);
    }
    if (rememberPassword)
        dm_.myESql(QStringLiteral("UPDATE SMRX SET BPass=?, BPassKG=1 WHERE BName=?"), password,
                   book);
    else
        dm_.myESql(QStringLiteral("UPDATE SMRX SET BPass='', BPassKG=0 WHERE BName=?"), book);

    const Query settings = db.query(
        QStringLiteral("SELECT FName, AName, IName, OName, TName, PName, "
                       "D_I, D_O, D_C, D_B, D_D, D_T, TX_M, TX_T FROM SMRX WHERE (BName = ?)"),
        book);
    tx.commit();

    // The state changes only once everything above has reached the file.
    GlobalState& s = dm_.state();
    s.myBName = book;
    s.myPX = found.text(QStringLiteral("thePX"));
    s.myJZPX = found.text(QStringLiteral("theJZPX"));
    if (settings.recordCount() == 1) {
        s.myFName = settings.text(QStringLiteral("FName"));
        s.myAName = settings.text(QStringLiteral("AName"));
        s.myIName = settings.text(QStringLiteral("IName"));
        s.myOName = settings.text(QStringLiteral("OName"));
        s.myTName = settings.text(QStringLiteral("TName"));
        s.myPName = settings.text(QStringLiteral("PName"));
        s.myD_I = settings.boolean(QStringLiteral("D_I"));
        s.myD_O = settings.boolean(QStringLiteral("D_O"));
        s.myD_C = settings.boolean(QStringLiteral("D_C"));
        s.myD_B = settings.boolean(QStringLiteral("D_B"));
        s.myD_D = settings.boolean(QStringLiteral("D_D"));
        s.myD_T = settings.boolean(QStringLiteral("D_T"));
        s.myTX_M = settings.boolean(QStringLiteral("TX_M"));
        s.myTX_T = settings.boolean(QStringLiteral("TX_T"));
    }
    return {true, QString(), Field::None, false};
}

void BookLogin::closeBook() {
    dm_.state().myBName.clear();
}

BookLogin::Result BookLogin::changePassword(const QString& oldPassword, const QString& newPassword,
                                            const QString& confirmation) {
    const QString book = dm_.book();
    if (!passwordMatches(book, oldPassword)) return refusal(kWrongOldPassword, Field::OldPassword);
    if (newPassword != confirmation) return refusal(kNotConfirmed, Field::Confirmation);
    // A password the login would refuse as too long would lock the book for good.
    if (gbkLength(newPassword) > kMaxPasswordBytes) return refusal(kTooLong, Field::NewPassword);

    // The remembered password changes with the book's, so the next start still logs in
    // by itself instead of offering a password that no longer fits.
    Transaction tx(dm_.db());
    dm_.myESql(QStringLiteral("UPDATE SBook SET BPass=? WHERE BName=?"), newPassword, book);
    dm_.myESql(QStringLiteral("UPDATE SMRX SET BPass=? WHERE (BName=?) AND (BPassKG = 1)"),
               newPassword, book);
    tx.commit();
    return {true, kChanged, Field::None, false};
}

int BookLogin::gbkLength(const QString& text) {
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == iconv_t(-1)) {
        // No converter at hand: everything outside ASCII is two bytes in GBK anyway.
        int n = 0;
        for (const char32_t c : text.toUcs4()) n += c < 0x80 ? 1 : 2;
        return n;
    }
    const std::unique_ptr<void, IconvCloser> guard(cd);
    int total = 0;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) {
            ++total;
            continue;
        }
        QByteArray in = QString::fromUcs4(&c, 1).toUtf8();
        std::array<char, 8> out{};
        char* inPtr = in.data();
        char* outPtr = out.data();
        size_t inLeft = size_t(in.size());
        size_t outLeft = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        total += rc == size_t(-1) ? 1 : int(out.size() - outLeft);
    }
    return total;
}

}  // namespace cw
