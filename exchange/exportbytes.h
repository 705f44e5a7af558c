#pragma once
// Stored dates and prices straight from a record's bytes into an export's text, for the
// values whose text can be made from their bytes; anything else goes through the field's
// text as before, so the output is the same either way.
#include "base/dateformat.h"

#include <QByteArray>
#include <array>

namespace kv {

// A date layout as bytes: day, month and year in the format's order.
struct DateBytes {
    std::array<char, 3> order{}; // 'd', 'm' or 'y'
    std::array<bool, 3> padded{true, true, true}; // a day or month below 10 with its zero
    bool fullYear = true;        // four digits, else the last two
    char separator = '/';
    bool usable = false;         // false: a separator beyond ASCII, dates go through text
};
// The date box's layout: dd, mm and yyyy.
DateBytes dateBytesOf(const DateFormat &format);
// The layout of formatDate() in the format, which pads and shortens as its pattern says.
DateBytes fieldDateBytesOf(const DateFormat &format);

// A stored date (yyyymmdd) as the date box shows it; false when the bytes are not a
// valid date, and nothing is appended.
bool appendStoredDate(QByteArray &out, const char *p, int width, const DateBytes &layout);

// A stored number with decimals as the field's text shows it (trailing zeros and a
// bare point dropped, the point written as decimalMark); empty for a blank field. False
// when the bytes are not a plain fixed-point number of that many decimals.
bool appendStoredDecimal(QByteArray &out, const char *p, int width, int decimals, char decimalMark);

} // namespace kv
