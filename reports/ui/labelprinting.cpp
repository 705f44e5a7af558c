#include "reports/ui/labelprinting.h"

#include "report_engine/ui/printeroutput.h"

namespace kv {

bool printLabelSheet(const LabelSheet &sheet, const UserFont &font, const PrintRequest &request, QString *error)
{
    const QSizeF paper = labelPaperSize(sheet.stock);
    if (!request.pdfPath.isEmpty()) {
        PdfOutput output(request.pdfPath, paper);
        return printLabelSheet(sheet, font, output, error);
    }
    // The job asks for the stock's paper whatever paper the printer would choose.
    PrinterOutput output(request.printer, QString(), paper);
    output.setCopies(request.copies);
    return printLabelSheet(sheet, font, output, error);
}

} // namespace kv
