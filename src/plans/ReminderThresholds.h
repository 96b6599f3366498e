#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace cw {

class TfrmDM;

// The monthly reminder thresholds of the open book (UWarn): at most one per member and kind.
// The posting screens read them when they open (PostingWarnings); this keeps them.
class ReminderThresholds {
  public:
    // The kinds a threshold watches, in the order of the manager's radio buttons.
    static const QStringList& kinds();

    struct Row {
        qint64 id = 0;
        QString kind;       // 提醒类别
        QString member;     // 家庭成员
        double amount = 0;  // 提醒金额
        QString hint;       // 提醒提示
        QString state;      // 状态: 启用 / 停用
    };

    enum class Field { None, Member, Amount, Hint };
    struct Verdict {
        QString message;
        Field focus = Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    static const QString kDuplicate;  // "提醒 添加重复！"
    static const QString kModified;   // "提醒修改 保存成功！"
    static const QString kEnabled;    // "启用"
    static const QString kDisabled;   // "停用"

    explicit ReminderThresholds(TfrmDM& dm);

    // The book's thresholds ordered by kind and member.
    std::vector<Row> list();

    // The manager's save of a new threshold, checks in its order; the hint is stored trimmed.
    // Returns the verdict; the row is written only when it is ok.
    Verdict add(const QString& kind, const QString& member, const QString& amount,
                const QString& hint);
    // The modify dialog's save: amount and hint only. A hint of blanks only passes and is
    // stored as empty text.
    Verdict modify(qint64 id, const QString& amount, const QString& hint);
    void setState(qint64 id, const QString& state);
    bool remove(qint64 id);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
