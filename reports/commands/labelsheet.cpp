#include "reports/commands/labelsheet.h"

namespace kv {

std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock)
{
    return prepareLabelSheet(ws, kind, stock,
                             labelTextWidth(labelPageFont(ws.settings().font(FontRole::ReportLabel)).font()));
}

std::optional<LabelSheet> prepareLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock,
                                            const LabelTextWidth &textWidth)
{
    std::optional<LabelSheet> sheet = startLabelSheet(ws, kind, stock);
    if (!sheet || !fillLabelSheet(ws, *sheet, textWidth))
        return std::nullopt;
    return sheet;
}

std::optional<LabelSheet> startLabelSheet(Workspace &ws, LabelKind kind, LabelStock stock)
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
    return sheet;
}

bool fillLabelSheet(Workspace &ws, LabelSheet &sheet, const LabelTextWidth &textWidth,
                    const std::function<bool()> &keepGoing)
{
    // The scan looks at the whole catalogue in its order; a search that is on stays on,
    // as if it had been ended for the scan and started again.
    bool scanned = false;
    if (!ws.attempt([&] { scanned = collectLabelContents(ws.master(), sheet.positions, keepGoing); }) || !scanned)
        return false;
    sheet.labels = layoutLabels(sheet.kind, sheet.geometry, sheet.positions, ws.settings(), textWidth);
    return true;
}

} // namespace kv
