#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "widgets/AppContext.h"
#include "bookkeeping/PostingKind.h"
#include "bookkeeping/ui/PostingLayout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace cw {

class DatePicker;
class NameComboBox;

// The query dialog of a posting screen (TfrmInTable_Q, TfrmOutTable_Q, TfrmChangeT_Q …): the
// kind's criteria, each with its check box, in the order the condition is built. Changing a
// criterion ticks its box. "查询" hands the condition of the ticked criteria to the screen,
// which makes it its filter (replacing any earlier one) and refreshes; "退出" changes nothing.
class PostingQueryDialog : public QDialog {
    Q_OBJECT

  public:
    using Apply = std::function<void(const PostingKind::Filter&)>;

    PostingQueryDialog(AppContext& ctx, const PostingLayout& layout, Apply apply,
                       QWidget* parent = nullptr);

    // The condition of the ticked criteria, values bound in order.
    PostingKind::Filter condition() const;

    // The check box of a criterion by its caption ("收入类别"); nullptr when there is none.
    QCheckBox* check(const QString& caption) const;
    // The criterion's control: a NameComboBox, a pick-list QComboBox or a QLineEdit; for the
    // dates the first picker.
    QWidget* control(const QString& caption) const;
    DatePicker* fromPicker() const { return from_; }
    DatePicker* toPicker() const { return to_; }
    QPushButton* queryButton() const { return query_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    void ButQueryClick();

  private:
    struct Row {
        const PostingLayout::Criterion* criterion;
        QCheckBox* check = nullptr;
        QWidget* control = nullptr;
    };

    QWidget* makeControl(const PostingLayout::Criterion& c, QCheckBox* check);
    QWidget* makeDates(QCheckBox* check);
    const Row* rowOf(const QString& caption) const;

    AppContext& ctx_;
    const PostingLayout& layout_;
    Apply apply_;
    std::vector<Row> rows_;
    DatePicker* from_ = nullptr;
    DatePicker* to_ = nullptr;
    QPushButton* query_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
