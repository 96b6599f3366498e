#include "app/ProgramHelp.h"

#include <QStringList>

#include "storage/GlobalState.h"

namespace cw {

QString ProgramHelp::text() {
    return QStringLiteral(
        "coinwick - Coinwick记账软件, household bookkeeping with password-protected books\n"
        "usage: coinwick [--home DIR]\n"
        "       coinwick --help\n"
        "       coinwick --version\n"
        "\n"
        "description:\n"
        "  A household keeps one or more password-protected books of income, expenses,\n"
        "  transfers, debts, credits and investments; every movement of money lands in a\n"
        "  fund-flow journal with the account's balance after it. The manual opens with\n"
        "  帮助 or F1; coinwick-cli does the same work without a screen.\n"
        "\n"
        "options:\n"
        "  --home DIR           the folder holding Data/db.kbk, Backup/, Export/ and\n"
        "                       Music/ (also --home=DIR)\n"
        "  --help               this text, then exit\n"
        "  --version            the version, then exit\n"
        "\n"
        "files:\n"
        "  ~/.local/share/Coinwick/Data/db.kbk\n"
        "                       the data file of an installed copy, copied from\n"
        "                       /usr/share/coinwick on the first start; a copy whose own\n"
        "                       folder holds a writable Data/ keeps its data there\n"
        "  ~/.local/share/Coinwick/Backup/\n"
        "                       the copies written on exit and by 备份数据\n"
        "  /usr/share/doc/coinwick/manual/index.html\n"
        "                       the manual\n"
        "\n"
        "exit status:\n"
        "  0  ended normally, or another copy already runs on the same data folder\n"
        "  1  the data folder or the data file could not be used\n"
        "  2  --home names no folder\n"
        "\n"
        "see also:\n"
        "  coinwick-cli(1)\n");
}

QString ProgramHelp::version() {
    return QStringLiteral("coinwick ") + GlobalState::version() + QLatin1Char('\n');
}

QString ProgramHelp::answer(const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == QLatin1String("--help")) return text();
        if (arg == QLatin1String("--version")) return version();
    }
    return {};
}

}  // namespace cw
