#pragma once
// Where a run or the preview prints: the printer of the printer choice, or a PDF file
// whose name is asked for when the choice is "PDF File".
#include "app/settings/settings.h"
#include "base/prompt.h"

#include <optional>

namespace kv {

struct PrintTarget {
    QString printer; // empty with a PDF file, or when there is no printer
    QString pdfPath; // not empty: write this PDF file instead of printing
};

inline constexpr char kSavePdfTitle[] = "Save As PDF";

// Nothing when the user cancels the file dialog.
std::optional<PrintTarget> choosePrintTarget(const Settings &settings, Prompt &prompt);

} // namespace kv
