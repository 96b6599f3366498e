#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"

class QAudioOutput;
class QLineEdit;
class QMediaPlayer;
class QPushButton;

namespace cw {

// The reminder sound played at start when plans are due: listen to the current one, pick and
// listen to another, and put it in place of the current one.
class TfrmSound : public QDialog {
    Q_OBJECT
  public:
    // Returns the chosen file, empty when the dialog was cancelled.
    using FilePicker = std::function<QString(QWidget* parent)>;
    // Plays a file (returns at once) and stops whatever plays.
    struct Player {
        std::function<void(const QString& file)> play;
        std::function<void()> stop;
    };

    explicit TfrmSound(AppContext& ctx, QWidget* parent = nullptr);

    void setFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }
    void setPlayer(Player player) { player_ = std::move(player); }

    QLineEdit* currentEdit() const { return current_; }
    QLineEdit* newEdit() const { return new_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* listenButton() const { return listen_; }
    QPushButton* replaceButton() const { return replace_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    void ButPlayClick();
    void ButOpenClick();
    void ButListenClick();
    void ButReplaceClick();

  private:
    Player mediaPlayer();
    void playIfThere(const QString& file);

    AppContext& ctx_;
    FilePicker pickFile_;
    Player player_;
    QMediaPlayer* media_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    QLineEdit* current_ = nullptr;
    QLineEdit* new_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* listen_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
