#include "books/ui/TfrmRecover.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/DataRestore.h"
#include "books/ui/DialogParts.h"
#include "books/ui/TfrmOpenBook.h"
#include "storage/DbError.h"

namespace cw {

namespace {

QString systemFilePicker(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开数据备份文件"), QString(),
                                        QStringLiteral("MDB文件 (*.kbk)"));
}

}  // namespace

TfrmRecover::TfrmRecover(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), pickFile_(systemFilePicker) {
    setWindowTitle(QStringLiteral("数据恢复"));

    auto* warning = new QLabel(QStringLiteral("注意：数据恢复容易造成数据丢失。"), this);
    warning->setStyleSheet(QStringLiteral("color: #c0392b;"));
    auto* note =
        new QLabel(QStringLiteral("选择备份文件，单击 恢复 按钮，即可完成数据恢复操作。"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addWidget(note);
    const DialogParts::PathRow row =
        DialogParts::addPathRow(*this, layout, QStringLiteral("选择备份文件："));
    path_ = row.path;
    path_->setReadOnly(true);
    choose_ = row.choose;
    layout->addStretch();
    const DialogParts::Foot foot = DialogParts::addFoot(*this, layout, QStringLiteral("恢复"));
    restore_ = foot.action;
    exit_ = foot.exit;
    resize(560, 150);

    connect(choose_, &QPushButton::clicked, this, &TfrmRecover::ButPathClick);
    connect(restore_, &QPushButton::clicked, this, &TfrmRecover::ButRestoreClick);
}

void TfrmRecover::ButPathClick() {
    path_->setText(QDir::toNativeSeparators(pickFile_(this)));
}

void TfrmRecover::ButRestoreClick() {
    if (path_->text().isEmpty()) {
        ctx_.messages.inform(DataRestore::kChooseFile);
        return;
    }
    if (!ctx_.messages.ask(DataRestore::kQuestion, DataRestore::kQuestionCaption, false)) return;
    DataRestore::Result r;
    try {
        r = DataRestore(ctx_.dm, ctx_.programDir)
                .restore(QDir::fromNativeSeparators(path_->text()));
    } catch (const DbError&) {
        r.message = DataRestore::kFailed;
    }
    if (!r.ok) {
        ctx_.messages.warn(r.message);
        return;
    }
    // The book that was open may be gone or hold other rows now: menus off, the working
    // window closed and the dashboard back to nothing, as closing the book does.
    TfrmOpenBook::closeBook(ctx_);
    // Unlike closing the book by hand, the frame no longer names it: that book may not even
    // be in the restored file. The user is told what to do next.
    if (ctx_.setCaption) ctx_.setCaption(QString());
    ctx_.messages.inform(r.message + QStringLiteral("请重新打开账本。"));
}

}  // namespace cw
