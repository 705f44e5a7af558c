#pragma once
// How an imported text becomes a catalogue field's value: by the kind of the field,
// with the forms that other programs write (ISO dates, grouped numbers, logicals).
#include "store/fieldtable.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kv {

class Table;

// A number as imported: plain digits with a full stop, or written with the regional
// decimal mark, or with thousands separators in groups of three (the regional ones, or
// "," with "." as the U.S. write them). Blank text is 0; nothing for anything else:
// "12,50" reads only where the comma is the decimal mark.
std::optional<double> readImportedNumber(const QString &text);

// A date as imported. Blank text: a null date. "yyyy-mm-dd", "yyyy/mm/dd" and
// "yyyymmdd" are read as such; other text holding the current date separator and no
// letter is read in the current date format. Nothing when such a text is no date;
// Other text (a month name, no separator) gives a null date: it is not stored.
std::optional<QDate> readImportedDate(const QString &text);

// "Yes" or "No" for the texts of a logical value (T, F, Y, N, True, False, Yes, No in any
// case, and the 1 and 0 that GDAL writes for one); nothing for other text.
std::optional<QString> yesNoOf(const QString &text);

// Stores text into field `column` of the record being appended, for catalogue field n:
// text as it is (the two Yes/No fields from a logical value), integers from their leading
// digits, reals and dates as read above. Throws DbError, saying what the value is not,
// for a date or real that does not read.
void storeImportedValue(Table &table, int column, int n, const QString &text);

} // namespace kv
