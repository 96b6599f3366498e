#include "app/ui/DashboardView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "storage/Money.h"
#include "widgets/Badge.h"

namespace cw {

namespace {

QLabel* valueLabel() {
    auto* l = new QLabel(QStringLiteral("0.00"));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(180);
    QFont f = l->font();
    f.setPointSize(f.pointSize() + 4);
    l->setFont(f);
    return l;
}

}  // namespace

DashboardView::DashboardView(QWidget* parent) : QWidget(parent) {
    auto* funds = new QGroupBox(QStringLiteral("资金"));
    auto* fundsLayout = new QVBoxLayout(funds);
    const QColor green(0x2e, 0x8b, 0x57), blue(0x1e, 0x6f, 0xb8), red(0xc0, 0x39, 0x2b);
    for (const char* c : {"现金", "银行卡", "电子账户", "其它", "投资", "债权"}) {
        fundsLayout->addWidget(row(QString::fromUtf8(c), green, true));
    }
    auto* debts = new QGroupBox(QStringLiteral("负债"));
    auto* debtsLayout = new QVBoxLayout(debts);
    for (const char* c : {"债务", "信用卡"})
        debtsLayout->addWidget(row(QString::fromUtf8(c), red, true));
    debtsLayout->addStretch();

    auto* totals = new QGroupBox(QStringLiteral("合计"));
    auto* totalsLayout = new QVBoxLayout(totals);
    for (const char* c : {"资金合计：", "负债合计：", "净资金："}) {
        totalsLayout->addWidget(row(QString::fromUtf8(c), blue, false));
    }
    totalsLayout->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(debts);
    right->addWidget(totals);

    auto* columns = new QHBoxLayout;
    columns->addWidget(funds, 1);
    columns->addLayout(right, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(40, 30, 40, 30);
    outer->addLayout(columns);
    outer->addStretch();
    for (QGroupBox* g : {funds, debts, totals}) {
        QFont f = g->font();
        f.setPointSize(f.pointSize() + 2);
        f.setBold(true);
        g->setFont(f);
    }
}

QWidget* DashboardView::row(const QString& caption, const QColor& colour, bool clickable) {
    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(4, 2, 4, 2);
    auto* pic = new QToolButton;
    pic->setIcon(Badge::icon(caption, colour));
    pic->setIconSize(QSize(32, 32));
    pic->setAutoRaise(true);
    if (clickable) {
        pic->setCursor(Qt::PointingHandCursor);
        connect(pic, &QToolButton::clicked, this,
                [this, caption] { Q_EMIT pictureClicked(caption); });
    } else {
        pic->setEnabled(false);
    }
    auto* name = new QLabel(caption);
    QFont f = name->font();
    f.setPointSize(f.pointSize() + 2);
    name->setFont(f);
    auto* value = valueLabel();
    value->setObjectName(caption);
    values_.insert(caption, value);
    h->addWidget(pic);
    h->addWidget(name);
    h->addStretch();
    h->addWidget(value);
    return w;
}

void DashboardView::show(const Dashboard& d) {
    const auto set = [this](const char* caption, double v) {
        QLabel* l = values_.value(QString::fromUtf8(caption));
        if (!l) return;
        l->setText(Money::display(v));
        l->setStyleSheet(Money::round(v) < 0 ? QStringLiteral("color:#c0392b")
                                             : QStringLiteral("color:#1a1a1a"));
    };
    set("现金", d.cash);
    set("银行卡", d.bank);
    set("电子账户", d.eAccount);
    set("其它", d.other);
    set("投资", d.investment);
    set("债权", d.credit);
    set("债务", d.debt);
    set("信用卡", d.creditCard);
    set("资金合计：", d.funds());
    set("负债合计：", d.liabilities());
    set("净资金：", d.net());
}

QString DashboardView::valueText(const QString& caption) const {
    const QLabel* l = values_.value(caption);
    return l ? l->text() : QString();
}

}  // namespace cw
