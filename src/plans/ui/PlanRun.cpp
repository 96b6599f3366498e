#include "plans/ui/PlanRun.h"

#include <QCoreApplication>
#include <QProgressBar>

#include "plans/PlanBook.h"
#include "widgets/AppContext.h"

namespace cw {

const QString PlanRun::kNothing = QStringLiteral("没有要执行的计划！");

bool PlanRun::execute(AppContext& ctx, const ReportTable& plans, QProgressBar* bar,
                      bool skipFuture) {
    if (plans.isEmpty()) {
        ctx.messages.inform(kNothing);
        return false;
    }
    if (!ctx.messages.ask(QStringLiteral("确认要执行全部计划吗？该执行将不可恢复！"),
                          QStringLiteral("执行计划"), false))
        return false;
    std::vector<qint64> ids;
    for (int r = 0; r < plans.rowCount(); ++r) ids.push_back(plans.rowId(r));
    bar->setRange(0, int(ids.size()));
    bar->setValue(0);
    const PlanBook::Run run = PlanBook(ctx.dm).executeAll(ids, skipFuture, [bar](int done) {
        bar->setValue(done);
        // Let the bar paint during a long run.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (!run.failure.isEmpty()) {
        ctx.messages.warn(run.failure);
        return true;
    }
    // Every listed plan lies ahead: nothing was booked, so nothing "went well".
    ctx.messages.inform(run.executed > 0 ? PlanBook::kExecuted : kNothing);
    return true;
}

}  // namespace cw
