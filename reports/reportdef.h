#pragma once
// One report definition: what a record prints as (up to 12 body lines of up to 20
// parts), titles, fonts, margins, page options, grouping and the totals line. On disk
// it is a fixed record of 20,622 little-endian bytes, read and written field by field.
#include <QByteArray>
#include <QColor>
#include <QString>
#include <array>

namespace kv {

inline constexpr int kReportDefSize = 20622;
inline constexpr int kPartsPerLine = 20;
inline constexpr int kMaxBodyLines = 12;
inline constexpr int kReportNameLength = 30;
inline constexpr int kTitleLength = 80;
inline constexpr int kFontNameLength = 50;
inline constexpr int kPartKindLength = 30;
inline constexpr int kLabelTextLength = 40;

// What the editors can give a definition: the line widths, the font sizes that the font
// dialog offers, the margins that the definition window takes, and a part's width,
// which re-fitting holds to the line width. Values outside them mark a damaged record.
inline constexpr int kLineWidths[] = {90, 120, 150};
inline constexpr int kMaxLineWidth = 150;
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 512;
inline constexpr double kMaxMargin = 10.0; // inches

// The kinds of a part that are not a field.
inline constexpr char kFillerKind[] = "<FILLER>";
inline constexpr char kLabelKind[] = "<LABEL>";

// The totals line names its sums by number 1 ... 3 in this list.
inline constexpr int kTotalsEntryCount = 3;
QString totalsEntryName(int number); // "Quantity", "List Price", "Purchase Price"
// Number 1 ... 3 of a totals entry, compared without regard to case; 0 when none.
int totalsEntryNumber(const QString &name);

struct TFontRec {
    QString name; // at most 50 characters
    qint16 size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    quint32 color = 0; // platform RGB value: red in the low byte, blue in the high byte

    bool operator==(const TFontRec &) const = default;
};

QColor colorFromRgbValue(quint32 value);
quint32 rgbValueFromColor(const QColor &color);

// The cell of a line. A width of 0 or less ends the line's used parts.
struct TPartRec {
    QString kind;        // kFillerKind, kLabelKind, or a field's dBASE name (a totals entry's name on the totals line)
    quint8 fieldNumber = 0; // field table number for a body part, totals entry number for a totals part
    qint16 width = 0;
    QString labelText;   // labels only, at most 40 characters

    bool isFiller() const { return kind == QLatin1String(kFillerKind); }
    bool isLabel() const { return kind == QLatin1String(kLabelKind); }
    bool operator==(const TPartRec &) const = default;
};

using TLineRec = std::array<TPartRec, kPartsPerLine>;

// The line every new body and totals line starts as: a filler of width 150 followed by
// fillers of width 0, whatever the report's line width.
TLineRec newLine();

struct TReportDefRec {
    QString name;          // at most 30 characters
    qint16 lineWidth = 90; // characters: 90, 120 or 150
    TFontRec titleFont;
    TFontRec columnHeaderFont;
    TFontRec bodyFont;
    TFontRec fifthFont;    // kept for the record's sake; never edited or used
    TFontRec footnoteFont;
    bool columnHeaders = false;
    bool pageNumbers = false;
    bool landscape = false;
    bool dateOnPages = false;
    bool useTotals = false;
    qint16 lineCount = 0;  // body lines in use, 0 ... 12
    TLineRec totalsLine;
    double topMargin = 0;  // inches
    double bottomMargin = 0;
    double leftMargin = 0;
    double rightMargin = 0;
    bool verticalLines = false;
    bool horizontalLines = false;
    std::array<QString, 3> titles; // at most 80 characters each
    std::array<TLineRec, kMaxBodyLines> bodyLines;
    bool groupLevel1 = false;
    bool groupLevel2 = false;

    bool operator==(const TReportDefRec &) const = default;
};

// The values of a new definition, as New Report starts it and the built-in reports
// build on: Courier New 10 point (title, column header and footnote bold), 90
// characters, one body line, margins 0.5, every line a new line.
TReportDefRec newReportDef();

// The record's bytes; the reserved tail is zero. Text is code page 1252, cut to its
// field's length.
QByteArray reportDefToBytes(const TReportDefRec &def);
// bytes must hold at least kReportDefSize bytes (asserted).
TReportDefRec reportDefFromBytes(const QByteArray &bytes);

// What makes a record's bytes unusable, in a few words naming the value ("body font
// size 0", "line 3, part 2 width 900"); empty when every value read is one that the
// editors can give. The fifth font and the parts after a line's first unused one are
// never read and not checked.
QString reportDefDamage(const QByteArray &bytes);
// A report's damage, told the user: "The report definition "NAME" in QVRVID.URP is
// damaged (WHAT) and cannot be used."
QString damagedReportMessage(const QString &name, const QString &damage);

// A part as 75 bytes; shared with the previous version's file, whose parts have the
// same shape.
inline constexpr int kPartSize = 75;
TPartRec partFromBytes(const char *data);

} // namespace kv
