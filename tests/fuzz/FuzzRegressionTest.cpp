// Every fuzz target's body over its starting inputs and over every input a fuzzer once found
// a fault with (fuzz/regressions/<target>/): each must be read or refused, never crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzTargets.h"

namespace cw::fuzz {

namespace {

QStringList inputsOf(const Target& t, const QString& generated) {
    QStringList files;
    for (const QString& root :
         {QStringLiteral(COINWICK_SOURCE_DIR "/fuzz/seeds/"),
          QStringLiteral(COINWICK_SOURCE_DIR "/fuzz/regressions/"), QString(generated + u'/')}) {
        const QDir dir(root + QString::fromLatin1(t.name));
        for (const QString& name : dir.entryList(QDir::Files)) files << dir.filePath(name);
    }
    return files;
}

}  // namespace

TEST(FuzzRegression, EveryTargetReadsOrRefusesItsKeptInputs) {
    QTemporaryDir generated;
    int inputs = 0;
    for (const Target& t : targets()) {
        if (t.seeds) t.seeds(generated.filePath(QString::fromLatin1(t.name)));
        const QStringList files = inputsOf(t, generated.path());
        EXPECT_FALSE(files.isEmpty()) << t.name << " has no starting input";
        for (const QString& path : files) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(path.toStdString());
            EXPECT_EQ(0, t.run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size())));
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0);
}

}  // namespace cw::fuzz
