// kestrova-cli reports: the report names, one per line, after the start-up preparation
// of the definitions file (built-in reports when missing, the previous version's file
// converted when present).
#include "commands.h"

#include "base/paths.h"
#include "reports/reportfile.h"

namespace {

int runReports(const QStringList &args)
{
    if (!args.isEmpty())
        return kvcli::usageError("reports", QStringLiteral("Unexpected argument \"%1\".").arg(args.first()));
    QString error;
    if (!kv::prepareReportFile(kv::programDir(), &error)) {
        kvcli::printError(error);
        return kvcli::kExitRefused;
    }
    for (const QString &name : kv::ReportFile().names())
        kvcli::printLine(name);
    return kvcli::kExitOk;
}

const kvcli::Registrar reg({"reports", "", "list the report definitions by name", &runReports});

} // namespace
