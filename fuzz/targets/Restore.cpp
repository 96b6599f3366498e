// The check a restore runs on the file the user picked, before anything is put in place.
// The file is encrypted with the program's own key, which is no secret: a crafted backup can
// carry any database inside. So an input is either the file as it is ('R' first) or a plain
// database image ('P' first) that is encrypted here, to reach the engine's pages and the
// check's own reading of the tables rather than stop at the page checksums.
#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "books/DataRestore.h"
#include "storage/Database.h"
#include "support/TempDataFile.h"

namespace cw::fuzz {

namespace {

QByteArray rawKey() {
    return "\"x'" +
           QCryptographicHash::hash(Database::kFilePassword.toUtf8(), QCryptographicHash::Sha256)
               .toHex() +
           "'\"";
}

// Copies the database at `from` (keyed with fromKey, "''" for none) into a new file `to`
// keyed with toKey; false when the engine refuses.
bool exportTo(const QString& from, const QByteArray& fromKey, const QString& to,
              const QByteArray& toKey) {
    QFile::remove(to);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(from).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK;
    const QByteArray sql = "PRAGMA key = " + fromKey + "; ATTACH DATABASE '" +
                           QFile::encodeName(to) + "' AS target KEY " + toKey +
                           "; SELECT sqlcipher_export('target'); DETACH DATABASE target;";
    ok = ok && sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return ok;
}

void writeSeed(const QString& path, char mode, const QString& file) {
    QFile in(file);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return;
    out.write(&mode, 1);
    out.write(in.readAll());
}

}  // namespace

int restoreCandidate(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || (data[0] != 'R' && data[0] != 'P')) return 0;
    QString candidate = scratchFile(QStringLiteral("candidate.kbk"), data + 1, size - 1);
    QFile::remove(candidate + QStringLiteral("-journal"));
    if (data[0] == 'P') {
        const QString encrypted = scratchPath(QStringLiteral("encrypted.kbk"));
        if (!exportTo(candidate, "''", encrypted, rawKey())) return 0;
        candidate = encrypted;
    }
    (void)DataRestore(book().dm(), book().programDir()).check(candidate);
    return 0;
}

void restoreSeeds(const QString& dir) {
    QDir().mkpath(dir);
    writeSeed(dir + QStringLiteral("/delivered"), 'R', book().dataPath());
    const QString plain = scratchPath(QStringLiteral("plain.db"));
    if (exportTo(book().dataPath(), rawKey(), plain, "''")) {
        writeSeed(dir + QStringLiteral("/delivered-plain"), 'P', plain);
    }
}

}  // namespace cw::fuzz
