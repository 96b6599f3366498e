#pragma once

#include "reference/ui/ReferenceDialog.h"

namespace cw {

// Sets the usage count of one row of a list that has one (accounts, categories, contacts),
// the number that orders the drop-down lists. The field takes digits only.
class TfrmJZCS : public ReferenceDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 6;

    // group: the name + " 的记账次数".
    TfrmJZCS(AppContext& ctx, const ReferenceList& list, qint64 id, const QString& group,
             const QString& count, QWidget* parent = nullptr);

    QLineEdit* countEdit() const { return singleField(); }
    QPushButton* modifyButton() const { return saveButton(); }

  protected:
    ReferenceManager::Result save() override;
};

}  // namespace cw
