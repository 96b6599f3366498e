#include "notes/ui/TfrmUThing_In.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/DbError.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/NameComboBox.h"

namespace cw {

TfrmUThing_In::TfrmUThing_In(AppContext& ctx, QWidget* parent, qint64 id)
    : QDialog(parent), ctx_(ctx), id_(id) {
    setWindowTitle(QStringLiteral("记事录入"));
    auto* group = new QGroupBox(QStringLiteral("记事录入"), this);
    auto* form = new QFormLayout(group);
    date_ = new DatePicker(group);
    date_->setDate(ctx_.clock.today());
    member_ = new NameComboBox(group);
    member_->setNames(ctx_.dm.DBComFamily());
    title_ = new QLineEdit(group);
    title_->setMaxLength(NoteBook::kTitleLength);
    text_ = new QPlainTextEdit(group);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setTabChangesFocus(true);
    text_->setMinimumSize(460, 220);
    form->addRow(QStringLiteral("日        期："), date_);
    form->addRow(QStringLiteral("家庭成员："), member_);
    form->addRow(QStringLiteral("标        题："), title_);
    form->addRow(QStringLiteral("内        容："), text_);

    QHBoxLayout* buttons = Dialogs::saveRow(this, &save_, &exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    connect(save_, &QPushButton::clicked, this, &TfrmUThing_In::ButSaveClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

    if (id_ > 0) {
        if (const auto stored = NoteBook(ctx_.dm).load(id_)) {
            date_->setText(stored->date);
            member_->setText(stored->member);
            title_->setText(stored->title);
            text_->setPlainText(stored->detail);
        }
    }
}

NoteBook::Note TfrmUThing_In::note() const {
    return {date_->text(), member_->text(), title_->text(), text_->toPlainText()};
}

void TfrmUThing_In::focusOn(NoteBook::Field field) {
    switch (field) {
        case NoteBook::Field::Date:
            date_->setFocus();
            break;
        case NoteBook::Field::Member:
            member_->setFocus();
            break;
        case NoteBook::Field::Title:
            title_->setFocus();
            break;
        case NoteBook::Field::Detail:
            text_->setFocus();
            break;
        case NoteBook::Field::None:
            break;
    }
}

void TfrmUThing_In::ButSaveClick() {
    NoteBook::Verdict v;
    try {
        NoteBook notes(ctx_.dm);
        v = id_ > 0 ? notes.change(id_, note()) : notes.add(note());
    } catch (const DbError& e) {
        // The window stays as it was, so nothing typed is lost.
        ctx_.messages.warn(e.message());
        return;
    }
    if (!v.ok()) {
        ctx_.messages.inform(v.message);
        focusOn(v.focus);
        return;
    }
    ctx_.messages.inform(NoteBook::savedMessage());
    if (id_ > 0) {
        accept();
        return;
    }
    // Ready for the next note of the same day and member.
    title_->clear();
    text_->clear();
    title_->setFocus();
}

}  // namespace cw
