#pragma once

#include <QHash>
#include <QWidget>

#include "reports/Dashboard.h"

class QLabel;

namespace cw {

// The main window's own surface: the funds and liabilities of the open book with their
// totals, and a picture beside each figure that opens its query.
class DashboardView : public QWidget {
    Q_OBJECT
  public:
    explicit DashboardView(QWidget* parent = nullptr);

    void show(const Dashboard& d);
    // The text shown for a caption ("现金", "资金合计：", …); for tests and screenshots.
    QString valueText(const QString& caption) const;

  Q_SIGNALS:
    void pictureClicked(const QString& caption);

  private:
    QWidget* row(const QString& caption, const QColor& colour, bool clickable);
    QHash<QString, QLabel*> values_;
};

}  // namespace cw
