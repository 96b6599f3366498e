#include "widgets/NameComboBox.h"

#include <QLineEdit>

#include "storage/TfrmDM.h"

namespace cw {

NameComboBox::NameComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The search is the only completion; Qt's own inline completion would select text
    // behind the cursor and fight it. Enter must not add the typed text to the list either.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    lineEdit()->setMaxLength(kMaxLength);
    // textEdited comes only from the user's typing, so setting the completed text below
    // does not search again.
    connect(lineEdit(), &QLineEdit::textEdited, this, &NameComboBox::search);
}

void NameComboBox::setNames(const QStringList& names) {
    clear();
    addItems(names);
    setCurrentIndex(-1);
    lineEdit()->clear();
}

QStringList NameComboBox::names() const {
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i) out << itemText(i);
    return out;
}

void NameComboBox::setText(const QString& text) {
    // The index follows the list entry (or none); the text is set in any case, as the
    // index may already stand there while the user has typed over it.
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    lineEdit()->setText(text);
}

void NameComboBox::setSearch(TfrmDM* dm, const QString& nameColumn, const QString& table) {
    dm_ = dm;
    nameColumn_ = nameColumn;
    table_ = table;
}

void NameComboBox::clearSearch() {
    dm_ = nullptr;
    nameColumn_.clear();
    table_.clear();
}

void NameComboBox::search(const QString& typed) {
    if (!dm_) return;
    const std::optional<QString> name = dm_->mySelectCom(typed, nameColumn_, table_);
    if (!name || *name == typed) return;
    lineEdit()->setText(*name);
    lineEdit()->end(false);
    emit nameCompleted(*name);
}

}  // namespace cw
