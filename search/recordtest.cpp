#include "search/recordtest.h"

#include "base/codepage.h"
#include "base/dateformat.h"
#include "store/fieldtable.h"

#include <memory>

namespace kv {

namespace {

constexpr int kStarFirst = 2, kStarCount = 6;

// Whether needle (already upper-cased) occurs in the width bytes at p, upper-cased by up.
bool containsUpper(const char *p, int width, const QByteArray &needle, const std::uint8_t *up)
{
    const int n = int(needle.size());
    const auto *q = reinterpret_cast<const std::uint8_t *>(p);
    const auto *w = reinterpret_cast<const std::uint8_t *>(needle.constData());
    for (int i = 0; i + n <= width; ++i) {
        if (up[q[i]] != w[0])
            continue;
        int k = 1;
        while (k < n && up[q[i + k]] == w[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

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
                if (containsUpper(record + s.offset, s.width, needle, upper_))
                    return true;
        return false;
    }
    return false;
}

bool RecordTest::BuildFilter(const char *record) const
{
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
    auto test = std::make_shared<const RecordTest>(criteria, table);
    return [test](const RecordRef &record) { return test->BuildFilter(record.data()); };
}

} // namespace kv
