#include "widgets/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace cw {

namespace {

// Room in the title bar beside the text: the icon, the close button and the borders.
constexpr int kTitleBarExtra = 140;

QString shownTitle(const QString& caption) {
    const QString program = QApplication::applicationDisplayName();
    if (program.isEmpty() || caption.endsWith(program)) return caption;
    return caption + QStringLiteral(" — ") + program;
}

}  // namespace

int MessageBox::titleWidth(const QString& caption) {
    QFont font = QApplication::font();
    font.setBold(true);  // title bars commonly write their text bold
    return QFontMetrics(font).horizontalAdvance(shownTitle(caption)) + kTitleBarExtra;
}

std::unique_ptr<QMessageBox> MessageBox::make(QMessageBox::Icon icon, const QString& text,
                                              const QString& caption,
                                              QMessageBox::StandardButtons buttons,
                                              QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, parent);
    // The box sets its own size when it lays itself out, overriding a minimum width; a spacer
    // across its grid is kept.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(
            new QSpacerItem(titleWidth(caption), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

}  // namespace cw
