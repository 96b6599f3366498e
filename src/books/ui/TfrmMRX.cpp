#include "books/ui/TfrmMRX.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/ui/DialogParts.h"
#include "storage/DbError.h"

namespace cw {

namespace {

using Defaults = Preferences::Defaults;

struct ItemField {
    const char* label;
    QStringList (TfrmDM::*fill)();
    QString Defaults::*value;
};

const ItemField kItems[TfrmMRX::ItemCount] = {
    {"家庭成员：", &TfrmDM::DBComFamily, &Defaults::member},
    {"账户名称：", &TfrmDM::DBComAccount, &Defaults::account},
    {"收入类别：", &TfrmDM::DBComInType, &Defaults::income},
    {"支出类别：", &TfrmDM::DBComOutType, &Defaults::expense},
    {"投资类别：", &TfrmDM::DBComTZType, &Defaults::investment},
    {"往来人员：", &TfrmDM::DBComPType, &Defaults::contact},
};

struct FlagField {
    const char* caption;
    bool Defaults::*value;
};

const FlagField kFlags[TfrmMRX::FlagCount] = {
    {"只显示本月收入", &Defaults::monthIncome},
    {"只显示本月支出", &Defaults::monthExpense},
    {"只显示本月转账", &Defaults::monthTransfers},
    {"只显示未还债务", &Defaults::openDebts},
    {"只显示未收债权", &Defaults::openCredits},
    {"只显示未收投资", &Defaults::openInvestments},
    {"打开软件播放计划提醒音乐", &Defaults::playSound},
    {"弹出今日计划", &Defaults::showPlans},
};

}  // namespace

TfrmMRX::TfrmMRX(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    const QString book = ctx.state.myBName;
    setWindowTitle(book + QStringLiteral(" 默认项设置"));

    auto* itemsBox = new QGroupBox(book + QStringLiteral(" 默认项设置"), this);
    auto* items = new QGridLayout(itemsBox);
    for (int i = 0; i < ItemCount; ++i) {
        boxes_[i] = new QComboBox(itemsBox);
        boxes_[i]->setMinimumWidth(180);
        nones_[i] = new QCheckBox(QStringLiteral("空"), itemsBox);
        items->addWidget(new QLabel(QString::fromUtf8(kItems[i].label), itemsBox), i, 0);
        items->addWidget(boxes_[i], i, 1);
        items->addWidget(nones_[i], i, 2);
        // A name picked from the list is meant as the default.
        connect(boxes_[i], &QComboBox::activated, nones_[i],
                [box = nones_[i]] { box->setChecked(false); });
    }
    items->setColumnStretch(1, 1);

    auto* showBox = new QGroupBox(QStringLiteral("显示设置"), this);
    auto* show = new QGridLayout(showBox);
    for (int f = MonthIncome; f <= OpenInvestments; ++f) {
        flags_[f] = new QCheckBox(QString::fromUtf8(kFlags[f].caption), showBox);
        show->addWidget(flags_[f], f % 3, f / 3);
    }

    auto* planBox = new QGroupBox(book + QStringLiteral(" 计划提醒设置"), this);
    auto* plan = new QHBoxLayout(planBox);
    plan->addWidget(new QLabel(QStringLiteral("计划提醒："), planBox));
    for (int f = PlaySound; f <= ShowPlans; ++f) {
        flags_[f] = new QCheckBox(QString::fromUtf8(kFlags[f].caption), planBox);
        plan->addWidget(flags_[f]);
    }
    plan->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(itemsBox);
    layout->addWidget(showBox);
    layout->addWidget(planBox);
    const DialogParts::Foot foot = DialogParts::addFoot(*this, layout, QStringLiteral("保存"));
    save_ = foot.action;
    exit_ = foot.exit;

    connect(save_, &QPushButton::clicked, this, &TfrmMRX::ButSaveClick);

    try {
        for (int i = 0; i < ItemCount; ++i) {
            // The member is taken out first: called straight from the table, the sanitized
            // build checks the table's index against a value it never held.
            const auto fill = kItems[i].fill;
            boxes_[i]->addItems((ctx_.dm.*fill)());
            boxes_[i]->setCurrentIndex(-1);
        }
        FormShow();
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
}

void TfrmMRX::FormShow() {
    const auto stored = Preferences(ctx_.dm).defaults();
    if (!stored) return;
    for (int i = 0; i < ItemCount; ++i) {
        const QString& name = (*stored).*kItems[i].value;
        boxes_[i]->setCurrentIndex(
            boxes_[i]->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
        nones_[i]->setChecked(name.isEmpty());
    }
    for (int f = 0; f < FlagCount; ++f) flags_[f]->setChecked((*stored).*kFlags[f].value);
}

Preferences::Defaults TfrmMRX::entered() const {
    Defaults d;
    for (int i = 0; i < ItemCount; ++i) {
        d.*kItems[i].value = nones_[i]->isChecked() ? QString() : boxes_[i]->currentText();
    }
    for (int f = 0; f < FlagCount; ++f) d.*kFlags[f].value = flags_[f]->isChecked();
    return d;
}

void TfrmMRX::ButSaveClick() {
    try {
        Preferences(ctx_.dm).saveDefaults(entered());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    ctx_.messages.inform(windowTitle() + QStringLiteral(" 保存成功！"));
    accept();
}

}  // namespace cw
