#pragma once
// The viewer's columns: which fields it shows, in which order, under which titles and
// how wide, as the catalogue settings describe them; and which fields edit in the
// viewer through a pick-list drop-down or a check box.
#include <QString>
#include <vector>

namespace kv {

struct Settings;
class Table;

struct ViewerColumn {
    int field = 0;      // field number 1 ... 40
    QString caption;    // column title
    int widthChars = 0; // display width in characters
    bool operator==(const ViewerColumn &) const = default;
};

// The shown columns, left to right. For each display position 1 ... 40 the first field
// (by number) whose viewer position is that value is placed at the next column, or
// field 1 when no field claims the position; placing a field that is already placed
// moves it. Shown fields that no position picks follow in field order.
std::vector<ViewerColumn> viewerColumns(const Settings &settings);

// Sets the table's display properties (visible, title, position, width) of the 40
// catalogue fields from viewerColumns(), with the table's display updates suspended.
// Hidden fields take the positions after the shown ones, in field order.
void applyViewerLayout(Table &table, const Settings &settings);

// The pick-list drop-down a field edits with in the viewer.
struct ViewerCombo {
    int field;          // field number
    int listNumber;     // pick list 1 ... 17
    const char *name;   // object name of the drop-down
};
// The drop-down of a field number, or nullptr when the field has none.
const ViewerCombo *viewerCombo(int field);
// Fields shown as a check box whose checked and unchecked values are these texts.
bool isViewerCheckBox(int field);
inline constexpr char kCheckedText[] = "Yes";
inline constexpr char kUncheckedText[] = "No";

} // namespace kv
