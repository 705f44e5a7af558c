#pragma once
// The alphabetical order of pick-list entries, for the list editor's Sort and the Oscar
// dialog's list: letters compared without regard to case, an accented letter with its
// base letter ("Édith", "Eve", "Zoë"), whatever the user's locale. It is the order of
// the catalogue's index keys, so a sorted list reads like the viewer sorted by that field.
#include <QString>
#include <QStringList>

namespace kv {

// Negative, zero or positive as a sorts before, with or after b; zero only for equal texts.
int compareAlphabetically(const QString &a, const QString &b);
// Sorts entries into that order; equal entries keep their order.
void sortAlphabetically(QStringList &entries);
// Where entry goes in a list already in that order: after every entry that sorts before
// it or equals it.
qsizetype alphabeticalPlace(const QStringList &sorted, const QString &entry);

} // namespace kv
