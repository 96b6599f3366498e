#include "widgets/Badge.h"

#include <QPainter>
#include <QPixmap>

namespace cw {

QIcon Badge::icon(const QString& character, const QColor& colour, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    const int margin = size / 20;
    p.drawEllipse(margin, margin, size - 2 * margin, size - 2 * margin);
    QFont f = p.font();
    f.setPixelSize(size * 9 / 20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, character.left(1));
    return QIcon(pm);
}

}  // namespace cw
