#pragma once

#include "reference/ui/ReferenceDialog.h"

class QComboBox;

namespace cw {

// Changes an account's type, owner, name and remark. A new name follows into every
// posting, transfer, plan, journal row and default of the book that names the account.
// Balance, state and usage count are not touched here.
class TfrmA_M : public ReferenceDialog {
    Q_OBJECT
  public:
    static constexpr int kNameLength = 20;
    static constexpr int kRemarkLength = 50;

    TfrmA_M(AppContext& ctx, qint64 id, const AccountRow& account, QWidget* parent = nullptr);

    QComboBox* typeBox() const { return type_; }
    QComboBox* memberBox() const { return member_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* remarkEdit() const { return remark_; }
    // The name the account had when the window opened.
    const QString& oldName() const { return oldName_; }

  protected:
    ReferenceManager::Result save() override;
    QWidget* fieldFor(ReferenceManager::Field field) const override;
    QString savedMessage() const override;

  private:
    QString oldName_;
    QComboBox* type_;
    QComboBox* member_;
    QLineEdit* name_;
    QLineEdit* remark_;
};

}  // namespace cw
