#include "bookkeeping/ui/TfrmB_ZJ.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookkeeping/ui/SubDialogFields.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"

namespace cw {

namespace {

// How the upper group words the parent of each family.
struct Words {
    QString className;
    QString group;
    QString date;
    QString name;
    QString amount;
    QString noun;  // "债务": "增加债务金额"
};

Words wordsOf(const PostingKind& kind) {
    switch (kind.id) {
        case PostingKind::Id::Debt:
            return {QStringLiteral("TfrmB_ZJ"),       QStringLiteral("债务信息"),
                    QStringLiteral("日        期："), QStringLiteral("债  权  人："),
                    QStringLiteral("债务金额："),     QStringLiteral("债务")};
        case PostingKind::Id::Credit:
            return {QStringLiteral("TfrmD_ZJ"),       QStringLiteral("债权信息"),
                    QStringLiteral("日        期："), QStringLiteral("债  务  人："),
                    QStringLiteral("债权金额："),     QStringLiteral("债权")};
        default:
            return {QStringLiteral("TfrmTZ_ZJ"),      QStringLiteral("基本信息"),
                    QStringLiteral("投资日期："),     QStringLiteral("投资类别："),
                    QStringLiteral("金        额："), QStringLiteral("投资")};
    }
}

QLineEdit* shown(QWidget* parent, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(true);
    return edit;
}

}  // namespace

QString TfrmB_ZJ::captionOf(const PostingKind& kind, Change change) {
    return (change == Change::Increase ? QStringLiteral("增加") : QStringLiteral("减少")) +
           wordsOf(kind).noun + QStringLiteral("金额");
}

TfrmB_ZJ::TfrmB_ZJ(AppContext& ctx, const PostingKind& kind, Change change,
                   const SubPostingRules::Parent& parent, QWidget* parent_widget)
    : QDialog(parent_widget), ctx_(ctx), kind_(kind), change_(change), parent_(parent) {
    const Words w = wordsOf(kind);
    const QString caption = captionOf(kind, change);
    setObjectName(w.className);
    setWindowTitle(caption);

    auto* upper = new QGroupBox(w.group, this);
    auto* top = new QGridLayout(upper);
    Dialogs::addFieldRow(top, w.date, shown(upper, parent.date));
    Dialogs::addFieldRow(top, w.name, shown(upper, parent.name));
    Dialogs::addFieldRow(top, w.amount, shown(upper, Money::plain(parent.outstanding)));
    Dialogs::addFieldRow(top, QStringLiteral("账户名称："), shown(upper, parent.account));
    Dialogs::addFieldRow(top, QStringLiteral("家庭成员："), shown(upper, parent.member));
    Dialogs::addFieldRow(top, QStringLiteral("备        注："), shown(upper, parent.remark));

    const SubPostingRules::Entry preset = SubPostingRules(ctx.dm).changePreset(parent);
    auto* lower = new QGroupBox(caption, this);
    auto* form = new QGridLayout(lower);
    date_ = new DatePicker(lower);
    date_->setText(preset.date);
    amount_ = SubDialogFields::amount(lower, false);
    amount_->setText(preset.amount);
    account_ = SubDialogFields::pickList(lower, ctx.dm.DBComAccount(), preset.account);
    member_ = SubDialogFields::pickList(lower, ctx.dm.DBComFamily(), preset.member);
    remark_ = SubDialogFields::remark(lower);
    remark_->setText(preset.remark);
    Dialogs::addFieldRow(
        form,
        change == Change::Increase ? QStringLiteral("增加日期：") : QStringLiteral("减少日期："),
        date_);
    Dialogs::addFieldRow(form, QStringLiteral("金        额："), amount_);
    Dialogs::addFieldRow(form, QStringLiteral("账户名称："), account_);
    Dialogs::addFieldRow(form, QStringLiteral("家庭成员："), member_);
    Dialogs::addFieldRow(form, QStringLiteral("备        注："), remark_);

    QHBoxLayout* bar = Dialogs::saveRow(this, &save_, &exit_);

    auto* box = new QVBoxLayout(this);
    box->addWidget(upper);
    box->addWidget(lower);
    box->addLayout(bar);

    connect(save_, &QPushButton::clicked, this, &TfrmB_ZJ::ButSaveClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmB_ZJ::ButSaveClick() {
    SubPostingRules rules(ctx_.dm);
    const SubDialogFields::Widgets w{date_, amount_, nullptr, account_, member_, remark_};
    const SubPostingRules::Entry e = SubDialogFields::entryOf(w);
    const bool done = SubDialogFields::submit(
        ctx_.messages, w,
        [&] { return rules.validateChange(kind_, change_, e, parent_.outstanding); },
        [&] { rules.change(kind_, change_, parent_.id, e); });
    if (done) accept();
}

}  // namespace cw
