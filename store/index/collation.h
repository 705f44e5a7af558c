#pragma once
// The order of character keys: a weight table over code page 1252, as the
// Western-European dBASE language drivers collate.
//
// - A letter sorts with its base letter whatever its accent or case: "ábc", "Abd",
//   "Édith", "Émile", "Eve", "Zoë".
// - Keys equal letter for letter are told apart by their accents (none first), and
//   last by their bytes, so that only equal keys compare equal.
// - Everything that is not a letter keeps its place in code page order: blanks sort
//   first, and the digits, blanks and minus signs of STR() and DTOS() keys order as
//   they always did. Keys of upper-case ASCII letters order as their bytes do.
#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

namespace kv {

// Negative, zero or positive as key a sorts before, with or after key b; both are
// length bytes long.
int compareKeys(const char *a, const char *b, std::size_t length);
// Byte strings of any length: the shorter compares as if padded with blanks, as the
// keys of an index are.
int compareKeys(QByteArrayView a, QByteArrayView b);

// For sorting many keys fast:
// - the letter weights of a key's first eight bytes in one number: where two keys'
//   prefixes differ, the keys compare as the prefixes do;
// - whether a key holds only bytes below 'a' (no lower-case or accented letters): two
//   such keys compare as their bytes do.
std::uint64_t primaryPrefix(const char *key, std::size_t length);
bool ordersAsBytes(const char *key, std::size_t length);

} // namespace kv
