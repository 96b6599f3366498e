#include "bookkeeping/ui/TfrmTXMes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

TfrmTXMes::TfrmTXMes(const QString& caption, const QString& member, const QString& amounts,
                     const QString& hint, QWidget* parent)
    : QDialog(parent),
      member_(new QLabel(member, this)),
      amounts_(new QLabel(amounts, this)),
      hint_(new QLabel(hint, this)),
      ok_(new QPushButton(QStringLiteral("知道了"), this)) {
    setObjectName(QStringLiteral("TfrmTXMes"));
    setWindowTitle(caption);
    setModal(true);
    // A hint may be long; it wraps rather than widening the box past the screen.
    hint_->setWordWrap(true);
    hint_->setStyleSheet(QStringLiteral("color: #b22222;"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(member_);
    layout->addWidget(amounts_);
    layout->addWidget(hint_);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

}  // namespace cw
