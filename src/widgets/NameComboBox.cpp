#include "widgets/NameComboBox.h"

#include <QKeyEvent>
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
    lineEdit()->installEventFilter(this);
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
    offering_ = false;
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
    offering_ = false;
    typed_ = typed;
    if (!dm_ || typed.isEmpty()) return;
    const std::optional<QString> name = dm_->mySelectCom(typed, nameColumn_, table_);
    if (!name || *name == typed) return;
    offer(*name);
}

void NameComboBox::offer(const QString& name) {
    offering_ = true;
    offered_ = name;
    lineEdit()->setText(name);
    // A name that begins with the typing shows the typing, then the offered tail selected;
    // a name found by its pinyin code or by a middle part is offered whole.
    if (name.startsWith(typed_, Qt::CaseInsensitive)) {
        lineEdit()->setSelection(int(typed_.size()), int(name.size() - typed_.size()));
    } else {
        lineEdit()->setSelection(0, int(name.size()));
    }
    emit nameCompleted(name);
}

bool NameComboBox::eventFilter(QObject* watched, QEvent* event) {
    // A text set or cleared by the screen since the offer ends it as well.
    if (offering_ && lineEdit()->text() != offered_) offering_ = false;
    if (watched != lineEdit() || !offering_) return QComboBox::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseButtonPress) {
        offering_ = false;  // leaving or clicking takes the offered name
        return QComboBox::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return QComboBox::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
        const QString typed = typed_;
        offering_ = false;
        lineEdit()->setText(typed);
        lineEdit()->end(false);
        return true;
    }
    const QString text = key->text();
    const bool character = !text.isEmpty() && text.at(0).isPrint() &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!character) {
        offering_ = false;  // Enter, Tab, arrows, End: the offered name is taken as it stands
        return QComboBox::eventFilter(watched, event);
    }
    if (typed_.size() + text.size() > kMaxLength) return true;
    const QString typed = typed_ + text;
    lineEdit()->setText(typed);
    lineEdit()->end(false);
    search(typed);
    return true;
}

}  // namespace cw
