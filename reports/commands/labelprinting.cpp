#include "reports/commands/labelprinting.h"

#include "report_engine/print/printeroutput.h"

namespace kv {

bool printLabelSheet(const LabelSheet &sheet, const UserFont &font, const PrintRequest &request, QString *error)
{
    // The job asks for the stock's paper whatever paper the printer would choose.
    const QSizeF paper = labelPaperSize(sheet.stock);
    PrinterOutput output(request.printer, request.pdfPath, paper);
    output.setCopies(request.copies);
    return printLabelSheet(sheet, font, output, error);
}

} // namespace kv
