#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

namespace cw {

class TfrmDM;

// The drop-down of names in every entry panel (categories, accounts, members, contacts).
// The user may pick a name or type one of at most 20 characters; a typed name the book
// does not have yet becomes a row when the posting is saved. With a search set, every
// keystroke asks the data services for the names containing the text (or whose pinyin
// code contains it) and, once exactly one name is left, completes the text to it.
//
// A completion is an offer, not typing: the completed part stays selected, and while it is
// shown the box keeps what the user really typed. The next character extends that typing
// and searches again ("l", "x", "s", "r" still finds 利息收入 by its code "lxsr"), so a
// completed name never gets keystrokes appended to it; Backspace or Delete withdraws the
// offer and leaves the typing; any other key, a click or leaving the box accepts it.
class NameComboBox : public QComboBox {
    Q_OBJECT

  public:
    static constexpr int kMaxLength = 20;

    explicit NameComboBox(QWidget* parent = nullptr);

    // Replaces the list; the text is left empty, as the list fillers leave it.
    void setNames(const QStringList& names);
    QStringList names() const;

    QString text() const { return currentText(); }
    // Sets the text without searching (defaults, the current row's names).
    void setText(const QString& text);

    // Completion over nameColumn of table in the open book; dm must outlive the box.
    void setSearch(TfrmDM* dm, const QString& nameColumn, const QString& table);
    // A plain list: typing completes nothing.
    void clearSearch();
    bool hasSearch() const { return dm_ != nullptr; }

  signals:
    // The typed text was completed to a whole name.
    void nameCompleted(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void search(const QString& typed);
    void offer(const QString& name);

    TfrmDM* dm_ = nullptr;
    QString typed_;            // what the user typed while a completion is offered
    QString offered_;          // the name offered
    bool offering_ = false;    // the text shows offered_, a completion of typed_
    QString nameColumn_;
    QString table_;
};

}  // namespace cw
