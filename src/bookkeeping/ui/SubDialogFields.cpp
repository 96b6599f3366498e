#include "bookkeeping/ui/SubDialogFields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "storage/DbError.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/Messages.h"
#include "widgets/PinyinKeySearch.h"

namespace cw {

QLineEdit* SubDialogFields::amount(QWidget* parent, bool signed_) {
    auto* edit = new QLineEdit(parent);
    // Room for any amount a preset can carry (a large outstanding debt with cents).
    edit->setMaxLength(20);
    const QString pattern = signed_ ? QStringLiteral("[-0-9.]*") : QStringLiteral("[0-9.]*");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

QComboBox* SubDialogFields::pickList(QWidget* parent, const QStringList& names,
                                     const QString& preset) {
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->addItems(names);
    box->setCurrentIndex(int(names.indexOf(preset)));
    PinyinKeySearch::attach(box);
    return box;
}

QLineEdit* SubDialogFields::remark(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(50);
    return edit;
}

QString SubDialogFields::picked(const QComboBox* box) {
    return box->currentIndex() < 0 ? QString() : box->currentText();
}

SubPostingRules::Entry SubDialogFields::entryOf(const Widgets& w) {
    SubPostingRules::Entry e;
    e.date = w.date->text();
    e.amount = w.amount->text();
    e.profit = w.profit ? w.profit->text() : QString();
    e.account = picked(w.account);
    e.member = picked(w.member);
    e.remark = w.remark->text();
    return e;
}

QWidget* SubDialogFields::widgetFor(const Widgets& w, SubPostingRules::Field field) {
    using F = SubPostingRules::Field;
    switch (field) {
        case F::Date:
            return w.date;
        case F::Amount:
            return w.amount;
        case F::Profit:
            return w.profit;
        case F::Account:
            return w.account;
        case F::Member:
            return w.member;
        default:
            return nullptr;
    }
}

bool SubDialogFields::submit(Messages& messages, const Widgets& w,
                             const std::function<SubPostingRules::Verdict()>& validate,
                             const std::function<void()>& write) {
    try {
        const SubPostingRules::Verdict v = validate();
        if (!v.ok()) {
            Dialogs::focusAndWarn(messages, widgetFor(w, v.focus), v.message);
            return false;
        }
        write();
    } catch (const SubPostingRules::Refused& r) {
        Dialogs::focusAndWarn(messages, widgetFor(w, r.field()), r.message());
        return false;
    } catch (const PostingRules::Refused& r) {
        messages.warn(r.message());
        return false;
    } catch (const DbError& r) {
        messages.warn(r.message());
        return false;
    }
    return true;
}

}  // namespace cw
