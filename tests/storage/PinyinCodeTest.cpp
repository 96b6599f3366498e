#include "storage/PinyinCode.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace cw {
namespace {

std::string code(const QString& text, int switches = PinyinCode::UnknownAsQuestion,
                 int maxLength = 255) {
    return PinyinCode::convert(text, switches, maxLength).toStdString();
}

// Raw GBK bytes, for byte sequences no Unicode text encodes to.
std::string gbk(const QByteArray& bytes, int switches = PinyinCode::UnknownAsQuestion,
                int maxLength = 255) {
    return PinyinCode::convertGbk(bytes, switches, maxLength).toStdString();
}

std::string whole(const QString& text) {
    return code(text, PinyinCode::WholeSyllable | PinyinCode::UnknownAsQuestion);
}

std::string syllableAt(int lead, int trail) {
    return PinyinCode::syllable(PinyinCode::readingOf(lead, trail)).toStdString();
}

// Names as users type them, in the program's own mode.
TEST(PinyinCodeNames, HouseholdNames) {
    EXPECT_EQ(code("工资"), "GZ");
    EXPECT_EQ(code("我家账簿1"), "WJZB1");
    EXPECT_EQ(code("a-b c"), "ABC");
    EXPECT_EQ(code("书籍、音像"), "SJ?YX");
    EXPECT_EQ(code("（工资）"), "GZ");
    EXPECT_EQ(code("ａｂ"), "ab");
    EXPECT_EQ(code(""), "");
    EXPECT_EQ(code("招商银行"), "ZSYH");
    EXPECT_EQ(code("娱乐"), "YL");
}

TEST(PinyinCodeNames, OfIsTheProgramMode) {
    for (const char* name : {"工资", "书籍、音像", "a-b c", "（工资）", "😀"}) {
        EXPECT_EQ(PinyinCode::of(name), PinyinCode::convert(name, 2, 255)) << name;
    }
    EXPECT_EQ(PinyinCode::of(QString(300, QChar(u'工'))).size(), 255);
}

// The readings that have to come out one particular way, checked both through text
// and at the GBK code each character occupies.
TEST(PinyinCodeReadings, PinnedCharacters) {
    EXPECT_EQ(whole("啊阿"), "AA");
    EXPECT_EQ(whole("工"), "GONG");
    EXPECT_EQ(whole("资"), "ZI");
    EXPECT_EQ(whole("账长"), "ZHANGZHANG");
    EXPECT_EQ(whole("簿"), "BU");
    EXPECT_EQ(whole("行"), "HANG");
    EXPECT_EQ(whole("重中"), "ZHONGZHONG");
    EXPECT_EQ(whole("乐"), "LE");
    EXPECT_EQ(whole("丂"), "YU");
    EXPECT_EQ(whole("庄"), "ZHUANG");

    EXPECT_EQ(PinyinCode::readingOf(0xB0, 0xA1), 1);
    EXPECT_EQ(PinyinCode::readingOf(0xB0, 0xA2), 1);
    EXPECT_EQ(syllableAt(0xB9, 0xA4), "gong");
    EXPECT_EQ(syllableAt(0xD7, 0xCA), "zi");
    EXPECT_EQ(syllableAt(0xD5, 0xCB), "zhang");
    EXPECT_EQ(syllableAt(0xB3, 0xA4), "zhang");
    EXPECT_EQ(syllableAt(0xB2, 0xBE), "bu");
    EXPECT_EQ(syllableAt(0xD0, 0xD0), "hang");
    EXPECT_EQ(syllableAt(0xD6, 0xD8), "zhong");
    EXPECT_EQ(syllableAt(0xD6, 0xD0), "zhong");
    EXPECT_EQ(syllableAt(0xC0, 0xD6), "le");
    EXPECT_EQ(syllableAt(0x81, 0x40), "yu");

    EXPECT_EQ(code("行"), "H");
    EXPECT_EQ(code("长"), "Z");
    EXPECT_EQ(code("乐"), "L");
    EXPECT_EQ(code("庄"), "Z");
}

// ü is written v, in the additions at the end of the syllable table.
TEST(PinyinCodeReadings, UmlautSyllables) {
    EXPECT_EQ(whole("驴女"), "LVNV");
    EXPECT_EQ(whole("略"), "LUE");
}

TEST(PinyinCodeSwitches, WholeSyllable) {
    EXPECT_EQ(code("银行卡", 0), "YHK");
    EXPECT_EQ(code("银行卡", PinyinCode::WholeSyllable), "YINHANGKA");
    // Letters and digits are unaffected.
    EXPECT_EQ(code("abc12", PinyinCode::WholeSyllable), "ABC12");
}

TEST(PinyinCodeSwitches, UnknownAsQuestion) {
    EXPECT_EQ(code("书籍、音像", 0), "SJYX");
    EXPECT_EQ(code("书籍、音像", PinyinCode::UnknownAsQuestion), "SJ?YX");
    EXPECT_EQ(code("〇", 0), "");
    EXPECT_EQ(code("〇", PinyinCode::UnknownAsQuestion), "?");
    EXPECT_EQ(code("→", PinyinCode::UnknownAsQuestion), "?");
    // One-byte signs are never questions, only kept or dropped.
    EXPECT_EQ(code("-+ ", PinyinCode::UnknownAsQuestion), "");
}

TEST(PinyinCodeSwitches, KeepSigns) {
    EXPECT_EQ(code("a-b c", 0), "ABC");
    EXPECT_EQ(code("a-b c", PinyinCode::KeepSigns), "A-B C");
    EXPECT_EQ(code("（工资）", PinyinCode::KeepSigns), "(GZ)");
    EXPECT_EQ(code("ｘ＋ｙ", 0), "xy");
    EXPECT_EQ(code("ｘ＋ｙ", PinyinCode::KeepSigns), "x+y");
    // Keeping signs does not turn a character without reading into one.
    EXPECT_EQ(code("书、音", PinyinCode::KeepSigns), "SY");
    EXPECT_EQ(code("€5", 0), "5");
    EXPECT_EQ(PinyinCode::convert("€5", PinyinCode::KeepSigns, 255), QString("€5"));
    EXPECT_EQ(code("工资-1、ａ", 7), "GONGZI-1?a");
}

TEST(PinyinCodeSwitches, NegativeGivesNothing) {
    EXPECT_EQ(code("工资", -1), "");
    EXPECT_EQ(code("abc", -2), "");
    EXPECT_EQ(gbk("\xB9\xA4", -1), "");
}

TEST(PinyinCodeLength, CutInBytes) {
    EXPECT_EQ(code("我家账簿1", 2, 3), "WJZ");
    EXPECT_EQ(code("工资", PinyinCode::WholeSyllable, 6), "GONGZI");
    // A whole syllable is cut in the middle when the limit falls inside it.
    EXPECT_EQ(code("工资", PinyinCode::WholeSyllable, 3), "GON");
    EXPECT_EQ(code("工资", 2, 0), "");
    EXPECT_EQ(code("工资", 2, -5), "");
    EXPECT_EQ(code("工资", 2, 100), "GZ");
}

// Byte sequences that only arrive as raw GBK. A lone lead byte is a one-byte
// character: dropped, or kept as it is with KeepSigns.
TEST(PinyinCodeBytes, LoneLeadByte) {
    EXPECT_EQ(gbk(QByteArray("\xB9\xA4\xB9")), "G");
    EXPECT_EQ(PinyinCode::convertGbk("\xB9", PinyinCode::KeepSigns, 255).size(), 1);
    // A following byte below 0x40 cannot be a trail: the lead stands alone.
    EXPECT_EQ(gbk(QByteArray("\xB9\x31")), "1");
    EXPECT_EQ(gbk(QByteArray("\xB9\x31"), 0), "1");
    // A byte from 0x40 up is a trail, letters included.
    EXPECT_EQ(gbk(QByteArray("\xA1\x61")), "?");
    EXPECT_EQ(gbk(QByteArray("\xA1\x61"), 0), "");
}

TEST(PinyinCodeSymbols, NumberedSigns) {
    EXPECT_EQ(code("ⅰⅹ"), "110");
    EXPECT_EQ(code("⒈⒛"), "120");
    EXPECT_EQ(code("⑴⒇"), "120");
    EXPECT_EQ(code("①⑩"), "110");
    EXPECT_EQ(code("㈠㈩"), "110");
    EXPECT_EQ(code("ⅠⅫ"), "112");
    // Numbers come out whatever the switches say.
    EXPECT_EQ(code("⑤", 0), "5");
    EXPECT_EQ(code("⑤", 7), "5");
}

TEST(PinyinCodeSymbols, NumberedSignGapsGiveNothing) {
    for (int trail : {0xAB, 0xB0, 0xE3, 0xE4, 0xEF, 0xF0, 0xFD, 0xFE}) {
        QByteArray bytes("\xA2");
        bytes.append(static_cast<char>(trail));
        EXPECT_EQ(gbk(bytes), "") << std::hex << trail;
    }
    // Below the signs the row has no characters at all.
    EXPECT_EQ(gbk("\xA2\x40"), "?");
    EXPECT_EQ(gbk("\xA2\x40", 0), "");
}

TEST(PinyinCodeSymbols, Greek) {
    EXPECT_EQ(code("ΑΒΓΔ"), "ABGD");
    EXPECT_EQ(code("αβγδ"), "ABGD");
    EXPECT_EQ(code("Θθ"), "THTH");
    EXPECT_EQ(code("ΦΧΨΩ"), "PHKHPSO");
    EXPECT_EQ(code("φχψω"), "PHKHPSO");
    EXPECT_EQ(code("ηο"), "EO");
    EXPECT_EQ(gbk("\xA6\xB9"), "");
    EXPECT_EQ(gbk("\xA6\xD9"), "");
}

TEST(PinyinCodeSymbols, FullWidthKeepsCase) {
    EXPECT_EQ(code("ａｂ"), "ab");
    EXPECT_EQ(code("ＡＢ１２"), "AB12");
    EXPECT_EQ(code("ａｂ", PinyinCode::WholeSyllable), "ab");
}

// Text GBK has no code for: each character counts as one without reading.
TEST(PinyinCodeUnencodable, EmojiAndRareIdeographs) {
    EXPECT_EQ(code("😀"), "?");
    EXPECT_EQ(code("a😀b"), "A?B");
    EXPECT_EQ(code("a😀b", 0), "AB");
    EXPECT_EQ(code("工😀😀资"), "G??Z");
    EXPECT_EQ(code("𠀀工"), "?G");  // U+20000
    EXPECT_EQ(code("é工"), "?G");
}

TEST(PinyinCodeUnencodable, BrokenUtf16DoesNotCrash) {
    QString text = "工";
    text.append(QChar(0xD800));  // lone surrogate
    text.append(QString("资"));
    const std::string result = code(text);
    EXPECT_EQ(result.front(), 'G');
    EXPECT_EQ(result.back(), 'Z');
}

TEST(PinyinCodeUnencodable, ConcurrentCallers) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 500; ++i) {
                if (PinyinCode::of("我家😀账簿") != "WJ?ZB") ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int f : failures) EXPECT_EQ(f, 0);
}

TEST(PinyinCodeTables, SyllableTable) {
    ASSERT_EQ(PinyinCode::syllableCount(), 405);
    EXPECT_EQ(PinyinCode::syllable(1), "a");
    EXPECT_EQ(PinyinCode::syllable(393), "zuo");
    EXPECT_EQ(PinyinCode::syllable(394), "");
    EXPECT_EQ(PinyinCode::syllable(0), "");
    EXPECT_EQ(PinyinCode::syllable(406), "");
    const char* additions[] = {"ei", "m", "n", "dia", "cen", "nou", "jv", "qv", "xv", "lv", "nv"};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(PinyinCode::syllable(395 + i), additions[i]);

    for (int i = 1; i <= 405; ++i) {
        if (i == 394) continue;
        const QString s = PinyinCode::syllable(i);
        EXPECT_TRUE(s.size() >= 1 && s.size() <= 6) << i;
        for (QChar c : s) EXPECT_TRUE(c >= 'a' && c <= 'z') << i;
        if (i > 1 && i <= 393) {
            EXPECT_LT(PinyinCode::syllable(i - 1), s) << i;
        }
    }
}

TEST(PinyinCodeTables, CharacterIndex) {
    EXPECT_EQ(PinyinCode::indexSize(), 24066);
    int symbols = 0;
    int gb2312 = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const int number = PinyinCode::readingOf(lead, trail);
            ASSERT_TRUE(number >= 0 && number <= 405 && number != 394);
            if (lead >= 0xA1 && lead <= 0xA9 && number != 0) ++symbols;
            if (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && number != 0) ++gb2312;
        }
    }
    EXPECT_EQ(symbols, 0);
    EXPECT_GT(gb2312, 6700);
    // Outside the double-byte range there is nothing to look up.
    EXPECT_EQ(PinyinCode::readingOf(0x80, 0xA1), 0);
    EXPECT_EQ(PinyinCode::readingOf(0xB0, 0x3F), 0);
    EXPECT_EQ(PinyinCode::readingOf(0xB0, 0xFF), 0);
}

}  // namespace
}  // namespace cw
