#include "reports/ui/reportscommand.h"

#include "app/style/speedicons.h"
#include "reports/ui/myreport.h"

namespace kv {

void runReports(CommandHost &host)
{
    TMyReport dialog(host.workspace(), host.commandWindow());
    dialog.exec();
    host.DisplayCount();
}

CommandRow reportsCommandRow(CommandHost &host)
{
    CommandRow row{"MenuReports", QStringLiteral("&Reports"), "", QKeySequence(Qt::CTRL | Qt::Key_R),
                   [&host] { runReports(host); }};
    row.speed = SpeedButtonSpec{"SpeedReports", "Reports", speedIcon(SpeedIcon::Reports), true};
    row.lettered = LetteredButtonSpec{"ReportButton", "&Reports", {260, 12, 63, 26}, 7};
    return row;
}

} // namespace kv
