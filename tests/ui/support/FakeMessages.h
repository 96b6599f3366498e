#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "widgets/Messages.h"

namespace cw::test {

// Records every message in order and answers questions from a script (default: 否).
class FakeMessages : public Messages {
public:
    struct Entry {
        QString kind;  // "inform", "warn" or "ask"
        QString text;
        QString caption;
        bool defaultYes = false;
    };

    void inform(const QString& text, const QString& caption = QString()) override {
        entries.append({QStringLiteral("inform"), text, caption, false});
    }
    void warn(const QString& text, const QString& caption = QString()) override {
        entries.append({QStringLiteral("warn"), text, caption, false});
    }
    bool ask(const QString& text, const QString& caption, bool defaultYes) override {
        entries.append({QStringLiteral("ask"), text, caption, defaultYes});
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    QStringList texts() const {
        QStringList out;
        for (const Entry& e : entries) out << e.text;
        return out;
    }
    QString last() const { return entries.isEmpty() ? QString() : entries.last().text; }
    void clear() { entries.clear(); }

    QList<Entry> entries;
    QList<bool> answers;  // answers to the next questions, in order
};

}  // namespace cw::test
