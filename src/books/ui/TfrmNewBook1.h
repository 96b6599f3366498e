#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "widgets/AppContext.h"
#include "books/BookCreation.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace cw {

class BookFields;

// A further book: name and password as for the first, and for each of its six lists
// whether to copy it from a book already there, seed it with the default categories, or
// leave it empty. Ends in the login.
class TfrmNewBook1 : public QDialog {
    Q_OBJECT
  public:
    using DialogRunner = std::function<int(QDialog&)>;
    using Group = BookCreation::Group;

    // bookCount: the books in the file, shown and used to number the offered name.
    TfrmNewBook1(AppContext& ctx, int bookCount, QWidget* parent = nullptr);

    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    BookFields* fields() const { return fields_; }
    QGroupBox* groupBox(Group g) const { return groups_[g].box; }
    QComboBox* bookList(Group g) const { return groups_[g].books; }
    QRadioButton* copyChoice(Group g) const { return groups_[g].copy; }
    // nullptr for members, accounts and contacts, which have no default list.
    QRadioButton* seedChoice(Group g) const { return groups_[g].seed; }
    QRadioButton* emptyChoice(Group g) const { return groups_[g].empty; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

    // What the six groups are set to.
    BookCreation::Groups choices() const;

  public slots:
    void ButSaveClick();

  private:
    struct GroupWidgets {
        QGroupBox* box = nullptr;
        QComboBox* books = nullptr;
        QRadioButton* copy = nullptr;
        QRadioButton* seed = nullptr;
        QRadioButton* empty = nullptr;
    };

    QGroupBox* makeGroup(Group g, const QString& title, const QString& seedCaption,
                         const QStringList& books);
    QWidget* sourceList(const BookCreation::Result& refusal) const;

    AppContext& ctx_;
    DialogRunner runDialog_;
    BookFields* fields_;
    std::array<GroupWidgets, BookCreation::GroupCount> groups_;
    QPushButton* save_;
    QPushButton* cancel_;
};

}  // namespace cw
