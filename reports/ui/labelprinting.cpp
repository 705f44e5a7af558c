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
    // The sheet is laid out once and printed from its page, which carries the stock's
    // paper to the printer whatever paper the printer would choose.
    PageStream stream;
    StreamOutput output(stream, paper);
    if (!printLabelSheet(sheet, font, output, error))
        return false;
    StreamPrinter printer;
    for (int copy = 0; copy < std::max(1, request.copies); ++copy) {
        if (!printer.print(stream, 1, 1, request.printer)) {
            if (error)
                *error = printer.errorString();
            return false;
        }
    }
    return true;
}

} // namespace kv
