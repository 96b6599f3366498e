#include "app/ui/HelpWindow.h"

#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace cw {

HelpWindow::HelpWindow(const QString& index, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser) {
    setObjectName(QStringLiteral("helpWindow"));
    browser_->setOpenExternalLinks(true);
    auto* bar = new QToolBar;
    bar->addAction(QStringLiteral("目录"), browser_, &QTextBrowser::home);
    QAction* back = bar->addAction(QStringLiteral("后退"), browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QStringLiteral("前进"), browser_, &QTextBrowser::forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    // The window is named after the page it shows.
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(browser_->documentTitle()); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(browser_, 1);
    browser_->setSource(QUrl::fromLocalFile(index));
    resize(960, 720);
}

}  // namespace cw
