#pragma once
// Face and spine labels laid out as data: for each label its rectangle on the sheet and
// its lines, each line a font size, a top and its tab stops with the text fitted (condensed,
// and cut when that is not enough; numbers are never cut).
// Printing sets each line's font and stops and prints the texts; all in inches from the
// page's top-left corner.
#include "app/settings/settings.h"
#include "reports/labelscan.h"
#include "reports/labelstock.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <functional>

namespace kv {

// As the report engine numbers them.
enum class StopJustify { Centre = 0, Left = 1, Right = 2 };
// Each stop keeps this much room free on either side (inches).
inline constexpr double kLabelStopMargin = 0.02;

struct LabelStop {
    double x = 0;
    double width = 0;
    StopJustify justify = StopJustify::Left;
    QString text;       // already cut to fit the stop's usable width condensed
    double scale = 1;   // horizontal scale that makes it fit
    bool whole = false; // a number: condensed as far as it needs, never cut
    bool operator==(const LabelStop &) const = default;
};

// A line that puts text on the label; empty lines only move the lines below them down.
struct LabelLine {
    double top = 0;
    double pointSize = 0;
    QList<LabelStop> stops; // the stops of the items that are on
};

struct LaidOutLabel {
    int position = 0; // 1 ... 16
    QRectF rect;      // the label on the sheet
    QList<LabelLine> lines;
};

// Width in inches of a text in the label font at a point size.
using LabelTextWidth = std::function<double(const QString &text, double pointSize)>;
LabelTextWidth labelTextWidth(const QFont &labelFont);

// A line's height at a point size: 120 percent of the size.
inline double labelLineHeight(double pointSize) { return pointSize / 60.0; }

// The labels of a sheet: each position that holds at least one recording, laid out for
// the kind on the stock's geometry with the items of the settings that are on.
QList<LaidOutLabel> layoutLabels(LabelKind kind, const TLabelStockRec &stock, const QList<LabelPosition> &positions,
                                 const Settings &items, const LabelTextWidth &textWidth);

} // namespace kv
