#pragma once
// Locate: moving the master table to the next record whose value in one field matches a
// typed value, in the active order and through the search filter. The remembered field,
// value and options live in the workspace for the whole run.
#include "base/prompt.h"
#include "store/table.h"

#include <QStringList>
#include <functional>

namespace kv {

enum class LocateMatch { Exact = 0, PartialAtStart = 1, PartialAnywhere = 2 };

struct LocateOptions {
    QString caption = QStringLiteral("Locate Field Value");
    LocateMatch match = LocateMatch::PartialAtStart;
    bool caseSensitive = false;
    bool sortFields = true;     // the field titles in alphabetical order
    bool nextIsDefault = true;  // "&Next" is the dialog's default button (else "Fi&rst")
    bool visibleFieldsOnly = false;
    bool showMessages = true;   // Locate Next tells a failure
    QString fieldName;          // of the last locate
    QString searchValue;        // of the last locate, at most 255 characters
};

inline constexpr int kMaxLocateValue = 255;
inline constexpr char kNoLocateMatch[] = "No matches found";
inline constexpr char kNoMoreLocateMatches[] = "No more matches found";
inline constexpr char kNoActiveDataSet[] = "DataSource does not reference an active DataSet";
inline constexpr char kNoActiveTable[] = "DataSource does not refer to an active table!";
inline constexpr char kLocateNoticeCaption[] = "Notice";

// A field as the Locate dialog lists it: its title in the viewer when the viewer shows
// it, else its name; without "~".
QString locateTitle(const Table &table, int field);
// The titles of the table's fields, sorted when options.sortFields.
QStringList locateTitles(const Table &table, const LocateOptions &options);
// The field name of a title; empty when no field has it.
QString locateFieldOf(const Table &table, const QString &title);

// Makes the first matching record current, from the first record or from the one after
// the current; false (and the current record kept) when none matches. Text is compared
// as the viewer shows it, upper-cased unless case counts; an empty value never matches
// in part; a number field in exact match compares a value that reads as a number as a
// number.
bool locateRecord(Table &table, const LocateOptions &options, bool fromStart);

// Locate Next: from the record after the current one with the remembered values; with
// nothing remembered yet, execute (the dialog) instead. Failures are told through prompt
// as the program words them.
bool findNext(Table &table, LocateOptions &options, Prompt &prompt, const std::function<bool()> &execute);

} // namespace kv
