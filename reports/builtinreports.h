#pragma once
// The six reports every installation starts with, written when the definitions file
// is missing.
#include "reports/reportdef.h"

#include <QList>

namespace kv {

// In their order in the file: "Title and Media Number Report", "Ratings Report",
// "Star Report", "Oscar Report", "Large Report", "Statistic/Summary Report".
QList<TReportDefRec> builtInReports();

} // namespace kv
