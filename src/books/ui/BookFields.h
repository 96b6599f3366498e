#pragma once

#include <QWidget>
#include <functional>

#include "widgets/AppContext.h"
#include "books/BookCreation.h"

class QLabel;
class QLineEdit;

namespace cw {

// The fields both new-book windows share: name, password twice, description, and the
// number of books already in the file.
class BookFields : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kNameLength = 20;
    static constexpr int kPasswordLength = 20;
    static constexpr int kRemarkLength = 25;

    explicit BookFields(QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* passwordEdit() const { return password_; }
    QLineEdit* confirmEdit() const { return confirm_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QLabel* countLabel() const { return count_; }

    // The number of books and the name offered for the next one.
    void offer(int bookCount);
    void setCount(int bookCount);
    // The field a refused save points at; nullptr for the fields that are not here.
    QWidget* field(BookCreation::Field field) const;

    using Writer = std::function<BookCreation::Result(
        BookCreation&, const QString& name, const QString& password, const QString& remark)>;
    using FieldFinder = std::function<QWidget*(const BookCreation::Result&)>;
    // The save of both windows: the password confirmation and the name, then write. A
    // refusal is shown with its field focused (otherField finds those not among these).
    // True when the book was written.
    bool save(AppContext& ctx, const Writer& write, const FieldFinder& otherField = {});

  private:
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* confirm_;
    QLineEdit* remark_;
    QLabel* count_;
};

}  // namespace cw
