#include "app/ui/Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "widgets/Messages.h"

namespace cw {

bool Desktop::openUrl(const QString& url, Messages* messages) {
    if (QDesktopServices::openUrl(QUrl(url))) return true;
    if (messages) messages->warn(QStringLiteral("无法打开网页：") + url, QStringLiteral("提示"));
    return false;
}

bool Desktop::startProgram(const QString& program, const QStringList& args, Messages* messages) {
    if (QProcess::startDetached(program, args)) return true;
    if (messages) {
        messages->warn(QStringLiteral("无法启动程序：") + program, QStringLiteral("提示"));
    }
    return false;
}

bool Desktop::startCalculator(Messages* messages) {
    for (const char* name :
         {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "mate-calc", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty() && QProcess::startDetached(path, {})) return true;
    }
    if (messages) {
        messages->warn(
            QStringLiteral("没有找到计算器程序，请先安装一个计算器（例如 gnome-calculator）。"),
            QStringLiteral("提示"));
    }
    return false;
}

}  // namespace cw
