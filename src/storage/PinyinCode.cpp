#include "storage/PinyinCode.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iterator>

namespace cw {
namespace {

#include "storage/PinyinIndex.inc"

static_assert(std::size(kSyllables) == 406);
static_assert(std::size(kPinyinIndex) == 24066);

constexpr int kFirstLead = 0x81;
constexpr int kFirstTrail = 0x40;
constexpr int kTrailsPerLead = 0xFF - kFirstTrail;  // 0x40..0xFE

// Stands in for a character GBK cannot encode: a double-byte code in a symbol row
// that GBK leaves unassigned, so it walks like any other character without reading.
constexpr char kUnencodable[] = {'\xA1', '\x40'};

// Numbered signs in row 0xA2: runs of consecutive trails counting 1, 2, 3...
struct NumberedRun {
    int firstTrail;
    int count;
};
constexpr NumberedRun kNumberedRuns[] = {
    {0xA1, 10},  // ⅰ..ⅹ
    {0xB1, 20},  // ⒈..⒛
    {0xC5, 20},  // ⑴..⒇
    {0xD9, 10},  // ①..⑩
    {0xE5, 10},  // ㈠..㈩
    {0xF1, 12},  // Ⅰ..Ⅻ
};

// Greek in row 0xA6, capitals from trail 0xA1 and small letters from 0xC1, both in
// alphabet order; ω shares "o" with ο.
constexpr const char* kGreek[24] = {"A", "B", "G", "D", "E", "Z", "E", "TH", "I",  "K",  "L",  "M",
                                    "N", "X", "O", "P", "R", "S", "T", "U",  "PH", "KH", "PS", "O"};

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char asciiUpper(unsigned char c) {
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

void appendUpper(QByteArray& out, const char* s) {
    for (; *s; ++s) out.append(asciiUpper(static_cast<unsigned char>(*s)));
}

void appendNumberedSign(QByteArray& out, int trail) {
    for (const NumberedRun& run : kNumberedRuns) {
        if (trail >= run.firstTrail && trail < run.firstTrail + run.count) {
            out.append(QByteArray::number(trail - run.firstTrail + 1));
            return;
        }
    }
}

void appendGreek(QByteArray& out, int trail) {
    if (trail >= 0xA1 && trail <= 0xB8) {
        out.append(kGreek[trail - 0xA1]);
    } else if (trail >= 0xC1 && trail <= 0xD8) {
        out.append(kGreek[trail - 0xC1]);
    }
}

// The code is plain ASCII except where KeepSigns lets a one-byte sign through: GBK's
// single byte 0x80 is the euro sign, and a stray lead byte has no meaning.
QString decodeCode(const QByteArray& code) {
    QString text;
    text.reserve(code.size());
    for (char c : code) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.append(QChar(b));
        } else if (b == 0x80) {
            text.append(QChar(0x20AC));
        } else {
            text.append(QChar(QChar::ReplacementCharacter));
        }
    }
    return text;
}

// One UTF-8 -> GBK converter per thread: opening iconv costs far more than
// converting a short name, and one descriptor must not be used by two threads at once.
class GbkEncoder {
  public:
    GbkEncoder() : cd_(iconv_open("GBK", "UTF-8")) {}
    ~GbkEncoder() {
        if (valid()) iconv_close(cd_);
    }
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    QByteArray encode(const QString& text) {
        QByteArray utf8 = text.toUtf8();
        // GBK never takes more bytes than UTF-8 for the same text; an unencodable
        // character (at least two UTF-8 bytes) becomes the two-byte stand-in.
        QByteArray gbk(utf8.size(), Qt::Uninitialized);
        char* in = utf8.data();
        size_t inLeft = utf8.size();
        char* out = gbk.data();
        size_t outLeft = gbk.size();
        if (valid()) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            const size_t done = valid() ? iconv(cd_, &in, &inLeft, &out, &outLeft) : size_t(-1);
            if (done != size_t(-1)) break;
            if (valid() && errno == E2BIG) break;  // cannot happen, see above; keep what we have
            // The character at `in` has no GBK code (or no converter is available):
            // skip it and go on with the rest of the text.
            const auto lead = static_cast<unsigned char>(*in);
            const size_t length = std::min(sequenceLength(lead), inLeft);
            if (lead < 0x80 && outLeft >= 1) {
                *out++ = static_cast<char>(lead);  // only reached without a converter
                --outLeft;
            } else if (length >= 2 && outLeft >= 2) {
                *out++ = kUnencodable[0];
                *out++ = kUnencodable[1];
                outLeft -= 2;
            }
            in += length;
            inLeft -= length;
        }
        gbk.truncate(gbk.size() - static_cast<qsizetype>(outLeft));
        return gbk;
    }

  private:
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Bytes in the UTF-8 sequence starting with lead.
    static size_t sequenceLength(unsigned char lead) {
        if (lead < 0x80) return 1;
        if (lead >= 0xF0) return 4;
        if (lead >= 0xE0) return 3;
        if (lead >= 0xC0) return 2;
        return 1;  // stray continuation byte
    }

    iconv_t cd_;
};

QByteArray toGbk(const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return text.toLatin1();
    thread_local GbkEncoder encoder;
    return encoder.encode(text);
}

}  // namespace

QString PinyinCode::convert(const QString& text, int switches, int maxLength) {
    if (switches < 0 || maxLength <= 0 || text.isEmpty()) return QString();
    return convertGbk(toGbk(text), switches, maxLength);
}

QString PinyinCode::convertGbk(const QByteArray& gbk, int switches, int maxLength) {
    if (switches < 0 || maxLength <= 0) return QString();
    const bool whole = switches & WholeSyllable;
    const bool question = switches & UnknownAsQuestion;
    const bool keepSigns = switches & KeepSigns;

    QByteArray code;
    code.reserve(std::min<qsizetype>(gbk.size() * 2, maxLength + 6));
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.constData());
    const qsizetype size = gbk.size();
    qsizetype i = 0;
    // Every step appends at most six bytes, so stopping once maxLength is reached
    // and cutting afterwards gives the same result as converting everything.
    while (i < size && code.size() < maxLength) {
        const int b = bytes[i];
        const int n = i + 1 < size ? bytes[i + 1] : 0;
        if (b < kFirstLead || n < kFirstTrail) {
            if (isAsciiAlnum(b) || keepSigns) code.append(asciiUpper(b));
            ++i;
            continue;
        }
        switch (b) {
            case 0xA2:
                if (n >= 0xA1) {
                    appendNumberedSign(code, n);
                } else if (question) {
                    code.append('?');
                }
                break;
            case 0xA3:
                // Full-width ASCII: the half-width character, left in its case.
                if (n >= 0xA1) {
                    const auto c = static_cast<unsigned char>(n - 0x80);
                    if (keepSigns || isAsciiAlnum(c)) code.append(static_cast<char>(c));
                } else if (question) {
                    code.append('?');
                }
                break;
            case 0xA6:
                appendGreek(code, n);
                break;
            default: {
                const int number = readingOf(b, n);
                if (number > 0) {
                    const char* s = kSyllables[number];
                    if (whole) {
                        appendUpper(code, s);
                    } else {
                        code.append(asciiUpper(static_cast<unsigned char>(s[0])));
                    }
                } else if (question) {
                    code.append('?');
                }
                break;
            }
        }
        i += 2;
    }
    code.truncate(maxLength);
    return decodeCode(code);
}

QString PinyinCode::of(const QString& name) {
    return convert(name, UnknownAsQuestion, 255);
}

int PinyinCode::readingOf(int lead, int trail) {
    if (lead < kFirstLead || lead > 0xFE || trail < kFirstTrail || trail > 0xFE) return 0;
    return kPinyinIndex[(lead - kFirstLead) * kTrailsPerLead + (trail - kFirstTrail)];
}

QString PinyinCode::syllable(int number) {
    if (number <= 0 || number > kSyllableCount) return QString();
    return QString::fromLatin1(kSyllables[number]);
}

int PinyinCode::syllableCount() {
    return kSyllableCount;
}

int PinyinCode::indexSize() {
    return kPinyinIndexSize;
}

}  // namespace cw
