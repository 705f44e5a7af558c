#pragma once
// A label sheet sent where the print dialog says: a printer, or a PDF file instead, on
// the paper of the sheet's stock.
#include "base/prompt.h"
#include "reports/labelprint.h"

namespace kv {

// False with the printer's or the file's message in error.
bool printLabelSheet(const LabelSheet &sheet, const UserFont &font, const PrintRequest &request,
                     QString *error = nullptr);

} // namespace kv
