#include "books/ui/DialogParts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cw {

DialogParts::Foot DialogParts::addFoot(QDialog& dialog, QBoxLayout* into, const QString& action,
                                       bool actionIsDefault) {
    Foot foot{new QPushButton(action, &dialog), new QPushButton(QStringLiteral("退出"), &dialog)};
    foot.action->setDefault(actionIsDefault);
    foot.action->setAutoDefault(actionIsDefault);
    foot.exit->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(foot.action);
    row->addWidget(foot.exit);
    into->addLayout(row);
    QObject::connect(foot.exit, &QPushButton::clicked, &dialog, &QDialog::reject);
    return foot;
}

DialogParts::PathRow DialogParts::addPathRow(QDialog& dialog, QBoxLayout* into,
                                             const QString& label) {
    PathRow row{new QLineEdit(&dialog), new QPushButton(QStringLiteral("选择路径"), &dialog)};
    row.path->setMinimumWidth(360);
    row.choose->setAutoDefault(false);
    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel(label, &dialog));
    line->addWidget(row.path, 1);
    line->addWidget(row.choose);
    into->addLayout(line);
    return row;
}

}  // namespace cw
