#pragma once
// A label run up to the page: the run's two refusals, the scan of the whole catalogue
// (a search that is on is ended for it and started again after), and the labels laid out
// on the stock. Printing, previewing or saving the sheet draws what this returns.
#include "app/workspace/workspace.h"
#include "reports/labellayout.h"

#include <optional>

namespace kv {

struct LabelSheet {
    LabelKind kind = LabelKind::Face;
    LabelStock stock = LabelStock::Avery5199;
    TLabelStockRec geometry;
    QList<LabelPosition> positions; // 1 ... the stock's labels per page
    QList<LaidOutLabel> labels;     // the positions that found recordings
};

// The kind, stock, grid, items and label font of the workspace's settings. Nothing when
// the run is refused (the user was told why).
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock);
// The same with another way to measure text (the printer's, or a test's).
std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock,
                                            const LabelTextWidth &textWidth);

} // namespace kv
