#include "plans/ui/TfrmPlan_New.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "plans/ui/PlanNames.h"
#include "storage/TfrmDM.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/NameComboBox.h"

namespace cw {

namespace {

QSpinBox* spin(QWidget* parent, int low, int high, int value) {
    auto* s = new QSpinBox(parent);
    s->setRange(low, high);
    s->setValue(value);
    return s;
}

}  // namespace

TfrmPlan_New::TfrmPlan_New(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("新建计划"));

    // 第一步: what each plan books.
    auto* first = new QGroupBox(QStringLiteral("第一步"), this);
    auto* g1 = new QGridLayout(first);
    auto* kindRow = new QHBoxLayout;
    kinds_ = new QButtonGroup(this);
    int index = 0;
    for (const QString& k : PlanBook::kinds()) {
        auto* b = new QRadioButton(k, first);
        kinds_->addButton(b, index++);
        kindRow->addWidget(b);
    }
    kinds_->button(0)->setChecked(true);
    kindRow->addStretch();
    g1->addLayout(kindRow, 0, 0, 1, 2);
    nameLabel_ = new QLabel(first);
    name_ = new NameComboBox(first);
    account_ = new NameComboBox(first);
    account_->setNames(ctx_.dm.DBComAccount());
    account_->setText(ctx_.state.myAName);
    member_ = new NameComboBox(first);
    member_->setNames(ctx_.dm.DBComFamily());
    member_->setText(ctx_.state.myFName);
    amount_ = new QLineEdit(first);
    amount_->setMaxLength(10);
    // Only digits and decimal points can be typed; the save says when they make no number.
    amount_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), amount_));
    remark_ = new QLineEdit(first);
    remark_->setMaxLength(36);
    g1->addWidget(nameLabel_, 1, 0);
    g1->addWidget(name_, 1, 1);
    g1->addWidget(new QLabel(QStringLiteral("账户名称："), first), 2, 0);
    g1->addWidget(account_, 2, 1);
    g1->addWidget(new QLabel(QStringLiteral("家庭成员："), first), 3, 0);
    g1->addWidget(member_, 3, 1);
    g1->addWidget(new QLabel(QStringLiteral("金        额："), first), 4, 0);
    g1->addWidget(amount_, 4, 1);
    g1->addWidget(new QLabel(QStringLiteral("备        注："), first), 5, 0);
    g1->addWidget(remark_, 5, 1);

    // 第二步: how often.
    auto* second = new QGroupBox(QStringLiteral("第二步"), this);
    auto* g2 = new QGridLayout(second);
    rules_ = new QButtonGroup(this);
    everyDays_ = spin(second, 1, 31, 7);
    monthlyDay_ = spin(second, 1, 28, 20);
    yearlyMonth_ = spin(second, 1, 12, 1);
    yearlyDay_ = spin(second, 1, 28, 20);
    everyMonths_ = spin(second, 1, 12, 3);
    everyMonthsDay_ = spin(second, 1, 28, 20);
    const auto ruleRow = [&](int row, const QString& text, QList<QWidget*> parts) {
        auto* b = new QRadioButton(text, second);
        rules_->addButton(b, row);
        auto* line = new QHBoxLayout;
        line->addWidget(b);
        for (QWidget* w : parts) line->addWidget(w);
        line->addStretch();
        g2->addLayout(line, row, 0);
    };
    const auto label = [second](const char* text) {
        return new QLabel(QString::fromUtf8(text), second);
    };
    ruleRow(0, QStringLiteral("每天 执行"), {});
    ruleRow(1, QStringLiteral("每"), {everyDays_, label("日 执行")});
    ruleRow(2, QStringLiteral("每月"), {monthlyDay_, label("日 执行")});
    ruleRow(3, QStringLiteral("每年"), {yearlyMonth_, label("月"), yearlyDay_, label("日 执行")});
    ruleRow(4, QStringLiteral("每"),
            {everyMonths_, label("月"), everyMonthsDay_, label("日 执行")});
    rules_->button(0)->setChecked(true);

    // 第三步: from when to when.
    auto* third = new QGroupBox(QStringLiteral("第三步"), this);
    auto* g3 = new QHBoxLayout(third);
    start_ = new DatePicker(third);
    start_->setDate(ctx_.clock.today());
    end_ = new DatePicker(third);
    end_->setDate(ctx_.clock.today().addMonths(1));
    g3->addWidget(new QLabel(QStringLiteral("开始日期："), third));
    g3->addWidget(start_);
    g3->addSpacing(20);
    g3->addWidget(new QLabel(QStringLiteral("结束日期："), third));
    g3->addWidget(end_);
    g3->addStretch();

    QHBoxLayout* buttons = Dialogs::saveRow(this, &save_, &exit_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(third);
    layout->addLayout(buttons);

    connect(kinds_, &QButtonGroup::idClicked, this, &TfrmPlan_New::kindChosen);
    connect(rules_, &QButtonGroup::idClicked, this, &TfrmPlan_New::ruleChosen);
    connect(save_, &QPushButton::clicked, this, &TfrmPlan_New::ButSaveClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    kindChosen();
}

QString TfrmPlan_New::kind() const {
    return PlanBook::kinds().value(kinds_->checkedId());
}

void TfrmPlan_New::kindChosen() {
    const QString k = kind();
    nameLabel_->setText(PlanNames::label(k));
    name_->setNames(PlanNames::of(ctx_.dm, k));
    name_->setText(PlanNames::defaultOf(ctx_.state, k));
    name_->setFocus();
}

void TfrmPlan_New::ruleChosen() {
    end_->setDate(PlanSchedule::defaultEnd(schedule().rule, start_->date()));
}

PlanSchedule TfrmPlan_New::schedule() const {
    using Rule = PlanSchedule::Rule;
    switch (rules_->checkedId()) {
        case 1:
            return {.rule = Rule::EveryNDays, .n = everyDays_->value()};
        case 2:
            return {.rule = Rule::Monthly, .day = monthlyDay_->value()};
        case 3:
            return {
                .rule = Rule::Yearly, .day = yearlyDay_->value(), .month = yearlyMonth_->value()};
        case 4:
            return {.rule = Rule::EveryNMonths,
                    .n = everyMonths_->value(),
                    .day = everyMonthsDay_->value()};
        default:
            return {.rule = Rule::Daily};
    }
}

void TfrmPlan_New::focusField(PlanBook::Field field) {
    using F = PlanBook::Field;
    switch (field) {
        case F::Name:
            name_->setFocus();
            break;
        case F::Amount:
            amount_->setFocus();
            break;
        case F::Account:
            account_->setFocus();
            break;
        case F::Member:
            member_->setFocus();
            break;
        case F::EndDate:
            end_->setFocus();
            break;
        default:
            break;
    }
}

// A series of more than a year of daily plans is seldom meant (a slip in the end year makes
// thousands): say how many it would make and save only on a yes.
bool TfrmPlan_New::confirmLargeSeries(const PlanBook::Series& s) {
    if (!PlanBook::validate(s).ok()) return true;  // saving refuses it with its own message
    const size_t count = s.schedule.dates(s.from, s.to).size();
    if (count <= kLargeSeries) return true;
    return ctx_.messages.ask(QStringLiteral("将生成 %1 个计划，确认要保存吗？").arg(count),
                             windowTitle(), false);
}

void TfrmPlan_New::ButSaveClick() {
    // "0", "0." and ".0" count as nothing typed: the field is cleared.
    const QString a = amount_->text();
    if (a == QLatin1String("0") || a == QLatin1String("0.") || a == QLatin1String(".0"))
        amount_->clear();
    PlanBook::Series s;
    s.kind = kind();
    s.name = name_->text();
    s.amount = amount_->text();
    s.account = account_->text();
    s.member = member_->text();
    s.remark = remark_->text();
    s.schedule = schedule();
    s.from = start_->date();
    s.to = end_->date();
    if (!confirmLargeSeries(s)) return;
    PlanBook::Verdict verdict;
    PlanBook(ctx_.dm).createSeries(s, &verdict);
    if (!verdict.ok()) {
        ctx_.messages.inform(verdict.message);
        focusField(verdict.focus);
        return;
    }
    ctx_.messages.inform(PlanBook::kSaved);
    accept();
}

}  // namespace cw
