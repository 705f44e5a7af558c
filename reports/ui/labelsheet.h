#pragma once
// A label run up to the page: the run's two refusals, the scan of the whole catalogue
// (a search that is on does not limit it and stays on), and the labels laid out
// on the stock. Printing, previewing or saving the sheet draws what this returns.
#include "app/workspace/workspace.h"
#include "reports/labelprint.h"

#include <optional>

namespace kv {

// The kind, stock, grid, items and label font of the workspace's settings. Nothing when
// the run is refused (the user was told why).
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock);
// The same with another way to measure text (the printer's, or a test's).
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock,
                                            const LabelTextWidth &textWidth);

} // namespace kv
