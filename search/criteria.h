#pragma once
// The criteria of a query search: what each of the 40 search rows holds, and the list of
// items that saving the rows' levels builds (SaveFields) and the record test reads.
#include <QString>
#include <array>
#include <vector>

namespace kv {

inline constexpr int kMaxSearchItems = 75;
inline constexpr int kMaxSearchLevels = 10;
// A text criterion is matched by its first 110 characters.
inline constexpr int kMaxCriterionText = 110;

// The comparison a numeric or date row makes.
enum class RowOperator { Equal = 1, Greater = 2, Less = 3, Range = 4 };

// Kinds 1 ... 3 compare a number or date; 5 ... 7 look for text.
enum class ItemKind { Equal = 1, Greater = 2, Less = 3, Contains = 5, AnyWord = 6, AnyStar = 7 };

struct SearchItem {
    QString text;       // upper-cased criterion of a text row; the typed text otherwise
    double number = 0;  // value of a numeric item
    double date = 0;    // day count of a date item (day 0 is 30 December 1899)
    int field = 0;      // field number 1 ... 40
    ItemKind kind = ItemKind::Equal;
    bool endOfLevel = false;
    bool isDate = false;
};
using CriteriaList = std::vector<SearchItem>;

// One row of the search grid: the criterion cell's text as the grid reads it back
// (numeric and date rows start with "=", ">" or "<"; a range holds "AND") and the
// row's operator.
struct SearchRow {
    QString text;
    RowOperator op = RowOperator::Equal;
};
using SearchRows = std::array<SearchRow, 40>; // index 0 is field 1

// How a numeric or date row is typed: "= 1995", "> 1990 AND < 1995".
enum class RowType { Text, Numeric, Date };
RowType rowType(int field);

// Whether a date box's text, trimmed, is empty or an untouched mask ("/  /", "-  -", ".  .").
bool blankDateText(const QString &text);

// The messages of saving and applying a level (all with an Ok button only).
inline constexpr char kInvalidCriteria[] = "Invalid search criteria entered.  Please correct.";
inline constexpr char kTooManyItems[] = "More than 75 search items have been entered.  This exceeds the maximum "
                                        "allowable.  Search criteria will be cleared.";
inline constexpr char kNoCriteria[] = "No search criteria entered.";
inline constexpr char kNoMatches[] = "No valid matches found.  Search Criteria will be cleared.";

struct SaveOutcome {
    enum Result { Saved, Invalid, TooMany, Empty } result = Saved;
    int row = 0; // the invalid row's field number
    // The message of a refusal ("Error" caption); empty when saved.
    QString message() const;
};

// Adds the items of one level, rows 1 ... 40 in order, to list and marks the last one as
// the end of the level. Invalid: the list is as it was before; too many: the list is
// emptied (the caller clears the rows); empty: nothing added.
SaveOutcome SaveFields(const SearchRows &rows, CriteriaList &list);

// The number of levels stored in a list.
int levelCount(const CriteriaList &list);

} // namespace kv
