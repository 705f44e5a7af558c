// kestrova-cli reports: the report names, one per line, after the start-up preparation
// of the definitions file (built-in reports when missing, the previous version's file
// converted when present).
#include "commands.h"

#include "app/workspace/cataloguesession.h"
#include "app/workspace/workspace.h"
#include "base/paths.h"
#include "report_engine/ui/printeroutput.h"
#include "reports/reportfile.h"
#include "reports/reportrun.h"
#include "search/criteria.h"
#include "search/criterionwords.h"

#include <QFileInfo>
#include <memory>

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

// kestrova-cli report: one report definition run on a catalogue in its sort order, to a
// text file, a PDF file or a printer, as the Reports window runs it.
int runReport(const QStringList &args)
{
    if (args.size() < 3)
        return kvcli::usageError("report");
    const QString path = args[0], name = args[1], how = args[2];
    QStringList rest = args.mid(3);
    kv::OutputMode mode = kv::OutputMode::Print;
    QString target, printer;
    if (how == QLatin1String("--text") || how == QLatin1String("--pdf")) {
        if (rest.isEmpty())
            return kvcli::usageError("report", QStringLiteral("%1 needs a file name.").arg(how));
        mode = how == QLatin1String("--text") ? kv::OutputMode::TextFile : kv::OutputMode::Print;
        target = rest.takeFirst();
    } else if (how == QLatin1String("--print")) {
        if (!rest.isEmpty() && kv::printerNames().contains(rest.first()))
            printer = rest.takeFirst();
    } else {
        return kvcli::usageError("report", QStringLiteral("Unknown output \"%1\".").arg(how));
    }
    if (!QFileInfo(path).isFile()) {
        kvcli::printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
        return kvcli::kExitRefused;
    }
    // As the program starts: definitions prepared, the catalogue opened in its sort order.
    QString error;
    if (!kv::prepareReportFile(kv::programDir(), &error)) {
        kvcli::printError(error);
        return kvcli::kExitRefused;
    }
    kvcli::StderrPrompt prompt;
    kv::Settings settings;
    kv::readSettings(kv::programSettingsPath(), kv::SettingsScope::Program, settings);
    kv::Workspace ws(settings, prompt);
    kv::CatalogueSession catalogues(ws);
    if (!catalogues.checkDBaseFormat(path))
        return kvcli::kExitRefused;
    settings.lastDatabase = path;
    if (!catalogues.openAtStartup() || !ws.master().isOpen())
        return kvcli::kExitRefused;

    // Criteria print the records they pass, as "Search Criteria" does.
    if (!rest.isEmpty()) {
        const kv::CriterionParse parse = kv::parseCriterionWords(rest, ws.master());
        if (parse.usage)
            return kvcli::usageError("report", parse.error);
        if (!parse.error.isEmpty()) {
            kvcli::printError(parse.error);
            return kvcli::kExitRefused;
        }
        ws.search().start(parse.filter);
        if (ws.master().recordCount() == 0) {
            kvcli::printError(QString::fromLatin1(kv::kNoMatches));
            return kvcli::kExitRefused;
        }
    }
    const kv::ReportFile file;
    const std::optional<kv::TReportDefRec> def = kv::readReportForRun(file, file.names().indexOf(name), prompt);
    if (!def)
        return kvcli::kExitRefused;
    std::unique_ptr<kv::PageOutput> output;
    if (mode == kv::OutputMode::TextFile)
        output = std::make_unique<kv::DiscardOutput>();
    else if (how == QLatin1String("--pdf"))
        output = std::make_unique<kv::PdfOutput>(target);
    else
        output = std::make_unique<kv::PrinterOutput>(printer);
    kv::ReportRunSetup setup = kv::reportRunSetup(*def, mode, settings);
    setup.textPath = target;
    kv::ReportEngine engine(*output);
    bool ok = false;
    if (!ws.attempt([&] {
            kv::ReportRun run(ws.master(), setup, engine);
            ok = run.run();
            if (!ok)
                kvcli::printError(run.errorString());
        }))
        return kvcli::kExitRefused;
    return ok ? kvcli::kExitOk : kvcli::kExitRefused;
}

const kvcli::Registrar regReport({"report",
                                  "FILE.DBF NAME (--text OUT.TXT | --pdf OUT.PDF | --print [PRINTER]) "
                                  "[CRITERION ... [--or CRITERION ...]]",
                                  "runs the report definition NAME on the catalogue in its sort order, to a text "
                                  "file, a PDF file or a printer (the default one when none is named)",
                                  &runReport, true});

} // namespace
