#pragma once
// Where a report run goes: the printer of the printer choice or a PDF file for a print,
// the preview's page stream for a view, nothing but the text file for a text run; and the
// paper its pages are laid out on.
#include "app/settings/settings.h"
#include "base/prompt.h"
#include "report_engine/pageoutput.h"
#include "report_engine/pagestream.h"
#include "reports/reportrun.h"

#include <QSizeF>
#include <memory>

namespace kv {

// Pages are laid out on the paper they will come out on: a PDF file's (pdfPaper, in
// inches), else the printer's. A print asks for the PDF file's name when the printer
// choice is one; nullptr when the user cancels that dialog.
std::unique_ptr<PageOutput> reportRunOutput(const Settings &settings, Prompt &prompt, OutputMode mode,
                                            QSizeF pdfPaper, PageStream &stream);

} // namespace kv
