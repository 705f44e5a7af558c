#pragma once
// The Oscar dialog's rules: the items of an Oscar award, nomination or miscellaneous
// text, picked from a program-wide list kept in alphabetical order, and joined back
// into one text with ", " in the list's order.
#include <QString>
#include <QStringList>
#include <vector>

namespace kv {

// Set by the "Select" button that opens the dialog.
enum class OscarMode { Awards = 1, Nominations = 2, Miscellaneous = 3 };

// "Oscar Awards", "Oscar Nominations", "Miscellaneous".
QString oscarCaption(OscarMode mode);
// The list offered: 14 (Oscar names) or 17 (miscellaneous).
int oscarListNumber(OscarMode mode);
// The edit window's box the result goes to: OscarAward, OscarNom or Miscellane.
int oscarTargetField(OscarMode mode);

// The longest text the dialog builds; what goes beyond is cut.
inline constexpr int kOscarTextLength = 255;

// The items of a text: what stands before the first comma, then the same again on the
// rest with its outer spaces removed, until nothing is left. Items of spaces only are
// passed over.
QStringList oscarItems(const QString &text);
// The row of the first entry exactly equal to item (case counts); -1 for none.
int FindMisc(const QStringList &entries, const QString &item);

// What the dialog shows: the entries in alphabetical order and which are selected.
struct OscarChoice {
    QStringList entries;
    std::vector<bool> selected;
};
// The mode's list as the dialog opens with it: the entries in alphabetical order, none
// selected; in mode 3 the items of targetText selected, each one not in the list added
// at its alphabetical place (the file is not changed).
OscarChoice oscarChoice(OscarMode mode, const QStringList &entries, const QString &targetText);
// The selected entries in list order, each followed by ", " in a text of at most 255
// characters, without the last two characters; empty when none is selected.
QString oscarResult(const OscarChoice &choice);

} // namespace kv
