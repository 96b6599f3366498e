#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

#include "plans/PlanSchedule.h"
#include "reports/ReportTable.h"

namespace cw {

class PostingKind;
class TfrmDM;

// Plans of the open book: postings prepared for a date, made in series, listed, deleted and
// executed. Executing a plan books its posting through the posting rules, exactly as the
// posting screen of its kind would (names the book lacks are created, the balance moves, the
// journal row carries the new posting's own ID), and each plan's execution goes all or nothing
// with the plan's state: a plan is either still open with nothing booked, or done and booked.
class PlanBook {
  public:
    // The plan kinds as stored in PType, in the order of the screens' radio buttons.
    static const QStringList& kinds();
    // The posting kind a plan kind books; nullptr for anything else.
    static const PostingKind* postingKind(const QString& planKind);
    // The title of the name column for a kind: 收入类别, 支出类别, 投资类别, 债权人 (debts),
    // 债务人 (credits).
    static QString nameTitle(const QString& planKind);

    // The entry fields of a new series, as texts as the window holds them.
    struct Series {
        QString kind = QStringLiteral("收入");
        QString name;  // category, or the contact of a debt or credit
        QString amount;
        QString account;
        QString member;
        QString remark;
        PlanSchedule schedule;
        QDate from;
        QDate to;
    };

    enum class Field { None, Name, Amount, Account, Member, EndDate, Schedule };
    struct Verdict {
        QString message;
        Field focus = Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    static const QString kSaved;     // "计划保存成功！"
    static const QString kExecuted;  // "计划执行成功！"
    static const QString kDeleted;   // "数据删除成功！"

    explicit PlanBook(TfrmDM& dm);

    // The checks of the new-plan window in its order. The amount "0", "0." or ".0" counts as
    // empty; a typed 0.0 passes.
    static Verdict validate(const Series& series);
    // Checks, then writes every planned date as one open plan, all in one transaction.
    // Returns how many plans were written (0 with the verdict's message when refused).
    int createSeries(const Series& series, Verdict* verdict = nullptr);

    // The conditions of the plan lists. Unset parts do not filter.
    struct Filter {
        QString kind;  // a plan kind; empty: every kind (the due list)
        std::optional<std::pair<QString, QString>> dates;  // yyyy-mm-dd, both ends included
        std::optional<QString> name;
        std::optional<QString> account;
        std::optional<QString> member;
        std::optional<QString> remark;  // contained in the remark
        std::optional<QString> dueBy;   // dated on or before (the due list)
    };

    // The open plans under the filter, in the order they were made: 类别, 日期, the name title,
    // 金额, 账户名称, 家庭成员, 备注; row IDs are the plans' IDs.
    ReportTable list(const Filter& filter);
    // Every open plan dated today or earlier, latest first, the name titled 计划名称.
    ReportTable due();
    int dueCount();

    // Deletes one open plan of the book; false when there was none such.
    bool remove(qint64 id);
    // Deletes the open plans under the filter; returns how many went.
    int removeAll(const Filter& filter);

    // Executes the open plan `id`: marks it done and books its posting dated with the plan's
    // date, in one transaction. Returns false when the plan is not open any more (executed or
    // deleted meanwhile). Throws PostingRules::Refused or DbError, with nothing written.
    bool execute(qint64 id);

    // The outcome of a run over a list of plans.
    struct Run {
        int executed = 0;
        int skipped = 0;
        QString failure;  // empty when every plan went; the run stopped at the failing one
    };
    // Executes the listed plans in order; those dated after `today` are skipped and stay open
    // when `skipFuture`. The run is one transaction with a savepoint per plan: a refused plan
    // stops the run there, undone alone, and the plans before it are committed; a run cut off
    // (the program killed, the engine giving up the transaction) keeps none of its plans. Either
    // way no plan is ever half executed. `step` is told after each plan, for a progress bar.
    Run executeAll(const std::vector<qint64>& ids, bool skipFuture,
                   const std::function<void(int done)>& step = {});

  private:
    struct Where {
        QString sql;
        QVariantList values;
    };
    Where where(const Filter& filter) const;
    ReportTable read(const Where& w, const QString& nameTitle, const QString& order);

    TfrmDM& dm_;
};

}  // namespace cw
