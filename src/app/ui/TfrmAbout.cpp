#include "app/ui/TfrmAbout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

TfrmAbout::TfrmAbout(const QString& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 24, 30, 18);
    auto* name = new QLabel(QStringLiteral("产品名称：Coinwick记账软件"));
    auto* ver = new QLabel(QStringLiteral("产品版本：") + version);
    name->setObjectName(QStringLiteral("productName"));
    ver->setObjectName(QStringLiteral("productVersion"));
    layout->addWidget(name);
    layout->addWidget(ver);
    layout->addSpacing(12);
    auto* ok = new QPushButton(QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

}  // namespace cw
