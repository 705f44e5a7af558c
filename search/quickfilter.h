#pragma once
// The quick filter: the records whose shown text fields contain every typed word, without
// regard to letter case or accents. The shown text of the records is folded once into one
// block (QuickFilterText); each run then scans that block, which other threads may do
// while the table goes on changing.
#include "base/codepage.h"
#include "store/table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// The folded shown text of records, one after the other; the fields of a record are kept
// apart so that no word is found across two of them.
struct QuickFilterText {
    Codepage codepage = Codepage::Cp1252;
    std::vector<int> fields;             // table field indexes read
    std::string bytes;                   // each record's text, ended by a separator
    std::vector<std::size_t> starts;     // where record i's text starts; one more at the end
    std::vector<std::uint32_t> recnos;   // the record number of record i

    QuickFilterText() { starts.push_back(0); }
    std::size_t size() const { return recnos.size(); }
};

// The text fields (type C) the table shows, in table field order.
std::vector<int> shownTextFields(const Table &table);

// Appends records first ... last (record numbers, 1-based, inclusive) that are not marked
// deleted; the table must stay unchanged meanwhile.
void appendQuickFilterText(const Table &table, std::uint32_t first, std::uint32_t last, QuickFilterText &text);

// The words of a filter text: split at blanks, folded for the code page. A word the code
// page cannot hold makes the list hold an empty word, which nothing contains.
QList<QByteArray> quickFilterWords(const QString &typed, Codepage cp);

// Whether every word of the old text is part of a word of the new one: then the records
// the new text finds are among those the old one found.
bool narrowsQuickFilter(const QString &before, const QString &after);

// The records (places in the block) whose text contains every word, in block order;
// within (when not null) the only places to look at, as an earlier result. Stops early,
// returning what it has, when cancel becomes true.
std::vector<std::uint32_t> matchQuickFilter(const QuickFilterText &text, const QList<QByteArray> &words,
                                            const std::vector<std::uint32_t> *within,
                                            const std::atomic<bool> &cancel);

} // namespace kv
