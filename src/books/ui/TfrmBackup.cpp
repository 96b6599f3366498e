#include "books/ui/TfrmBackup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/DataBackup.h"
#include "books/ui/DialogParts.h"
#include "storage/DbError.h"

namespace cw {

namespace {

const QString kTitle = QStringLiteral("选择备份路径：");

QString systemFolderPicker(QWidget* parent, const QString& current) {
    return QFileDialog::getExistingDirectory(parent, kTitle, current, QFileDialog::ShowDirsOnly);
}

}  // namespace

TfrmBackup::TfrmBackup(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), pickFolder_(systemFolderPicker) {
    setWindowTitle(QStringLiteral("数据备份"));

    auto* note = new QLabel(
        QStringLiteral("单击[选择路径]按钮选择正确备份路径，再单击[备份]按钮即可。"), this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    const DialogParts::PathRow row = DialogParts::addPathRow(*this, layout, kTitle);
    path_ = row.path;
    choose_ = row.choose;
    auto_ = new QCheckBox(QStringLiteral("退出软件自动备份"), this);
    layout->addWidget(auto_);
    layout->addStretch();
    const DialogParts::Foot foot = DialogParts::addFoot(*this, layout, QStringLiteral("备份"));
    backup_ = foot.action;
    exit_ = foot.exit;
    resize(560, 150);

    auto_->setChecked(DataBackup(ctx_.dm).autoBackup());

    connect(choose_, &QPushButton::clicked, this, &TfrmBackup::ButPathClick);
    connect(backup_, &QPushButton::clicked, this, &TfrmBackup::ButBackupClick);
}

void TfrmBackup::ButPathClick() {
    // Picking a place for a copy by hand is taken as not wanting the automatic one; the
    // user ticks it again to keep it.
    auto_->setChecked(false);
    const QString current = path_->text().isEmpty()
                                ? QString()
                                : QFileInfo(QDir::fromNativeSeparators(path_->text())).path();
    const QString folder = pickFolder_(this, current);
    path_->setText(folder.isEmpty()
                       ? QString()
                       : QDir::toNativeSeparators(DataBackup(ctx_.dm).targetIn(folder)));
}

void TfrmBackup::ButBackupClick() {
    const DataBackup::Result r =
        DataBackup(ctx_.dm).backup(QDir::fromNativeSeparators(path_->text()));
    if (r.message == DataBackup::kEmptyPath) {
        ctx_.messages.inform(r.message);
        path_->setFocus();
        return;
    }
    if (r.ok)
        ctx_.messages.inform(r.message);
    else
        ctx_.messages.warn(r.message);
    accept();
}

void TfrmBackup::done(int result) {
    // Whatever closes the dialog stores the tick, backed up or not.
    try {
        DataBackup(ctx_.dm).setAutoBackup(auto_->isChecked());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    QDialog::done(result);
}

}  // namespace cw
