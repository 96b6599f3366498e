#pragma once

#include <QPointer>
#include <QWidget>

#include "widgets/QueryGrid.h"

class QPushButton;

namespace cw {

// The four record buttons under every list. They follow the grid's position: nothing
// before the first row, nothing after the last, and nothing at all while the list is empty
// or locked for entry. On a paged list "下一条" reads the next page when it reaches the
// end of what is loaded, and "最后一条" reads to the real end.
class Navigator : public QWidget {
    Q_OBJECT

  public:
    explicit Navigator(QWidget* parent = nullptr);

    void setGrid(QueryGrid* grid);
    QueryGrid* grid() const { return grid_; }

    QPushButton* firstButton() const { return first_; }
    QPushButton* priorButton() const { return prior_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* lastButton() const { return last_; }

  public slots:
    void first();
    void prior();
    void next();
    void last();
    void updateState();

  private:
    QPushButton* makeButton(const QString& caption, const char* name);

    QPointer<QueryGrid> grid_;
    QPushButton* first_;
    QPushButton* prior_;
    QPushButton* next_;
    QPushButton* last_;
};

}  // namespace cw
