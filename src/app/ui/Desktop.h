#pragma once

#include <QString>
#include <QStringList>

namespace cw {

class Messages;

// The desktop's programs and pages: the web browser, the calculator, the updater. Each call
// says clearly when nothing could be started instead of failing silently.
class Desktop {
  public:
    static QString homePage() { return QStringLiteral("https://www.coinwick.cn/"); }
    static QString helpPage() { return QStringLiteral("https://www.coinwick.cn/help/"); }
    static QString updateArchive() {
        return QStringLiteral("https://www.coinwick.cn/download/Coinwick.zip");
    }

    static bool openUrl(const QString& url, Messages* messages);
    static bool startProgram(const QString& program, const QStringList& args, Messages* messages);
    // The first calculator the desktop has.
    static bool startCalculator(Messages* messages);
};

}  // namespace cw
