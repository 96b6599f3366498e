#include "import/ui/ImportFrame.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace cw {

QGroupBox* ImportFrame::openGroup(const QString& title, const QString& hint, QPushButton** open) {
    auto* group = new QGroupBox(title);
    auto* label = new QLabel(hint);
    label->setObjectName(QStringLiteral("hint"));
    label->setWordWrap(true);
    *open = new QPushButton(QStringLiteral("打开"));
    (*open)->setObjectName(QStringLiteral("ButOpen"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(label, 1);
    row->addWidget(*open);
    return group;
}

QHBoxLayout* ImportFrame::buttonRow(QPushButton** import, QPushButton** exit, QWidget* leading) {
    *import = new QPushButton(QStringLiteral("导入"));
    (*import)->setObjectName(QStringLiteral("ButImport"));
    (*import)->setEnabled(false);
    *exit = new QPushButton(QStringLiteral("退出"));
    (*exit)->setObjectName(QStringLiteral("ButExit"));
    auto* row = new QHBoxLayout;
    if (leading) row->addWidget(leading, 1);
    row->addStretch();
    row->addWidget(*import);
    row->addWidget(*exit);
    return row;
}

}  // namespace cw
