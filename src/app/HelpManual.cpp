#include "app/HelpManual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "files/DataFolder.h"

namespace cw {

QStringList HelpManual::folders(const QString& exeDir) {
    QStringList dirs;
    if (const QString given = qEnvironmentVariable("COINWICK_HELP_DIR"); !given.isEmpty()) {
        dirs << given;
    }
    dirs << QDir(exeDir).filePath(QStringLiteral("help"))
         << QDir(DataFolder::shareDirFor(exeDir)).filePath(QStringLiteral("help"));
    return dirs;
}

QString HelpManual::indexFor(const QString& exeDir) {
    for (const QString& dir : folders(exeDir)) {
        const QString index = QDir(dir).filePath(QStringLiteral("index.html"));
        if (QFileInfo(index).isFile()) return QDir::cleanPath(index);
    }
    return {};
}

QString HelpManual::index() {
    return indexFor(QCoreApplication::applicationDirPath());
}

}  // namespace cw
