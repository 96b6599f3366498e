#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace cw {

// Hostile files for the import benchmarks, written without inflating what they unpack to: a
// deflated member is one compressed run of its repeated part, laid down again and again, so a
// package of a few MB that unpacks to GBs takes a moment to write.
class AttackFiles {
  public:
    struct Member {
        QString name;
        QByteArray head;    // written once, first
        QByteArray unit;    // repeated `repeat` times
        qint64 repeat = 0;  // 0: head and tail only
        QByteArray tail;
        // What the package says the member unpacks to; -1: the truth.
        qint64 declaredSize = -1;
    };

    // A package with the workbook parts a reader needs to find Sheet1, plus the given members.
    static void writePackage(const QString& path, const std::vector<Member>& members);
    // How many repeats of unit make a deflated member of about `packedBytes`.
    static qint64 repeatsFor(const QByteArray& unit, qint64 packedBytes);

    // The set, about `packedBytes` each, written under dir: the names of the files.
    //   declared: Sheet1 honestly declared as the GBs it unpacks to;
    //   lying: the same, declared as 1 MB;
    //   far-cells: rows whose only cell lies in the last column;
    //   shared-strings: a shared-string count of two thousand million;
    //   bill-zeros: a bill of zero bytes, no line end anywhere.
    static QStringList write(const QString& dir, qint64 packedBytes);
};

}  // namespace cw
