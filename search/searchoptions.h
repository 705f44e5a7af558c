#pragma once
// What the Search Options dialog offers for a search row: the operators of a numeric or
// date row, or the values a pick-list row is usually given.
#include "edit/picklists.h"
#include "search/criteria.h"

#include <QStringList>

namespace kv {

// The operator texts, in the order of RowOperator 1 ... 4.
inline constexpr const char *kOperatorTexts[] = {" = ", " > ", " < ", " > X < "};

// Whether a row has the options button: numeric and date rows, pick-list rows.
bool hasSearchOptions(int field);

// The dialog's list for a row: the operator texts; the edit window's drop-down list of
// the field; the entries of MISC.LST or OSCAR.LST in the program's folder (blank lines
// left out, a file that cannot be read giving none); "YES" and "NO" for the yes-or-no
// fields.
QStringList searchOptionItems(int field, const PickLists &lists);

} // namespace kv
