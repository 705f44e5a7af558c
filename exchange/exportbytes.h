#pragma once
// Stored dates and prices straight from a record's bytes into an export's text, for the
// values whose text can be made from their bytes; anything else goes through the field's
// text as before, so the output is the same either way.
#include "base/dateformat.h"

#include <QByteArray>
#include <array>

namespace kv {

// The date box's layout (dd, mm and yyyy in the format's order) as bytes.
struct DateBytes {
    std::array<char, 3> order{}; // 'd', 'm' or 'y'
    char separator = '/';
    bool usable = false;         // false: a separator beyond ASCII, dates go through text
};
DateBytes dateBytesOf(const DateFormat &format);

// A stored date (yyyymmdd) as the date box shows it; false when the bytes are not a
// valid date, and nothing is appended.
bool appendStoredDate(QByteArray &out, const char *p, int width, const DateBytes &layout);

// A stored number with decimals as the field's text shows it (trailing zeros and a
// bare point dropped, the point written as decimalMark); empty for a blank field. False
// when the bytes are not a plain fixed-point number of that many decimals.
bool appendStoredDecimal(QByteArray &out, const char *p, int width, int decimals, char decimalMark);

} // namespace kv
