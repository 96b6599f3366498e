#include "books/ui/TfrmSound.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "books/ReminderSound.h"
#include "books/ui/DialogParts.h"

namespace cw {

namespace {

QString systemFilePicker(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                        QStringLiteral("mp3文件 (*.mp3)"));
}

QGroupBox* soundGroup(QWidget* parent, const QString& title, QLineEdit* path,
                      const QList<QPushButton*>& buttons) {
    auto* box = new QGroupBox(title, parent);
    path->setParent(box);
    path->setMinimumWidth(340);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("声音路径："), box));
    row->addWidget(path, 1);
    for (QPushButton* b : buttons) {
        b->setParent(box);
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    return box;
}

}  // namespace

TfrmSound::TfrmSound(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), pickFile_(systemFilePicker) {
    setWindowTitle(QStringLiteral("计划提醒声音设置"));
    player_ = mediaPlayer();

    current_ = new QLineEdit;
    current_->setReadOnly(true);
    current_->setText(QDir::toNativeSeparators(ReminderSound(ctx.programDir).currentFile()));
    play_ = new QPushButton(QStringLiteral("播放"));
    new_ = new QLineEdit;
    open_ = new QPushButton(QStringLiteral("打开"));
    listen_ = new QPushButton(QStringLiteral("试听"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(soundGroup(this, QStringLiteral("当前声音"), current_, {play_}));
    layout->addWidget(soundGroup(this, QStringLiteral("更换声音"), new_, {open_, listen_}));
    const DialogParts::Foot foot =
        DialogParts::addFoot(*this, layout, QStringLiteral("替换"), false);
    replace_ = foot.action;
    exit_ = foot.exit;

    connect(play_, &QPushButton::clicked, this, &TfrmSound::ButPlayClick);
    connect(open_, &QPushButton::clicked, this, &TfrmSound::ButOpenClick);
    connect(listen_, &QPushButton::clicked, this, &TfrmSound::ButListenClick);
    connect(replace_, &QPushButton::clicked, this, &TfrmSound::ButReplaceClick);
    // The sound stops with the dialog.
    connect(this, &QDialog::finished, this, [this] { player_.stop(); });
}

TfrmSound::Player TfrmSound::mediaPlayer() {
    // Made on first use: a missing codec or sound device only keeps the dialog silent.
    const auto ensure = [this] {
        if (media_) return;
        media_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        media_->setAudioOutput(audio_);
    };
    return {[this, ensure](const QString& file) {
                ensure();
                media_->setSource(QUrl::fromLocalFile(file));
                media_->play();
            },
            [this] {
                // The player lets go of the file, so it can be replaced.
                if (media_) media_->setSource(QUrl());
            }};
}

void TfrmSound::playIfThere(const QString& file) {
    if (!file.isEmpty() && QFileInfo(file).isFile()) player_.play(file);
}

void TfrmSound::ButPlayClick() {
    playIfThere(QDir::fromNativeSeparators(current_->text()));
}

void TfrmSound::ButOpenClick() {
    new_->setText(QDir::toNativeSeparators(pickFile_(this)));
}

void TfrmSound::ButListenClick() {
    playIfThere(QDir::fromNativeSeparators(new_->text()));
}

void TfrmSound::ButReplaceClick() {
    player_.stop();
    const ReminderSound::Result r =
        ReminderSound(ctx_.programDir).replace(QDir::fromNativeSeparators(new_->text()));
    if (r.ok) {
        ctx_.messages.inform(r.message);
        new_->clear();
        return;
    }
    ctx_.messages.warn(r.message);
    if (r.message == ReminderSound::kChooseFile) open_->setFocus();
}

}  // namespace cw
