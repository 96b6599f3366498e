#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "notes/NoteBook.h"
#include "support/CliRun.h"

namespace {

using cw::NoteBook;

class NoteBookTest : public ::testing::Test {
  protected:
    void SetUp() override { f.addBook(QStringLiteral("我家")); }

    qint64 add(const char* date, const char* member, const char* title, const QString& text) {
        qint64 id = 0;
        const NoteBook::Verdict v = NoteBook(f.dm()).add(
            {QString::fromUtf8(date), QString::fromUtf8(member), QString::fromUtf8(title), text},
            &id);
        EXPECT_TRUE(v.ok()) << v.message.toStdString();
        return id;
    }

    // The titles the query finds, in its order.
    QStringList titles(const NoteBook::Filter& filter) {
        const cw::ReportTable t = NoteBook(f.dm()).find(filter);
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r) out << t.text(r, cw::Field::Title);
        return out;
    }

    cw::test::TempDataFile f;
};

TEST(NoteSummaryTest, LineBreaksAndAsciiBlanksGoThenTheFirst240Characters) {
    EXPECT_EQ(NoteBook::summaryOf(QStringLiteral("买 菜\r\n记得　带袋子\n")),
              QStringLiteral("买菜记得　带袋子"));
    const QString long300 = QString(300, QChar(0x4E00));
    EXPECT_EQ(NoteBook::summaryOf(long300), QString(240, QChar(0x4E00)));
    // A character outside the basic plane counts one and is not split.
    const QString emoji = QString::fromUtf8("😀");
    EXPECT_EQ(NoteBook::summaryOf(QString(239, 'a') + emoji + emoji), QString(239, 'a') + emoji);
}

TEST_F(NoteBookTest, SaveChecksInTheWindowsOrderAndStoresTheTextWhole) {
    NoteBook notes(f.dm());
    EXPECT_EQ(notes.add({"2026-12-01", "", "", ""}).message,
              QStringLiteral("家庭成员 不能为空！请重新选择！"));
    EXPECT_EQ(notes.add({"2026-12-01", "爸爸", " ", ""}).message,
              QStringLiteral("标题 不能为空！请重新录入！"));
    EXPECT_EQ(notes.add({"2026-12-01", "爸爸", "t", "\n"}).message,
              QStringLiteral("内容 不能为空！请重新录入！"));
    EXPECT_EQ(f.count("UThing"), 0);

    const QString text = QStringLiteral("第一行 有空格\r\n第二行'引号'");
    const qint64 id = add("2026-12-01", "爸爸", "家务", text);
    const cw::Query q = f.db().query("SELECT * FROM UThing WHERE ID=?", id);
    EXPECT_EQ(q.text("Detail"), text);
    EXPECT_EQ(q.text("Summary"), QStringLiteral("第一行有空格第二行'引号'"));
    EXPECT_EQ(q.text("BName"), QStringLiteral("我家"));

    // A change re-derives the summary; the loaded note is what was saved.
    ASSERT_TRUE(notes.change(id, {"2026-12-02", "妈妈", "家务2", "a b"}).ok());
    const auto loaded = notes.load(id);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->member, QStringLiteral("妈妈"));
    EXPECT_EQ(f.db().query("SELECT Summary FROM UThing WHERE ID=?", id).text("Summary"),
              QStringLiteral("ab"));
    notes.remove(id);
    EXPECT_FALSE(notes.load(id).has_value());
}

TEST_F(NoteBookTest, QueryFiltersAndSorts) {
    add("2026-11-20", "爸爸", "b 修车", QStringLiteral("换 机油"));
    add("2026-12-05", "妈妈", "a 买菜", QStringLiteral("100%_的 菜"));
    add("2026-12-01", "爸爸", "c 交费", QStringLiteral("水电"));
    f.addBook(QStringLiteral("别家"));
    add("2026-12-03", "爸爸", "别家的", QStringLiteral("换机油"));
    f.openBook(QStringLiteral("我家"));

    NoteBook::Filter all;
    all.byDate = false;
    EXPECT_EQ(titles(all), (QStringList{"b 修车", "c 交费", "a 买菜"}));
    NoteBook::Filter f1 = all;
    f1.byDate = true;
    f1.from = "2026-11-25";
    f1.to = "2026-12-31";
    f1.sort = NoteBook::Filter::Sort::Title;
    f1.descending = true;
    EXPECT_EQ(titles(f1), (QStringList{"c 交费", "a 买菜"}));
    NoteBook::Filter byMember = all;
    byMember.byMember = true;
    byMember.member = "爸爸";
    EXPECT_EQ(titles(byMember), (QStringList{"b 修车", "c 交费"}));

    // The text filter searches the summary: the words without their blank find the note,
    // with it never; % and _ are plain characters.
    NoteBook::Filter text = all;
    text.byText = true;
    text.text = "换机油";
    EXPECT_EQ(titles(text), QStringList{"b 修车"});
    text.text = "换 机油";
    EXPECT_EQ(titles(text), QStringList());
    text.text = "%_";
    EXPECT_EQ(titles(text), QStringList{"a 买菜"});
    NoteBook::Filter title = all;
    title.byTitle = true;
    title.title = "修";
    EXPECT_EQ(titles(title), QStringList{"b 修车"});

    const cw::ReportTable t = NoteBook(f.dm()).find(text);
    EXPECT_EQ(t.text(0, cw::Field::Summary), QStringLiteral("100%_的菜"));
    EXPECT_EQ(t.text(0, cw::Field::Detail), QStringLiteral("100%_的 菜"));
}

TEST_F(NoteBookTest, TheCliAddsAndLists) {
    f.reopen();
    const QStringList book{"--home", f.programDir(), "--book", "我家"};
    cw::test::CliRun r = cw::test::runCli(
        book + QStringList{"note", "add", "date=2026-12-01", "member=爸爸", "text=两行\n第二 行"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    r = cw::test::runCli(book + QStringList{"note", "add", "member=妈妈", "title=空"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("内容 不能为空！请重新录入！\n"));
    r = cw::test::runCli(book + QStringList{"notes", "text=第二行"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QStringLiteral("日期\t家庭成员\t标题\t内容\n2026-12-01\t爸爸\t两行\t两行第二行\n"));
    r = cw::test::runCli(book + QStringList{"notes", "from=2026-12-02"});
    EXPECT_EQ(r.out, QStringLiteral("日期\t家庭成员\t标题\t内容\n"));
    // A date written loosely or one the calendar lacks is refused, not an empty list.
    for (const char* bad : {"from=2026-1-5", "to=2026-02-30", "to=2026/12/01"}) {
        r = cw::test::runCli(book + QStringList{"notes", QString::fromUtf8(bad)});
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_TRUE(r.out.isEmpty()) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("not a date"))) << bad;
    }
}

}  // namespace
