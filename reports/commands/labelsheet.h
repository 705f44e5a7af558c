#pragma once
// A label run up to the page: the run's two refusals, the scan of the whole catalogue
// (a search that is on does not limit it and stays on), and the labels laid out
// on the stock. Printing, previewing or saving the sheet draws what this returns.
#include "app/workspace/workspace.h"
#include "reports/labelprint.h"

#include <optional>

namespace kv {

// The run's refusals and the sheet's positions, from the settings: what comes before the
// status window. Nothing when the run is refused (the user was told why).
std::optional<LabelSheet> startLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock);
// The scan and the layout of a started sheet, as the run does them; keepGoing as for the
// scan. False when stopped, or when the catalogue could not be read (the user was told).
bool fillLabelSheet(Workspace &ws, LabelSheet &sheet, const LabelTextWidth &textWidth,
                    const std::function<bool()> &keepGoing = {});

// Both at once, with the label font's measures. Nothing when refused or not filled.
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock);
// The same with another way to measure text (the printer's, or a test's).
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock,
                                            const LabelTextWidth &textWidth);

} // namespace kv
