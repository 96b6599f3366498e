#pragma once

#include <QWidget>

class QTextBrowser;

namespace cw {

// The manual in a window of its own: a text browser on the local HTML files, so it reads the
// same with no web browser and no network. Links to other pages of the manual stay inside;
// links to the web go to the desktop's browser.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& index, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace cw
