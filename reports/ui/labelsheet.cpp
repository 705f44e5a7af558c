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
    sheet.geometry = labelGeometry(stock, kind, s.labelDimensions);
    sheet.positions = labelPositions(s, sheet.geometry.perPage);

    // Labels look at the whole catalogue.
    const bool searchWasOn = ws.search().isOn();
    ws.search().end();
    const bool scanned = ws.attempt([&] { collectLabelContents(ws.master(), sheet.positions); });
    if (searchWasOn) {
        ws.search().restart();
        ws.announceCount();
    }
    if (!scanned)
        return std::nullopt;
    sheet.labels = layoutLabels(kind, sheet.geometry, sheet.positions, s, textWidth);
    return sheet;
}

} // namespace kv
