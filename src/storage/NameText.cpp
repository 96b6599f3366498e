#include "storage/NameText.h"

namespace cw {

bool NameText::hasControl(const QString& text) {
    for (const QChar c : text) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Separator_Line ||
            cat == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

QString NameText::controlMessage() {
    return QStringLiteral("名称不能包含制表符、换行符等控制字符！请重新录入！");
}

}  // namespace cw
