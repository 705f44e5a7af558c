#pragma once
// Records entered twice: titles that are the same once letter case, accents, punctuation
// and a leading article are set aside, with the same year where both records give one; and
// media numbers that two records use.
#include "store/table.h"

#include <QString>
#include <vector>

namespace kv {

// The title as duplicates are compared: folded, punctuation gone, blanks single, a leading
// article (The, A, An, Der, Die, Das, Le, La, Les, El, Il) dropped when more follows.
QString titleKey(const QString &title);

struct DuplicateRecord {
    std::uint32_t recno = 0;
    QString title;
    int year = 0; // 0 when blank
    QString mediaNum;
};

struct DuplicateGroup {
    enum class Kind { Title, MediaNumber };
    Kind kind = Kind::Title;
    QString key;  // the title key, or the media number
    int year = 0; // the year the title group shares; 0 when none of its records gives one
    std::vector<DuplicateRecord> records; // in record number order
};

// The groups among the records the table shows, in its current order's records: title
// groups first (by key, then year), then media numbers. A record without a year joins
// each group of its title; records with different years are not duplicates.
std::vector<DuplicateGroup> findDuplicates(const Table &table);

// The groups as text lines, for the command line.
QString duplicatesText(const std::vector<DuplicateGroup> &groups);

} // namespace kv
