#pragma once

#include <QString>

class QProgressBar;

namespace cw {

struct AppContext;
class ReportTable;

// The "执行" button of both execution windows: asks, executes the listed plans in grid order
// with the bar following, and says how it went. A plan that cannot be booked stops the run
// with its message; the plans before it stay executed, it and the later ones stay open.
struct PlanRun {
    static const QString kNothing;  // "没有要执行的计划！"

    // False when there was nothing to execute or the user said no.
    static bool execute(AppContext& ctx, const ReportTable& plans, QProgressBar* bar,
                        bool skipFuture);
};

}  // namespace cw
