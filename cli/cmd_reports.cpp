// kestrova-cli reports: the report names, one per line, after the start-up preparation
// of the definitions file (built-in reports when missing, the previous version's file
// converted when present).
#include "commands.h"

#include "app/workspace/cataloguesession.h"
#include "app/workspace/workspace.h"
#include "base/paths.h"
#include "report_engine/print/printeroutput.h"
#include "reports/reportfile.h"
#include "reports/reportrun.h"
#include "reports/commands/labelprinting.h"
#include "reports/commands/labelsheet.h"
#include "search/criteria.h"
#include "search/criterionwords.h"

#include <QFileInfo>
#include <QRegularExpression>
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

// A run's output: --pdf OUT.PDF, --print [PRINTER] (a name only when the system knows
// it) and, where the command has one, --text OUT.TXT. Takes them from the front of args;
// an exit code on a usage error.
struct RunOutput {
    QString how;     // "--text", "--pdf" or "--print"
    QString target;  // the file of --text and --pdf
    QString printer; // empty: the default one
};
std::optional<int> takeOutput(const char *command, QStringList &args, bool withText, RunOutput &out)
{
    out.how = args.takeFirst();
    if ((withText && out.how == QLatin1String("--text")) || out.how == QLatin1String("--pdf")) {
        if (args.isEmpty())
            return kvcli::usageError(command, QStringLiteral("%1 needs a file name.").arg(out.how));
        out.target = args.takeFirst();
    } else if (out.how == QLatin1String("--print")) {
        // A word that is no criterion and no option names the printer; one the system
        // does not know is refused rather than read as a criterion.
        static const QRegularExpression criterion(QStringLiteral("[=<>]"));
        if (!args.isEmpty() && !args.first().startsWith(QLatin1String("--")) && !args.first().contains(criterion)) {
            out.printer = args.takeFirst();
            if (!kv::printerNames().contains(out.printer))
                return kvcli::usageError(command, QStringLiteral("There is no printer \"%1\".").arg(out.printer));
        }
    } else {
        return kvcli::usageError(command, QStringLiteral("Unknown output \"%1\".").arg(out.how));
    }
    return std::nullopt;
}

// The catalogue opened as the program opens it at start: the program settings read, the
// table checked and opened in its sort order with its own settings. False when refused
// (the message has been written).
bool openCatalogue(const QString &path, kv::Workspace &ws)
{
    if (!QFileInfo(path).isFile()) {
        kvcli::printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
        return false;
    }
    kv::Settings &settings = ws.settings();
    kv::readSettings(kv::programSettingsPath(), kv::SettingsScope::Program, settings);
    kv::CatalogueSession catalogues(ws);
    if (!catalogues.checkDBaseFormat(path))
        return false;
    settings.lastDatabase = path;
    return catalogues.openAtStartup() && ws.master().isOpen();
}

// kestrova-cli report: one report definition run on a catalogue in its sort order, to a
// text file, a PDF file or a printer, as the Reports window runs it.
int runReport(const QStringList &args)
{
    if (args.size() < 3)
        return kvcli::usageError("report");
    const QString path = args[0], name = args[1];
    QStringList rest = args.mid(2);
    RunOutput out;
    if (const std::optional<int> usage = takeOutput("report", rest, true, out))
        return *usage;
    const kv::OutputMode mode = out.how == QLatin1String("--text") ? kv::OutputMode::TextFile : kv::OutputMode::Print;
    const QString &target = out.target;
    // As the program starts: definitions prepared, the catalogue opened in its sort order.
    QString error;
    if (!kv::prepareReportFile(kv::programDir(), &error)) {
        kvcli::printError(error);
        return kvcli::kExitRefused;
    }
    kvcli::StderrPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    if (!openCatalogue(path, ws))
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
    else if (out.how == QLatin1String("--pdf"))
        output = std::make_unique<kv::PdfOutput>(target);
    else
        output = std::make_unique<kv::PrinterOutput>(out.printer);
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
                                  &runReport, true,
                                  {{"--text", "OUT.TXT", "Write the report as a text file."},
                                   {"--pdf", "OUT.PDF", "Write the report as a PDF file."},
                                   {"--print", "[PRINTER]", "Print the report on the printer, or the default one."},
                                   {"--or", "", "Start the next level of criteria."}}});

// kestrova-cli labels: one sheet of face or spine labels, as the Reports window prints
// it, with the items and font of the settings.
int runLabels(const QStringList &args)
{
    if (args.size() < 2)
        return kvcli::usageError("labels");
    const QString path = args[0];
    if (args[1] != QLatin1String("face") && args[1] != QLatin1String("spine"))
        return kvcli::usageError("labels", QStringLiteral("Unknown label kind \"%1\".").arg(args[1]));
    const kv::LabelKind kind = args[1] == QLatin1String("face") ? kv::LabelKind::Face : kv::LabelKind::Spine;
    std::optional<kv::LabelStock> stock;
    std::optional<QStringList> media;
    std::optional<RunOutput> out;
    for (QStringList rest = args.mid(2); !rest.isEmpty();) {
        const QString option = rest.first();
        if (option == QLatin1String("--stock") || option == QLatin1String("--media")) {
            rest.removeFirst();
            if (rest.isEmpty())
                return kvcli::usageError("labels", QStringLiteral("%1 needs a value.").arg(option));
            const QString value = rest.takeFirst();
            bool number = false;
            const int n = value.toInt(&number);
            if (option == QLatin1String("--media"))
                media = value.split(QLatin1Char(','));
            else if (number && n >= 1 && n <= kv::kLabelStockCount)
                stock = kv::LabelStock(n);
            else
                return kvcli::usageError("labels", QStringLiteral("--stock takes a number from 1 to 5."));
            if (media && media->size() > kv::kMaxLabelPositions)
                return kvcli::usageError("labels", QStringLiteral("A sheet has at most 16 positions."));
        } else if (option.startsWith(QLatin1String("--")) && !out) {
            out.emplace();
            if (const std::optional<int> usage = takeOutput("labels", rest, false, *out))
                return *usage;
        } else {
            return kvcli::usageError("labels", QStringLiteral("Unexpected argument \"%1\".").arg(option));
        }
    }
    if (!out)
        return kvcli::usageError("labels", QStringLiteral("Name an output: --pdf or --print."));

    kvcli::StderrPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    if (!openCatalogue(path, ws))
        return kvcli::kExitRefused;
    const kv::LabelStock onStock = stock.value_or(kv::labelStockOf(settings.labelSize));
    if (media) {
        for (int i = 1; i <= kv::kMaxLabelPositions; ++i) {
            const auto [column, row] = kv::positionCell(i);
            settings.labelItems[size_t(column)][size_t(row)] =
                i <= media->size() ? media->at(i - 1).left(kv::kLabelItemLength) : QString();
        }
    }
    kv::reshapeGrid(settings, kind, onStock);
    const std::optional<kv::LabelSheet> sheet = kv::prepareLabelSheet(ws, kind, onStock);
    if (!sheet)
        return kvcli::kExitRefused;
    kv::PrintRequest request;
    if (out->how == QLatin1String("--pdf"))
        request.pdfPath = out->target;
    else
        request.printer = out->printer;
    QString error;
    if (!kv::printLabelSheet(*sheet, settings.font(kv::FontRole::ReportLabel), request, &error)) {
        kvcli::printError(error);
        return kvcli::kExitRefused;
    }
    return kvcli::kExitOk;
}

const kvcli::Registrar regLabels({"labels",
                                  "FILE.DBF face|spine [--stock N] [--media M1,M2,...] "
                                  "(--pdf OUT.PDF | --print [PRINTER])",
                                  "prints one sheet of face or spine labels on label stock N (1 Avery 5199, "
                                  "2 Avery L7654, 3 Prof. Labels, 4 Z-Label, 5 user defined) for the media numbers "
                                  "of positions 1, 2, ... (the grid of the settings when not given), to a PDF file "
                                  "or a printer",
                                  &runLabels, true,
                                  {{"--stock", "N", "The label stock, 1 to 5."},
                                   {"--media", "M1,M2,...", "The media numbers of the positions, from the first."},
                                   {"--pdf", "OUT.PDF", "Write the sheet as a PDF file."},
                                   {"--print", "[PRINTER]", "Print the sheet on the printer, or the default one."}}});

} // namespace
