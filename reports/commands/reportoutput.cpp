#include "reports/commands/reportoutput.h"

#include "report_engine/print/printeroutput.h"
#include "reports/commands/printtarget.h"

namespace kv {

std::unique_ptr<PageOutput> reportRunOutput(const Settings &s, Prompt &prompt, OutputMode mode, QSizeF pdfPaper,
                                            PageStream &stream)
{
    std::optional<PrintTarget> target = PrintTarget{choosePrinter(s.defaultPrinter, s.printerIndex), QString()};
    if (mode == OutputMode::Print && !(target = choosePrintTarget(s, prompt)))
        return nullptr;
    const QString printer = target->printer;
    const bool toPdf = mode == OutputMode::Print ? !target->pdfPath.isEmpty() : s.printToPdf || printer.isEmpty();
    const QSizeF paper = toPdf ? pdfPaper : printerPaper(printer);
    if (mode == OutputMode::Print)
        return std::make_unique<PrinterOutput>(printer, target->pdfPath, toPdf ? pdfPaper : QSizeF());
    if (mode == OutputMode::View)
        return std::make_unique<StreamOutput>(stream, paper);
    return std::make_unique<DiscardOutput>(paper);
}

} // namespace kv
