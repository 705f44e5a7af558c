#pragma once
// The shape of a definition's lines as the editors see them: re-fitting a line to the
// report's width, and where each part of a line lies when the layout editor draws it to
// scale.
#include "reports/reportdef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kv {

// Number of the line that stands for the totals line wherever a body line number 1 ... 12
// is expected.
inline constexpr int kTotalsLineNumber = 100;

// Parts in use: those before the first part whose width is 0 or less.
int usedPartCount(const TLineRec &line);

// Makes the line add up to exactly width: walking from part 1, a part of width 0 (or less)
// takes the whole width, and the widths are added until they reach width or part 20; the
// last part counted is shortened or lengthened by the difference and every later part
// gets width 0.
void refitLine(TLineRec &line, int width);

// Cuts text from its end until measure says it fits into room.
QString cutToWidth(const QString &text, double room, const std::function<double(const QString &)> &measure);

// One used part as the layout editor draws it.
enum class PartLook { Field, Label, Filler };
struct PartBox {
    int part = 0; // 1 ... 20
    double left = 0;
    double right = 0;
    PartLook look = PartLook::Filler;
    QString text; // a field's caption, a label's text, "Filler"
};

// The used parts of line laid side by side between left and right: each box ends at left
// plus its running width sum scaled over lineWidth (never past right), the last one at
// right. captions: the 40 field captions (field number n at n - 1); a totals line names
// its entries instead.
QList<PartBox> partBoxes(const TLineRec &line, int lineWidth, double left, double right, const QStringList &captions,
                         bool totalsLine);

// The strips of the layout editor, in window units at the normal screen size times
// factor: body line n from 75 + 20 (n - 1) to 75 + 20 n, the totals line from 355 to 375
// while totals are used; every strip runs from x = 4 to x = 629.
struct LayoutStrip {
    int line = 0; // 1 ... 12, or kTotalsLineNumber
    double top = 0;
    double bottom = 0;
};
struct LayoutArea {
    double left = 0;
    double right = 0;
    QList<LayoutStrip> strips;
};
LayoutArea layoutArea(int lineCount, bool useTotals, double factor);

// The line and part under a point of the area, if any.
struct PartRef {
    int line = 0;
    int part = 0;
    bool operator==(const PartRef &) const = default;
};
std::optional<PartRef> partAt(const TReportDefRec &def, const LayoutArea &area, double x, double y);

const TLineRec &lineOf(const TReportDefRec &def, int line);
TLineRec &lineOf(TReportDefRec &def, int line);

} // namespace kv
