#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"
#include "reference/ReferenceManager.h"

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace cw {

// The small modal windows a manager opens on one of its rows (pinyin code, usage count,
// account change, balance adjustment): they save that row through one operation, then
// refresh the manager that opened them and close. A refusal shows its message, focuses the
// field and keeps the window open.
class ReferenceDialog : public QDialog {
    Q_OBJECT
  public:
    // An account row as its manager shows it, for the account windows.
    struct AccountRow {
        QString type;
        QString member;
        QString name;
        QString balance;  // as shown, with separators
        QString remark;
    };

    // The owner's refresh, run after a successful save.
    void setOwnerRefresh(std::function<void()> refresh) { ownerRefresh_ = std::move(refresh); }

    const ReferenceList& list() const { return list_; }
    qint64 rowId() const { return id_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }  // nullptr where there is none

  public slots:
    void ButSaveClick();

  protected:
    ReferenceDialog(AppContext& ctx, const ReferenceList& list, qint64 id, const QString& caption,
                    QWidget* parent);

    // The operations on the row's list.
    ReferenceManager manager() const { return ReferenceManager(ctx_.dm, list_); }

    // The buttons under the fields: the save button (the default one) and, when exitCaption
    // is given, a button that closes without saving.
    void addButtons(QVBoxLayout* layout, const QString& saveCaption,
                    const QString& exitCaption = QString());
    // One group holding one labelled text field: the shape of the pinyin and count windows.
    QLineEdit* addSingleField(QVBoxLayout* layout, const QString& group, const QString& label,
                              const QString& value, int maxLength);
    QLineEdit* singleField() const { return single_; }

    virtual ReferenceManager::Result save() = 0;
    // The field a refusal focuses; the single field unless a window says otherwise.
    virtual QWidget* fieldFor(ReferenceManager::Field field) const;
    // Shown after a successful save; empty for none.
    virtual QString savedMessage() const { return QString(); }

    AppContext& ctx_;

  private:
    const ReferenceList& list_;
    qint64 id_;
    std::function<void()> ownerRefresh_;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
    QLineEdit* single_ = nullptr;
};

}  // namespace cw
