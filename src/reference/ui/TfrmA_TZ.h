#pragma once

#include "reference/ui/ReferenceDialog.h"

namespace cw {

class MoneyEdit;

// Sets an account to the amount it really holds; the difference is booked in the journal
// as "调账". The account as it stands is shown read-only above the new amount.
class TfrmA_TZ : public ReferenceDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 10;

    TfrmA_TZ(AppContext& ctx, qint64 id, const AccountRow& account, QWidget* parent = nullptr);

    MoneyEdit* actualEdit() const { return actual_; }
    // The read-only fields of "原账户信息", in the order shown.
    QList<QLineEdit*> accountFields() const { return shown_; }

  protected:
    ReferenceManager::Result save() override;
    QWidget* fieldFor(ReferenceManager::Field field) const override;
    QString savedMessage() const override;

  private:
    QList<QLineEdit*> shown_;
    MoneyEdit* actual_;
};

}  // namespace cw
