#pragma once
// The record test of a query search: the criteria list prepared once against a table's
// record layout, then asked for each record's bytes while the table builds its filtered
// order. It reads only the fields the criteria name and allocates nothing per record.
#include "search/criteria.h"
#include "store/dbf/recordcodec.h"
#include "store/table.h"

#include <QByteArray>
#include <vector>

namespace kv {

class RecordTest {
public:
    RecordTest(const CriteriaList &criteria, const Table &table);

    // Whether the record meets every item of at least one level. Text is found as a
    // part of the field's text without regard to letter case; an empty number or date
    // field reads as zero.
    bool BuildFilter(const char *record) const;

private:
    struct Slice {
        int offset = 0;
        int width = 0;
    };
    struct Test {
        ItemKind kind = ItemKind::Equal;
        bool isDate = false;
        bool endOfLevel = false;
        double value = 0;
        int field = -1; // the table's field index; -1 reads as blank
        // Text kinds: whether any of the needles occurs in any of the slices.
        std::vector<QByteArray> needles;
        std::vector<Slice> slices;
    };
    bool holds(const Test &test, const char *record) const;

    RecordCodec codec_;
    // The filter visits the records in file order: the parts of a record some places
    // ahead that the tests will read are fetched meanwhile (the file order's own
    // prefetching covers only each record's start).
    std::ptrdiff_t ahead_ = 0;
    std::vector<int> lines_;
    const std::uint8_t *upper_ = nullptr;
    std::vector<Test> tests_;
};

// The routine the table's filter hook calls for each record while the search is on. It
// learns the table's record layout at its first record: make a new one for a table
// opened on another file.
Table::FilterFunction MyTableFilter(const CriteriaList &criteria, const Table &table);

} // namespace kv
