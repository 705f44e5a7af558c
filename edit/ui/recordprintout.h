#pragma once
// The record printout: the record on screen as forty lines of caption and value, one
// page per copy, printed through the report engine's printer output.
#include "app/settings/settings.h"
#include "edit/recordform.h"
#include "report_engine/pageoutput.h"

#include <QStringList>

namespace kv {

inline constexpr char kPrintoutJobTitle[] = "Kestrova Videos 97";
inline constexpr char kOtherPrintJob[] = "Other print job currently in progress.";

// The forty lines: each the field's caption and ": " cut to 22 characters, then the
// box's text; the two check boxes as caption and ": Yes" or ": No", cut to 25 or 24.
QStringList recordPrintoutLines(const RecordForm &form, const Settings &settings);

// Draws copies pages of the lines on output: Arial 10 point at a left margin of a
// seventeenth of the page width and a top margin of a twenty-second of its height, a
// line 1.1 times the font's height apart. False with error when the output failed.
bool printRecordLines(const QStringList &lines, int copies, PageOutput &output, QString *error = nullptr);

} // namespace kv
