#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace cw {

// The program's pictures: a coloured round badge carrying one character, so every picture
// reads the same on any desktop theme and needs no image files.
class Badge {
  public:
    static QIcon icon(const QString& character, const QColor& colour, int size = 40);
};

}  // namespace cw
