#include "search/recordtest.h"

#include "base/codepage.h"
#include "base/dateformat.h"
#include "search/rawtext.h"
#include "store/fieldtable.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace kv {

namespace {

constexpr int kStarFirst = 2, kStarCount = 6;
constexpr int kPrefetchRecords = 8, kLine = 64;

} // namespace

RecordTest::RecordTest(const CriteriaList &criteria, const Table &table)
    : codec_(table.fieldLayouts(), table.codepage()), upper_(upperTable(table.codepage()))
{
    const auto indexOf = [&](int number) { return table.fieldIndex(fieldName(number)); };
    // A needle the table's code page cannot hold is in no record; an empty one neither.
    const auto addNeedle = [&](Test &t, const QString &text) {
        QByteArray bytes = encode(text, table.codepage());
        if (bytes.isEmpty() || decode(bytes, table.codepage()) != text)
            return;
        for (char &c : bytes)
            c = char(upper_[std::uint8_t(c)]);
        t.needles.push_back(bytes);
    };
    const auto addSlice = [&](Test &t, int index) {
        if (index >= 0 && table.fieldLayout(index).type == 'C')
            t.slices.push_back({table.fieldLayout(index).offset, table.fieldLayout(index).width});
    };
    tests_.reserve(criteria.size());
    for (const SearchItem &item : criteria) {
        Test t;
        t.kind = item.kind;
        t.isDate = item.isDate;
        t.endOfLevel = item.endOfLevel;
        t.value = item.isDate ? item.date : item.number;
        switch (item.kind) {
        case ItemKind::Equal:
        case ItemKind::Greater:
        case ItemKind::Less: t.field = indexOf(item.field); break;
        case ItemKind::Contains:
            addNeedle(t, item.text);
            addSlice(t, indexOf(item.field));
            break;
        case ItemKind::AnyWord:
            // Words at single spaces; an empty word (two spaces in a row) is never found.
            for (const QString &word : item.text.split(QLatin1Char(' ')))
                addNeedle(t, word);
            addSlice(t, indexOf(item.field));
            break;
        case ItemKind::AnyStar:
            addNeedle(t, item.text);
            for (int star = kStarFirst; star < kStarFirst + kStarCount; ++star)
                addSlice(t, indexOf(star));
            break;
        }
        tests_.push_back(std::move(t));
    }
    // Every cache line that a field the tests read touches, by its offset in the record.
    const auto addLines = [&](int offset, int width) {
        for (int at = offset; at < offset + width; at += kLine)
            lines_.push_back(at);
        lines_.push_back(offset + width - 1);
    };
    for (const Test &t : tests_) {
        if (t.field >= 0)
            addLines(table.fieldLayout(t.field).offset, table.fieldLayout(t.field).width);
        for (const Slice &s : t.slices)
            addLines(s.offset, s.width);
    }
    std::sort(lines_.begin(), lines_.end());
    lines_.erase(std::unique(lines_.begin(), lines_.end(), [](int a, int b) { return a / kLine == b / kLine; }),
                 lines_.end());
    if (table.isOpen() && table.physicalCount() >= 2)
        ahead_ = kPrefetchRecords * (table.recordData(2) - table.recordData(1));
}

bool RecordTest::holds(const Test &t, const char *record) const
{
    switch (t.kind) {
    case ItemKind::Equal:
    case ItemKind::Greater:
    case ItemKind::Less: {
        double v = 0;
        if (t.field >= 0)
            v = t.isDate ? double(dayCount(codec_.date(record, t.field))) : codec_.number(record, t.field);
        return t.kind == ItemKind::Equal ? v == t.value : t.kind == ItemKind::Greater ? v > t.value : v < t.value;
    }
    case ItemKind::Contains:
    case ItemKind::AnyWord:
    case ItemKind::AnyStar:
        for (const Slice &s : t.slices)
            for (const QByteArray &needle : t.needles)
                if (rawtext::contains(record + s.offset, rawtext::textEnd(record + s.offset, s.width), needle, upper_))
                    return true;
        return false;
    }
    return false;
}

bool RecordTest::BuildFilter(const char *record) const
{
    // A prefetch never faults, so one past the file's end does no harm.
    if (ahead_ > 0)
        for (int line : lines_)
            __builtin_prefetch(record + ahead_ + line);
    bool levelOk = true;
    for (const Test &t : tests_) {
        if (levelOk)
            levelOk = holds(t, record);
        if (t.endOfLevel) {
            if (levelOk)
                return true;
            levelOk = true;
        }
    }
    return false;
}

Table::FilterFunction MyTableFilter(const CriteriaList &criteria, const Table &table)
{
    // Prepared at the first record asked about: the routine may be set while the table
    // is closed, and it learns the record layout only once the table is open.
    struct Prepared {
        CriteriaList criteria;
        const Table *table;
        std::optional<RecordTest> test;
    };
    auto state = std::make_shared<Prepared>(Prepared{criteria, &table, std::nullopt});
    return [state](const RecordRef &record) {
        if (!state->test)
            state->test.emplace(state->criteria, *state->table);
        return state->test->BuildFilter(record.data());
    };
}

} // namespace kv
