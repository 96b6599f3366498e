#!/usr/bin/env python3
"""Generate src/storage/PinyinIndex.inc, the tables behind cw::PinyinCode.

Every member, account, category and contact carries a pinyin code so the user can
pick a name by typing the Latin initials of its characters ("GZ" finds 工资). The
code is computed on the name's GBK bytes, so the tables are keyed by GBK code:

  * a syllable table of 405 numbered toneless syllables (ü written v), and
  * a character index: one number per GBK double-byte code (lead 0x81..0xFE,
    trail 0x40..0xFE, 126 x 191 = 24066 entries in row order), 0 meaning "no
    reading known".

Readings come from Unihan (Debian package unicode-data). For each character the
first usable reading wins, in this order: the override table below, kMandarin
(first value = the mainland preference), kHanyuPinlu (by frequency), kXHC1983,
kHanyuPinyin, kTGHZ2013. A reading is usable when its toneless form is in the
syllable table; if none is, FOLDS maps a few marginal syllables onto a neighbour
with the same initial, so the first-letter code stays right.

Usage: tools/gen_pinyin_index.py [--unihan PATH] [--out PATH]
Python 3 standard library only.
"""

import argparse
import bz2
import os
import re
import sys
import unicodedata

# --- Syllable table -------------------------------------------------------------
#
# Entries 1..393: the Mandarin syllables in alphabetical order. This is the
# classic 396-syllable table of the GB2312 era less three entries:
#   * "lv" and "nv" (驴, 女) are numbered later, with the other additions, so
#     they do not appear here a second time;
#   * "fo" is left out: its only common character, 佛, has fú as its preferred
#     mainland reading in Unihan (仿佛), and the first letter is F either way.
# That gives exactly 393, which keeps the later additions at their fixed numbers.
# lüe/nüe are spelled "lue"/"nue" as in that table (no clash: there is no lu+e).
# Syllables that are not here at all (pou, shei, den, kei, ...) are reached through
# a character's other readings or through FOLDS.
STANDARD = """
a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
ca cai can cang cao ce ceng cha chai chan chang chao che chen cheng chi chong chou
chu chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo da dai dan
dang dao de deng di dian diao die ding diu dong dou du duan dui dun duo e en er fa
fan fang fei fen feng fou fu ga gai gan gang gao ge gei gen geng gong gou gu gua
guai guan guang gui gun guo ha hai han hang hao he hei hen heng hong hou hu hua
huai huan huang hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan
jue jun ka kai kan kang kao ke ken keng kong kou ku kua kuai kuan kuang kui kun kuo
la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu long lou
lu luan lue lun luo ma mai man mang mao me mei men meng mi mian miao mie min ming
miu mo mou mu na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning
niu nong nu nuan nue nuo o ou pa pai pan pang pao pei pen peng pi pian piao pie pin
ping po pu qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun ran rang
rao re ren reng ri rong rou ru ruan rui run ruo sa sai san sang sao se sen seng sha
shai shan shang shao she shen sheng shi shou shu shua shuai shuan shuang shui shun
shuo si song sou su suan sui sun suo ta tai tan tang tao te teng ti tian tiao tie
ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia xian
xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan yang yao ye yi yin ying yo
yong you yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai zhan zhang
zhao zhe zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi
zong zou zu zuan zui zun zuo
""".split()

# Entry 394 is unused; 395..405 are later additions, kept at these numbers even
# where a spelling duplicates a standard one.
ADDITIONS = ["ei", "m", "n", "dia", "cen", "nou", "jv", "qv", "xv", "lv", "nv"]

SYLLABLES = [""] + STANDARD + [""] + ADDITIONS  # index = syllable number

# --- Readings chosen by hand ----------------------------------------------------
#
# Characters with several readings get exactly one. Unihan's preference is right
# for most; these are the ones where the reading met in household names differs,
# or where the code must be pinned.
OVERRIDES = {
    "行": "hang",   # 银行: accounts are named after banks far more often than 行走
    "长": "zhang",  # kept in line with 账 so 账/长 codes agree
    "乐": "le",     # 娱乐, 快乐
    "丂": "yu",
    "重": "zhong",  # 重量; 重庆 is rarer in ledgers
    "中": "zhong",
    "阿": "a",
    "啊": "a",
    "簿": "bu",
    "账": "zhang",
    "工": "gong",
    "资": "zi",
    "还": "huan",   # 还款, 还贷: repayments, not 还是
    "地": "di",     # Unihan puts the particle de first
    "曾": "zeng",   # as a surname in member names
    "翟": "zhai",   # surname
}

# Syllables outside the table, mapped to one inside it with the same initial.
# Only used when none of a character's readings is in the table.
FOLDS = {
    "lve": "lue", "nve": "nue",  # same syllable, the table's spelling
    "fo": "fu",
    "pou": "po",
    "shei": "shui",
    "den": "deng",
    "kei": "ke",
    "lo": "luo",
    "rua": "ruo",
    "chua": "chuo",
    "fiao": "fu",
    "nun": "nu",
    "eng": "e",
    "hm": "hen",
    "hng": "heng",
    "ng": "n",
    "tei": "te",
    "zhei": "zhe",
    "cei": "ce",
    "yai": "ya",
}

UNIHAN_DEFAULT = "/usr/share/unicode/Unihan_Readings.txt.bz2"
OUT_DEFAULT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src",
                           "storage", "PinyinIndex.inc")

LEADS = range(0x81, 0xFF)
TRAILS = range(0x40, 0xFF)
INDEX_SIZE = len(LEADS) * len(TRAILS)


def toneless(reading):
    """'lǜ' -> 'lv', 'Zhōng' -> 'zhong', 'ê̄' -> 'e'."""
    d = unicodedata.normalize("NFD", reading.strip().lower()).replace("u\u0308", "v")
    return "".join(c for c in d if not unicodedata.combining(c) and "a" <= c <= "z")


def load_readings(path):
    fields = {}
    wanted = {"kMandarin", "kHanyuPinlu", "kXHC1983", "kHanyuPinyin", "kTGHZ2013"}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            cp, field, value = line.rstrip("\n").split("\t", 2)
            if field in wanted:
                fields.setdefault(int(cp[2:], 16), {})[field] = value
    return fields


def candidates(f):
    """All readings of one character, best first."""
    out = []
    out += f.get("kMandarin", "").split()
    pinlu = re.findall(r"([^\s(]+)\((\d+)\)", f.get("kHanyuPinlu", ""))
    out += [r for r, _ in sorted(pinlu, key=lambda p: -int(p[1]))]
    # kXHC1983 / kTGHZ2013: "page.pos:reading" items; kHanyuPinyin: "loc,loc:r1,r2".
    for key in ("kXHC1983", "kHanyuPinyin", "kTGHZ2013"):
        for item in f.get(key, "").split():
            out += item.split(":", 1)[1].split(",") if ":" in item else []
    return [toneless(r) for r in out]


# How each reading was found, for the statistics.
SOURCES = {"override": 0, "preferred": 0, "other reading": 0, "fold": 0, "none": 0}


def choose(ch, fields, number):
    if ch in OVERRIDES:
        SOURCES["override"] += 1
        return number[OVERRIDES[ch]]
    f = fields.get(ord(ch))
    if f is None:
        # Compatibility ideographs (郎 at U+F9xx) carry no readings of their own;
        # their canonical twin does.
        f = fields.get(ord(unicodedata.normalize("NFC", ch)), {})
    readings = candidates(f)
    for i, r in enumerate(readings):
        if r in number:
            SOURCES["preferred" if i == 0 else "other reading"] += 1
            return number[r]
    for r in readings:
        if r in FOLDS and FOLDS[r] in number:
            SOURCES["fold"] += 1
            return number[FOLDS[r]]
    SOURCES["none"] += 1
    return 0


def check_tables():
    if len(STANDARD) != 393 or STANDARD != sorted(STANDARD) or len(set(STANDARD)) != 393:
        sys.exit("standard syllables must be 393, alphabetical, distinct")
    if len(SYLLABLES) != 406:
        sys.exit("syllable table must have 406 slots")
    for s in SYLLABLES:
        if s and not re.fullmatch(r"[a-z]{1,6}", s):
            sys.exit("bad syllable %r" % s)
    known = set(SYLLABLES)
    for ch, s in OVERRIDES.items():
        if s not in known:
            sys.exit("override %s -> %s is not in the table" % (ch, s))


def build_index(fields):
    # First number wins for spellings present twice (none today, but stay stable).
    number = {}
    for i, s in enumerate(SYLLABLES):
        if s and s not in number:
            number[s] = i
    index = []
    for lead in LEADS:
        for trail in TRAILS:
            value = 0
            # Symbol rows carry no readings even where a sign looks like a character (〇).
            if not 0xA1 <= lead <= 0xA9:
                try:
                    ch = bytes([lead, trail]).decode("gbk")
                except UnicodeDecodeError:
                    ch = ""
                if len(ch) == 1:
                    value = choose(ch, fields, number)
            index.append(value)
    assert len(index) == INDEX_SIZE
    return index


def c_string_rows(items, per_line):
    return [", ".join(items[i:i + per_line]) + "," for i in range(0, len(items), per_line)]


def render(index):
    lines = [
        "// Generated by tools/gen_pinyin_index.py from the Unihan readings; do not edit.",
        "// Regenerate with: python3 tools/gen_pinyin_index.py",
        "// Included once, by PinyinCode.cpp, inside its anonymous namespace.",
        "//",
        "// kSyllables: toneless syllables by number (0 and 394 unused, ü written v).",
        "// kPinyinIndex: syllable number per GBK code, entry (lead - 0x81) * 191 +",
        "// (trail - 0x40) for lead 0x81..0xFE, trail 0x40..0xFE; 0 = no reading.",
        "",
        "constexpr int kSyllableCount = %d;" % (len(SYLLABLES) - 1),
        "constexpr int kPinyinIndexSize = %d;" % INDEX_SIZE,
        "",
        "constexpr const char* kSyllables[kSyllableCount + 1] = {",
    ]
    lines += ["    " + row for row in c_string_rows(['"%s"' % s for s in SYLLABLES], 12)]
    lines += ["};", "", "constexpr std::uint16_t kPinyinIndex[kPinyinIndexSize] = {"]
    lines += ["    " + row for row in c_string_rows([str(v) for v in index], 20)]
    lines += ["};", ""]
    return "\n".join(lines)


def gb2312_codes():
    return [(l, t) for l in range(0xB0, 0xF8) for t in range(0xA1, 0xFF)]


def report(index):
    def at(lead, trail):
        return index[(lead - 0x81) * len(TRAILS) + (trail - 0x40)]

    chars = sum(1 for lead in LEADS for trail in TRAILS if _decodes(lead, trail))
    with_reading = sum(1 for v in index if v)
    han = [(l, t) for l in LEADS if not 0xA1 <= l <= 0xA9 for t in TRAILS if _decodes(l, t)]
    han_read = sum(1 for l, t in han if at(l, t))
    gb = gb2312_codes()
    gb_read = sum(1 for l, t in gb if at(l, t))
    gb_chars = sum(1 for l, t in gb if _decodes(l, t))
    print("syllables: %d standard + %d additions (%d numbered)"
          % (len(STANDARD), len(ADDITIONS), len(SYLLABLES) - 1))
    print("index entries: %d, GBK double-byte characters: %d, with a reading: %d"
          % (len(index), chars, with_reading))
    print("characters outside the symbol rows: %d, with a reading: %d (%.2f%%)"
          % (len(han), han_read, 100.0 * han_read / len(han)))
    print("readings by source: %s" % ", ".join("%s %d" % kv for kv in SOURCES.items()))
    print("GB2312 positions: %d (%d characters), with a reading: %d"
          % (len(gb), gb_chars, gb_read))
    unused = sorted(set(range(1, len(SYLLABLES))) - set(index) - {394})
    print("syllables no character uses: %s" % ", ".join(SYLLABLES[i] for i in unused))


def _decodes(lead, trail):
    try:
        return len(bytes([lead, trail]).decode("gbk")) == 1
    except UnicodeDecodeError:
        return False


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--unihan", default=UNIHAN_DEFAULT)
    ap.add_argument("--out", default=OUT_DEFAULT)
    args = ap.parse_args()

    check_tables()
    index = build_index(load_readings(args.unihan))
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write(render(index))
    print("wrote %s" % os.path.normpath(args.out))
    report(index)


if __name__ == "__main__":
    main()
