#pragma once
// Label stock: the kinds of label, the five stocks and their geometry, the media-number
// grid's shape for a kind and stock, and the items a label can show. The grid, kind,
// stock, items and the user-defined geometry live in the settings record.
#include "app/settings/settings.h"

#include <QPageSize>
#include <QString>
#include <optional>

namespace kv {

enum class LabelKind { Face, Spine };
// "What To Print" 3 and 4; nothing for the report choices.
std::optional<LabelKind> labelKindOf(int whatToPrint);
int whatToPrintOf(LabelKind kind);

// "Label Size" 1 ... 5.
enum class LabelStock { Avery5199 = 1, AveryL7654 = 2, ProLabel = 3, ZLabel = 4, UserLabel = 5 };
inline constexpr int kLabelStockCount = 5;
// A stored number outside 1 ... 5 reads as Avery 5199.
LabelStock labelStockOf(int labelSize);
// "Avery 5199 (USA)", ..., "Prof. Labels W3116" (face) or "Prof. Labels W534" (spine), ...
QString labelStockName(LabelStock stock, LabelKind kind);

// At most this many labels on a sheet: the grid's cells.
inline constexpr int kMaxLabelPositions = kLabelItemColumns * kLabelItemRows;

// Geometry in inches; gap: between the two columns for face labels, between labels for
// spine labels.
struct TLabelStockRec {
    double top = 0;
    double left = 0;
    double width = 0;
    double height = 0;
    double gap = 0;
    int perPage = 0;
    bool operator==(const TLabelStockRec &) const = default;
};

// The built-in geometry, or for the user-defined stock the settings of the kind with its
// count held to 1 ... 16.
TLabelStockRec labelGeometry(LabelStock stock, LabelKind kind, const LabelDimensions &user);

// The paper a stock comes on: A4 for the European stock, Letter for the others.
QPageSize::PageSizeId labelPaper(LabelStock stock);

// How the grid shows for a kind and stock: rows shown (both columns), the label
// positions, and the cell that reads "*NOT USED*" (column, row from 0), if any.
inline constexpr char kNotUsed[] = "*NOT USED*";
struct GridShape {
    int rows = 0;
    int positions = 0;
    std::optional<std::pair<int, int>> notUsed;
};
GridShape gridShape(LabelKind kind, LabelStock stock);
// The cell of label position 1 ... 16: column (i - 1) mod 2, row (i - 1) div 2.
std::pair<int, int> positionCell(int position);

// Re-shapes the stored grid for a kind and stock: writes "*NOT USED*" into the cell that
// takes it and clears one left by another shape in the other cell that can take it.
void reshapeGrid(Settings &s, LabelKind kind, LabelStock stock);

// The eight items a label can show, in the order of the options dialog.
struct LabelItem {
    int field;               // field number; its caption names the item
    bool Settings::*flag;
};
inline constexpr int kLabelItemCount = 8;
const std::array<LabelItem, kLabelItemCount> &labelItems();
bool anyLabelItem(const Settings &s);

// The label font's caption in the options dialog: "10pt Arial". The font dialog offers
// this one size only; each label line takes its own size when printed.
inline constexpr int kLabelFontSize = 10;
QString labelFontCaption(const UserFont &font);

} // namespace kv
