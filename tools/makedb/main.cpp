// Writes the delivered data file: coinwick-makedb PATH
#include <QCoreApplication>
#include <cstdio>

#include "storage/DataFile.h"
#include "storage/DbError.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: coinwick-makedb PATH\n");
        return 2;
    }
    try {
        cw::DataFile::make(QString::fromLocal8Bit(argv[1]));
    } catch (const cw::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
