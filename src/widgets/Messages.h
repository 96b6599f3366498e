#pragma once

#include <QString>

class QWidget;

namespace cw {

// Every message box of the program goes through this interface, so screen tests can
// install a scripted fake that records each message and answers each question.
class Messages {
public:
    virtual ~Messages() = default;
    // An information box with the button 确定.
    virtual void inform(const QString& text, const QString& caption = QString()) = 0;
    // A warning box with the button 确定.
    virtual void warn(const QString& text, const QString& caption = QString()) = 0;
    // A question with the buttons 是 and 否; defaultYes chooses the preselected button.
    virtual bool ask(const QString& text, const QString& caption, bool defaultYes) = 0;
};

// The real boxes, parented to the active window.
class QtMessages : public Messages {
public:
    void inform(const QString& text, const QString& caption = QString()) override;
    void warn(const QString& text, const QString& caption = QString()) override;
    bool ask(const QString& text, const QString& caption, bool defaultYes) override;
};

}  // namespace cw
