#pragma once

#include <QDialog>

#include "notes/NoteBook.h"
#include "widgets/AppContext.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cw {

class DatePicker;
class NameComboBox;

// 记事录入: writes a new note, or changes the note `id` when the query window opens it. A new
// note leaves the window open for the next one, with the date and member kept; a changed
// note closes it (accepted), so the query can show the change.
class TfrmUThing_In : public QDialog {
    Q_OBJECT
  public:
    TfrmUThing_In(AppContext& ctx, QWidget* parent = nullptr, qint64 id = 0);

    DatePicker* dateEdit() const { return date_; }
    NameComboBox* memberCombo() const { return member_; }
    QLineEdit* titleEdit() const { return title_; }
    QPlainTextEdit* textEdit() const { return text_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }
    qint64 noteId() const { return id_; }

    void ButSaveClick();

  private:
    NoteBook::Note note() const;
    void focusOn(NoteBook::Field field);

    AppContext& ctx_;
    qint64 id_;
    DatePicker* date_ = nullptr;
    NameComboBox* member_ = nullptr;
    QLineEdit* title_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
