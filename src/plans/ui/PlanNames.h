#pragma once

#include <QString>
#include <QStringList>

namespace cw {

class TfrmDM;
struct GlobalState;

// The name drop-down that follows a plan's kind: the categories of income, expenses or
// investments, or the contacts of debts and credits, with the book's default for that kind.
struct PlanNames {
    static QStringList of(TfrmDM& dm, const QString& kind);
    static QString defaultOf(const GlobalState& state, const QString& kind);
    // The label before the drop-down in the new-plan window: "收入类别：", "债  权  人：".
    static QString label(const QString& kind);
};

}  // namespace cw
