// The .xls reader's helper process: its output taken in piece by piece, and every way it can
// go wrong (a crash, no end, a flood, garbage, no helper at all) refused with nothing booked.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/ImportKind.h"
#include "import/SpreadsheetImport.h"
#include "import/SpreadsheetReader.h"
#include "import/XlsReader.h"
#include "import/XlsStream.h"
#include "support/Files.h"

namespace {

using cw::SheetError;
using cw::XlsReader;
using cw::XlsStream;

QString fixture(const char* name) {
    return QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/") + QString::fromUtf8(name);
}

QByteArray le32(quint32 n) {
    QByteArray b(4, '\0');
    qToLittleEndian(n, b.data());
    return b;
}

QByteArray frame(char tag, const QByteArray& payload = {}) {
    return tag + le32(quint32(payload.size())) + payload;
}

QByteArray number(double v) {
    QByteArray b(sizeof v, '\0');
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

// The helper's output up to the question, for a book of the sheets 说明 and Sheet1.
QByteArray names() {
    return frame('N', QStringLiteral("说明").toUtf8()) + frame('U') + frame('N', "sheet1") +
           frame('Q');
}

QByteArray dimensions(quint32 rows, quint32 columns) {
    return frame('D', le32(rows) + le32(columns));
}

TEST(XlsStreamTest, TakesFramesInAnyPiecesAsDisplayedTextsAndRefusesWhatDoesNotAddUp) {
    const QByteArray cells = dimensions(3, 4) + frame('R') + frame('T', "日期") +
                             frame('T', "金额") + frame('E', le32(2)) + frame('R') +
                             frame('E', le32(4)) + frame('R') + frame('W', "2026-03-01 00:00:00") +
                             frame('F', number(0.1 + 0.2)) + frame('I', le32(quint32(-7))) +
                             frame('W', "2026-03-02 15:30:00") + frame('Z');
    XlsStream stream(QStringLiteral("Sheet1"));
    for (const char byte : names()) ASSERT_TRUE(stream.feed(QByteArray(1, byte)));
    // The sheet asked for is found ignoring case, past the one whose name did not read.
    ASSERT_TRUE(stream.asked());
    EXPECT_EQ(stream.sheetIndex(), 2);
    for (const char byte : cells) ASSERT_TRUE(stream.feed(QByteArray(1, byte)));
    ASSERT_TRUE(stream.complete());
    EXPECT_EQ(stream.sheet().header, (QStringList{"日期", "金额"}));
    ASSERT_EQ(stream.sheet().rowCount(), 1u);
    EXPECT_EQ(stream.sheet().row(0).join('|'),
              QStringLiteral("2026-03-01|0.3|-7|2026-03-02 15:30:00"));
    EXPECT_EQ(stream.sheet().rowNumber(0), 3);

    const auto refused = [](const QByteArray& after) {
        XlsStream s(QStringLiteral("Sheet1"));
        return !s.feed(names() + after);
    };
    EXPECT_TRUE(refused(dimensions(1, 2) + frame('R') + frame('T', "a") + frame('E', le32(2))));
    EXPECT_TRUE(refused(dimensions(1, 1) + frame('R') + frame('Z')));               // a cell short
    EXPECT_TRUE(refused(dimensions(1, 1) + frame('R') + frame('T') + frame('R')));  // a row over
    EXPECT_TRUE(refused(dimensions(1, 257)));  // more columns than a BIFF sheet has
    EXPECT_TRUE(refused(dimensions(0, 1) + frame('Z') + frame('R')));  // past the end
    EXPECT_TRUE(refused(dimensions(1, 1) + frame('R') + frame('I', "12")));
    EXPECT_TRUE(refused(dimensions(1, 1) + frame('R') + frame('T', QByteArray(300 * 1024, 'x'))));
    EXPECT_TRUE(refused("\x01garbage"));
}

class XlsHelperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"));
        cw::test::openAccount(f, QStringLiteral("招行卡"), 1000, QStringLiteral("爸爸"));
        QFile::copy(fixture("income.xls"), xls());
        XlsReader::Limits tight;
        tight.outputBytes = 1024 * 1024;
        tight.wallSeconds = 3;
        XlsReader::setLimits(tight);
        journalBefore = cw::test::lastJournalId(f.db());
    }
    void TearDown() override {
        XlsReader::setLimits({});
        XlsReader::setHelper(QStringLiteral(COINWICK_XLS_HELPER));
    }

    QString xls() const { return dir.filePath("income.xls"); }

    // A helper that runs the shell script given; `out` is a file of bytes it may cat.
    void fakeHelper(const QByteArray& script, const QByteArray& out = {}) {
        const QString path = dir.filePath("fake-helper");
        cw::test::writeFile(dir.filePath("out.bin"), out);
        cw::test::writeFile(path, "#!/bin/sh\ncd '" + dir.path().toUtf8() + "'\n" + script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        XlsReader::setHelper(path);
    }

    // Reads, checks and books the income sheet as the import dialog does; the refusal message.
    QString import() {
        try {
            const cw::SheetRows sheet = cw::SpreadsheetReader::read(xls());
            const cw::ImportKind* kind = cw::ImportKind::byCliName(QStringLiteral("in"));
            const cw::SpreadsheetImport::Checked c = cw::SpreadsheetImport::check(*kind, sheet);
            if (!c.ok()) return c.message;
            cw::SpreadsheetImport(f.dm()).book(*kind, c.postings);
        } catch (const SheetError& e) {
            return e.message();
        }
        return QString();
    }

    void expectNothingBooked() {
        EXPECT_EQ(f.count("InTable"), 0);
        EXPECT_EQ(cw::test::lastJournalId(f.db()), journalBefore);
        EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("招行卡")), 1000);
    }

    cw::test::TempDataFile f;
    QTemporaryDir dir;
    qint64 journalBefore = 0;
};

TEST_F(XlsHelperTest, ACrashAHangGarbageOrAShortStreamIsADamagedFileAndBooksNothing) {
    const QByteArray whole = names() + dimensions(0, 6) + frame('Z');
    const QString damaged = QStringLiteral("Excel文件已损坏，无法读取！");
    const std::vector<std::pair<QByteArray, QByteArray>> helpers = {
        {"cat out.bin\nkill -SEGV $$\n", names()},
        {"cat out.bin\nexec sleep 600\n", names()},  // killed when its time is up
        {"printf 'not frames at all'\n", {}},
        {"cat out.bin\n", names() + dimensions(1, 6)},
        {"cat out.bin\nexit 1\n", whole},
    };
    for (const auto& [script, out] : helpers) {
        fakeHelper(script, out);
        EXPECT_EQ(import(), damaged) << script.constData();
        expectNothingBooked();
    }
}

TEST_F(XlsHelperTest, AFloodIsRefusedAtItsLimitAMissingSheetOrHelperIsNamed) {
    QByteArray row = frame('R');
    for (int c = 0; c < 6; ++c) row += frame('T', QByteArray(100, 'x'));
    fakeHelper("cat out.bin\nwhile :; do cat row.bin; done\n", names() + dimensions(65536, 6));
    cw::test::writeFile(dir.filePath("row.bin"), row.repeated(1000));
    EXPECT_EQ(import(), QStringLiteral("Excel文件内容过大（超过 1 MB），无法读取！"));
    expectNothingBooked();

    XlsReader::setHelper(QStringLiteral(COINWICK_XLS_HELPER));
    try {
        XlsReader::read(xls(), QStringLiteral("Sheet9"));
        ADD_FAILURE() << "a sheet that is not there was read";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Excel文件中找不到工作表 Sheet9！"));
    }
    XlsReader::setHelper(dir.filePath("no-such-helper"));
    EXPECT_TRUE(import().startsWith(QStringLiteral("无法启动读取.xls文件的程序 ")));
    // The test executable's folder holds no helper, nor does a lib/coinwick beside it.
    XlsReader::setHelper(QString());
    EXPECT_TRUE(
        import().startsWith(QStringLiteral("找不到读取.xls文件的程序 coinwick-xls（已查找 ")));
    expectNothingBooked();
}

}  // namespace
