#include "reports/ui/labelsheet.h"

namespace kv {

std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock)
{
    return prepareLabelSheet(ws, kind, stock,
                             labelTextWidth(labelPageFont(ws.settings().font(FontRole::ReportLabel)).font()));
}

std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock,
                                            const LabelTextWidth &textWidth)
{
    const Settings &s = ws.settings();
    if (!labelRunAllowed(s, kind, stock, ws.prompt()))
        return std::nullopt;
    LabelSheet sheet;
    sheet.kind = kind;
    sheet.stock = stock;
    sheet.title = labelSheetTitle(kind, ws.master().filePath());
    sheet.geometry = labelGeometry(stock, kind, s.labelDimensions);
    sheet.positions = labelPositions(s, sheet.geometry.perPage);

    // The scan looks at the whole catalogue in its order; a search that is on stays on,
    // as if it had been ended for the scan and started again.
    if (!ws.attempt([&] { collectLabelContents(ws.master(), sheet.positions); }))
        return std::nullopt;
    sheet.labels = layoutLabels(kind, sheet.geometry, sheet.positions, s, textWidth);
    return sheet;
}

} // namespace kv
