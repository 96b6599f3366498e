#pragma once

#include "reference/ui/ReferenceDialog.h"

namespace cw {

// Sets the pinyin code of one row of a reference list by hand, for names whose code the
// program guesses wrong. The next modification of the row in its manager makes the code
// from the name again.
class TfrmPY : public ReferenceDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 20;

    // caption: the window's and the group's caption, the name + " 拼音码 修改".
    TfrmPY(AppContext& ctx, const ReferenceList& list, qint64 id, const QString& caption,
           const QString& code, QWidget* parent = nullptr);

    QLineEdit* codeEdit() const { return singleField(); }
    QPushButton* modifyButton() const { return saveButton(); }

  protected:
    ReferenceManager::Result save() override;
};

}  // namespace cw
