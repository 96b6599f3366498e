#include "books/ui/TfrmSZ_PX.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "books/Preferences.h"
#include "books/ui/DialogParts.h"
#include "storage/DbError.h"

namespace cw {

namespace {

const QString kListsGroup = QStringLiteral("下拉选择排序设置");
const QString kPostingsGroup = QStringLiteral("记账列表排序设置");

// A group of choices numbered 1, 2, … in the order given.
QGroupBox* choices(QWidget* parent, const QString& title, const QStringList& captions,
                   QButtonGroup* group) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* choice = new QRadioButton(captions[i], box);
        group->addButton(choice, i + 1);
        layout->addWidget(choice);
    }
    layout->addStretch();
    return box;
}

}  // namespace

TfrmSZ_PX::TfrmSZ_PX(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(ctx.state.myBName + QStringLiteral(" 排序设置"));

    lists_ = new QButtonGroup(this);
    postings_ = new QButtonGroup(this);
    auto* listBox = choices(
        this, kListsGroup,
        {QStringLiteral("按记账次数升序"), QStringLiteral("按名称升序"),
         QStringLiteral("按记账次数降序"), QStringLiteral("按名称降序"), QStringLiteral("不排序")},
        lists_);
    auto* postingBox = choices(this, kPostingsGroup,
                               {QStringLiteral("按顺序升序"), QStringLiteral("按日期升序"),
                                QStringLiteral("按顺序降序"), QStringLiteral("按日期降序")},
                               postings_);
    auto* groups = new QHBoxLayout;
    groups->addWidget(listBox);
    groups->addWidget(postingBox);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    const DialogParts::Foot foot = DialogParts::addFoot(*this, layout, QStringLiteral("保存"));
    save_ = foot.action;
    exit_ = foot.exit;

    connect(save_, &QPushButton::clicked, this, &TfrmSZ_PX::ButSaveClick);
    FormShow();
}

QRadioButton* TfrmSZ_PX::listChoice(int code) const {
    return qobject_cast<QRadioButton*>(lists_->button(code));
}

QRadioButton* TfrmSZ_PX::postingChoice(int code) const {
    return qobject_cast<QRadioButton*>(postings_->button(code));
}

void TfrmSZ_PX::FormShow() {
    try {
        const auto orders = Preferences(ctx_.dm).sortOrders();
        if (!orders) return;
        if (QAbstractButton* b = lists_->button(orders->lists)) b->setChecked(true);
        if (QAbstractButton* b = postings_->button(orders->postings)) b->setChecked(true);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
}

void TfrmSZ_PX::ButSaveClick() {
    // A stored code outside the choices selects none; the user picks one.
    if (lists_->checkedId() < 0) {
        ctx_.messages.inform(QStringLiteral("请选择 ") + kListsGroup + QStringLiteral("！"));
        return;
    }
    if (postings_->checkedId() < 0) {
        ctx_.messages.inform(QStringLiteral("请选择 ") + kPostingsGroup + QStringLiteral("！"));
        return;
    }
    try {
        Preferences(ctx_.dm).saveSortOrders({lists_->checkedId(), postings_->checkedId()});
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    ctx_.messages.inform(windowTitle() + QStringLiteral(" 保存成功，请重新打开Coinwick！"));
    accept();
    if (ctx_.endProgram) ctx_.endProgram();
}

}  // namespace cw
