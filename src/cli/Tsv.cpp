#include "cli/Tsv.h"

namespace cw::tsv {

QString field(const QString& text) {
    bool plain = true;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r')) {
            plain = false;
            break;
        }
    }
    if (plain) return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\': out += QLatin1String("\\\\"); break;
            case '\t': out += QLatin1String("\\t"); break;
            case '\n': out += QLatin1String("\\n"); break;
            case '\r': out += QLatin1String("\\r"); break;
            default: out += c;
        }
    }
    return out;
}

void row(QTextStream& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) out << '\t';
        out << field(fields[i]);
    }
    out << '\n';
}

}  // namespace cw::tsv
