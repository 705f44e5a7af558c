#include "search/criterionwords.h"

#include "search/recordtest.h"
#include "store/fieldtable.h"

#include <QRegularExpression>

namespace kv {

namespace {

const QString kOr = QStringLiteral("--or");

CriterionParse usage(const QString &why)
{
    CriterionParse p;
    p.error = why;
    p.usage = true;
    return p;
}

// What a person types into the row of field for the word's operator and value; false
// when the word does not fit the row.
bool fillRow(int field, QChar sign, const QString &value, SearchRow &row)
{
    if (rowType(field) == RowType::Text) {
        if (sign != QLatin1Char('='))
            return false;
        row.text = value.left(kv::field(field).width); // the cell takes no more
        return true;
    }
    if (sign == QLatin1Char('>') && value.contains(QLatin1Char('<'))) {
        const qsizetype at = value.indexOf(QLatin1Char('<'));
        row.op = RowOperator::Range;
        row.text = QStringLiteral("> %1 AND < %2").arg(value.left(at), value.mid(at + 1));
        return true;
    }
    row.op = sign == QLatin1Char('=') ? RowOperator::Equal
             : sign == QLatin1Char('>') ? RowOperator::Greater
                                        : RowOperator::Less;
    row.text = sign + QLatin1Char(' ') + value;
    return true;
}

} // namespace

CriterionParse parseCriterionWords(const QStringList &words, const Table &table)
{
    CriterionParse parse;
    SearchRows rows;
    std::array<bool, kFieldCount> given{};
    const auto saveLevel = [&]() {
        const SaveOutcome outcome = SaveFields(rows, parse.criteria);
        rows = SearchRows();
        given = {};
        if (outcome.result != SaveOutcome::Saved)
            parse.error = outcome.message();
        return outcome.result == SaveOutcome::Saved;
    };
    for (const QString &word : words) {
        if (word == kOr) {
            if (levelCount(parse.criteria) + 1 >= kMaxSearchLevels)
                return usage(QStringLiteral("At most %1 levels can be given.").arg(kMaxSearchLevels));
            if (!saveLevel())
                return parse;
            continue;
        }
        const qsizetype at = word.indexOf(QRegularExpression(QStringLiteral("[=<>]")));
        const int field = at > 0 ? fieldNumber(word.left(at)) : 0;
        if (field == 0)
            return usage(QStringLiteral("\"%1\" is no criterion: FIELD=TEXT, FIELD=VALUE, FIELD>VALUE, FIELD<VALUE or "
                                        "FIELD>LOW<HIGH, FIELD a field name.")
                             .arg(word));
        if (given[std::size_t(field - 1)])
            return usage(QStringLiteral("The field %1 is given twice in one level.").arg(word.left(at)));
        given[std::size_t(field - 1)] = true;
        if (!fillRow(field, word[at], word.mid(at + 1), rows[std::size_t(field - 1)]))
            return usage(QStringLiteral("%1 is a text field: FIELD=TEXT.").arg(word.left(at)));
    }
    if (!saveLevel())
        return parse;
    parse.filter = MyTableFilter(parse.criteria, table);
    return parse;
}

} // namespace kv
