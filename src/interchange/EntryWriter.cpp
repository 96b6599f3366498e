#include "interchange/EntryWriter.h"

#include <QIODevice>

namespace cw {

namespace {

constexpr qsizetype kChunk = 1 << 20;

}  // namespace

void EntryWriter::begin(const QString&, const QStringList&, const QString&) {}

bool EntryWriter::end() {
    return flush();
}

QString EntryWriter::amount(qint64 cents) {
    const qint64 whole = cents < 0 ? -cents : cents;
    QString text = QString::number(whole / 100) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(whole % 100, 2, 10, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('-') + text : text;
}

QString EntryWriter::oneLine(const QString& text) {
    QString s = text;
    for (QChar& c : s) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return s;
}

void EntryWriter::put(const QString& text) {
    put(text.toUtf8());
}

void EntryWriter::put(const QByteArray& bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= kChunk) flush();
}

bool EntryWriter::flush() {
    if (!buffer_.isEmpty() && device_.write(buffer_) != buffer_.size()) failed_ = true;
    buffer_.clear();
    return !failed_;
}

}  // namespace cw
