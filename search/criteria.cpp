#include "search/criteria.h"

#include "base/dateformat.h"
#include "base/numbertext.h"
#include "store/fieldtable.h"

#include <optional>

namespace kv {

namespace {

constexpr int kStarFirst = 2, kStarLast = 7, kKeyWords = 26;

ItemKind textKind(int field)
{
    if (field >= kStarFirst && field <= kStarLast)
        return ItemKind::AnyStar;
    return field == kKeyWords ? ItemKind::AnyWord : ItemKind::Contains;
}

bool blank(const QString &text, RowType type)
{
    return type == RowType::Date ? blankDateText(text) : text.isEmpty();
}

// A number by the decimal reading, or a short date as its day count.
std::optional<double> valueOf(const QString &text, RowType type)
{
    if (type == RowType::Numeric)
        return readDecimalNumber(text);
    const std::optional<QDate> date = parseDate(text);
    if (!date || date->isNull())
        return std::nullopt;
    return double(dayCount(*date));
}

QString withoutFirst(QString text, QChar c)
{
    const qsizetype at = text.indexOf(c);
    if (at >= 0)
        text.remove(at, 1);
    return text;
}

} // namespace

// An untouched date mask reads back as its separators only.
bool blankDateText(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("/  /") || text == QLatin1String("-  -") ||
           text == QLatin1String(".  .");
}

RowType rowType(int number)
{
    switch (field(number).type) {
    case 'N': return RowType::Numeric;
    case 'D': return RowType::Date;
    default: return RowType::Text;
    }
}

QString SaveOutcome::message() const
{
    switch (result) {
    case Saved: return QString();
    case Invalid: return QString::fromLatin1(kInvalidCriteria);
    case TooMany: return QString::fromLatin1(kTooManyItems);
    case Empty: return QString::fromLatin1(kNoCriteria);
    }
    return QString();
}

SaveOutcome SaveFields(const SearchRows &rows, CriteriaList &list)
{
    const std::size_t before = list.size();
    bool overflow = false;
    const auto add = [&](SearchItem item) {
        if (list.size() + 1 > std::size_t(kMaxSearchItems)) {
            overflow = true;
            return;
        }
        list.push_back(std::move(item));
    };
    for (int n = 1; n <= kFieldCount && !overflow; ++n) {
        const SearchRow &row = rows[std::size_t(n - 1)];
        const RowType type = rowType(n);
        if (type == RowType::Text) {
            const QString text = row.text.trimmed().toUpper();
            if (!text.isEmpty())
                add({text.left(kMaxCriterionText), 0, 0, n, textKind(n), false, false});
            continue;
        }
        const bool isDate = type == RowType::Date;
        const auto item = [&](ItemKind kind, const QString &text, double value) {
            return SearchItem{text, isDate ? 0 : value, isDate ? value : 0, n, kind, false, isDate};
        };
        if (row.op != RowOperator::Range) {
            static constexpr char kSigns[] = {'=', '>', '<'};
            const QString text = withoutFirst(row.text, QLatin1Char(kSigns[int(row.op) - 1])).trimmed();
            if (blank(text, type))
                continue;
            const std::optional<double> value = valueOf(text, type);
            if (!value) {
                list.resize(before);
                return {SaveOutcome::Invalid, n};
            }
            add(item(ItemKind(int(row.op)), text, *value));
            continue;
        }
        const QString text = withoutFirst(withoutFirst(row.text, QLatin1Char('<')), QLatin1Char('>')).trimmed();
        const qsizetype at = text.indexOf(QLatin1String("AND"));
        const QString low = (at < 0 ? text : text.left(at)).trimmed();
        const QString high = at < 0 ? QString() : text.mid(at + 3).trimmed();
        const bool noLow = blank(low, type), noHigh = blank(high, type);
        if (noLow && noHigh)
            continue;
        const std::optional<double> lowValue = noLow ? std::nullopt : valueOf(low, type);
        const std::optional<double> highValue = noHigh ? std::nullopt : valueOf(high, type);
        if (!lowValue || !highValue) {
            list.resize(before);
            return {SaveOutcome::Invalid, n};
        }
        add(item(ItemKind::Greater, low, *lowValue));
        add(item(ItemKind::Less, high, *highValue));
    }
    if (overflow) {
        list.clear();
        return {SaveOutcome::TooMany, 0};
    }
    if (list.size() == before)
        return {SaveOutcome::Empty, 0};
    list.back().endOfLevel = true;
    return {};
}

int levelCount(const CriteriaList &list)
{
    int n = 0;
    for (const SearchItem &item : list)
        n += item.endOfLevel;
    return n;
}

} // namespace kv
