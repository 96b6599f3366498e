#pragma once

#include <QString>
#include <vector>

#include "reports/ReportDefinition.h"

namespace cw {

// Every report described so far, for the screens' registration and the CLI's report verb.
class ReportCatalog {
  public:
    static const std::vector<ReportDefinition>& all();
    // nullptr when there is none.
    static const ReportDefinition* byCliName(const QString& name);
    static const ReportDefinition* byScreen(const QString& screen);
};

}  // namespace cw
