#include "reports/commands/printtarget.h"

#include "report_engine/print/printeroutput.h"

namespace kv {

std::optional<PrintTarget> choosePrintTarget(const Settings &settings, Prompt &prompt)
{
    if (!settings.printToPdf)
        return PrintTarget{choosePrinter(settings.defaultPrinter, settings.printerIndex), QString()};
    FileDialogSpec spec;
    spec.title = QString::fromLatin1(kSavePdfTitle);
    spec.filter = QStringLiteral("PDF Files (*.PDF)|*.PDF");
    spec.defaultExtension = QStringLiteral("PDF");
    spec.confirmOverwrite = true;
    const QString path = prompt.saveFileName(spec);
    if (path.isEmpty())
        return std::nullopt;
    return PrintTarget{QString(), path};
}

} // namespace kv
