#include <gtest/gtest.h>

#include "storage/NameOrder.h"
#include "storage/PinyinCode.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

QStringList sorted(QStringList names) {
    NameOrder::sort(names);
    return names;
}

}  // namespace

TEST(NameOrder, ChineseNamesSortBySyllableNotByCodePoint) {
    EXPECT_EQ(sorted({"赡养费", "补助津贴", "网银", "经营所得"}),
              QStringList({"补助津贴", "经营所得", "赡养费", "网银"}));
    // Syllable by syllable: bai before bei although the initials say BT after BJ, and a
    // syllable that begins a longer one comes first (xi·an before xian).
    EXPECT_EQ(sorted({"北京", "白天"}), QStringList({"白天", "北京"}));
    EXPECT_EQ(sorted({"先进", "西安"}), QStringList({"西安", "先进"}));
}

TEST(NameOrder, LatinAndDigitsSitAmongTheSyllables) {
    // Digits first; Latin letters by their letter whatever the case, beside the syllables
    // spelled the same; signs do not count; names that spell alike fall back to the text.
    EXPECT_EQ(
        sorted({"招商银行", "ATM取款", "Bank", "阿姨", "10号", "9号", "abc", "补助津贴", "b-ank"}),
        QStringList(
            {"10号", "9号", "阿姨", "abc", "ATM取款", "Bank", "b-ank", "补助津贴", "招商银行"}));
    // Full-width letters spell as their half-width ones.
    EXPECT_EQ(sorted({"Ｚ卡", "A卡"}), QStringList({"A卡", "Ｚ卡"}));
    EXPECT_TRUE(NameOrder::less(QStringLiteral("网银"), QStringLiteral("😀")));
}

TEST(NameOrder, TheStoredCodeResolvesPolyphones) {
    // The table reads 重 as zhong; a book that coded 重庆 as CQ finds it under C.
    const QString table = PinyinCode::of(QStringLiteral("重庆"));
    ASSERT_EQ(table, QStringLiteral("ZQ"));
    const QString chuchai = NameOrder::key(QStringLiteral("出差补助"), QStringLiteral("CCBZ"));
    const QString zhaoshang = NameOrder::key(QStringLiteral("招商"), QStringLiteral("ZS"));
    EXPECT_LT(NameOrder::key(QStringLiteral("重庆"), QStringLiteral("cq")), chuchai);
    EXPECT_GT(NameOrder::key(QStringLiteral("重庆"), table), zhaoshang);
    EXPECT_GT(NameOrder::key(QStringLiteral("重庆")), zhaoshang);
    // A free code of another length is no correction.
    EXPECT_GT(NameOrder::key(QStringLiteral("重庆"), QStringLiteral("C")), zhaoshang);
}

// The engine's NameKey is the same key, the stored code column included.
TEST(NameOrder, TheEngineSortsWithTheSameKey) {
    test::TempDataFile f;
    f.db().exec(QStringLiteral("CREATE TEMP TABLE n(x, c)"));
    for (const char* n : {"网银", "重庆", "ATM取款", "补助津贴", "10号", "赡养费"}) {
        f.db().exec(QStringLiteral("INSERT INTO n VALUES(?, '')"), QString::fromUtf8(n));
    }
    f.db().exec(QStringLiteral("UPDATE n SET c='CQ' WHERE x='重庆'"));
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT x FROM n ORDER BY NameKey(x, c)")).firstColumn(),
              QStringList({"10号", "ATM取款", "补助津贴", "重庆", "赡养费", "网银"}));
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT NameKey(12.5)")).firstColumn(),
              QStringList{"12.5"});
}
