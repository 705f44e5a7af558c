#pragma once
// The definition record read straight from its bytes at the offsets of the file format,
// without the program's reader, for checking what the writer put where.
#include <QByteArray>
#include <gtest/gtest.h>

namespace rawrec {

inline constexpr int kRecordSize = 20622;

// Offsets of the record.
inline constexpr int kName = 0, kLineWidth = 31, kFonts = 33, kFontSize = 61, kColumnHeaders = 338,
                     kPageNumbers = 339, kLandscape = 340, kDateOnPages = 341, kUseTotals = 342,
                     kLineCount = 343, kTotalsLine = 345, kTopMargin = 1845, kBottomMargin = 1853,
                     kLeftMargin = 1861, kRightMargin = 1869, kVerticalLines = 1877, kHorizontalLines = 1878,
                     kTitles = 1879, kTitleSize = 81, kBodyLines = 2122, kLineSize = 1500, kPartSize = 75,
                     kGroupLevel1 = 20122, kGroupLevel2 = 20123, kReserved = 20124;

// Font block of font k: 0 title, 1 column header, 2 body, 3 fifth, 4 footnote.
inline int fontOffset(int k) { return kFonts + k * kFontSize; }
// Part m (1-based) of body line n (1-based), or of the totals line with n = 0.
inline int partOffset(int n, int m)
{
    return (n == 0 ? kTotalsLine : kBodyLines + (n - 1) * kLineSize) + (m - 1) * kPartSize;
}

// The bytes of a length-prefixed string of at most maxLength bytes, as stored
// (code page 1252: tests spell other characters as bytes, "Caf\xE9").
QByteArray str(const QByteArray &rec, int offset, int maxLength);
int u8(const QByteArray &rec, int offset);
int i16(const QByteArray &rec, int offset);
quint32 u32(const QByteArray &rec, int offset);
double f64(const QByteArray &rec, int offset);

// The record number index of a file's bytes.
QByteArray record(const QByteArray &file, int index);

// A part as the tests describe it. number < 0: not checked (fillers and labels).
struct Part {
    QByteArray kind;
    int number;
    int width;
    QByteArray label;
};
Part filler(int width);
Part label(const char *text, int width);
Part field(const char *name, int number, int width);

// Checks part m of line n (0 = totals) against expected; where names the case.
void expectPart(const QByteArray &rec, int n, int m, const Part &expected, const std::string &where);
// Checks a whole line: the listed parts first, then what a new line holds in the
// remaining places (a filler of 150 in place 1 when nothing is listed, fillers of 0 after).
void expectLine(const QByteArray &rec, int n, const std::vector<Part> &listed, const std::string &where);

struct Font {
    const char *name;
    int size;
    bool bold, italic, underline, strikeout;
    quint32 color;
};
void expectFont(const QByteArray &rec, int k, const Font &expected, const std::string &where);

} // namespace rawrec
