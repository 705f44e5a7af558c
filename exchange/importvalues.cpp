// Imported values by the kind of the field that receives them.
#include "exchange/importvalues.h"

#include "base/dateformat.h"
#include "base/dberror.h"
#include "base/numberformat.h"
#include "base/numbertext.h"
#include "store/table.h"

#include <QRegularExpression>

namespace kv {

namespace {

// Digits grouped by threes with `group` (none when null) and an optional `mark` with
// digits after it, made plain: "1.234,5" with '.' and ',' gives "1234.5".
std::optional<QString> ungrouped(const QString &t, QChar group, QChar mark)
{
    QString plain;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        plain += t[i++];
    int run = 0;     // digits since the last group mark
    bool grouped = false;
    for (; i < t.size() && t[i] != mark; ++i) {
        if (t[i].isDigit() && t[i].unicode() < 128) {
            plain += t[i];
            ++run;
        } else if (!group.isNull() && t[i] == group && run > 0 && (grouped ? run == 3 : run <= 3)) {
            grouped = true;
            run = 0;
        } else {
            return std::nullopt;
        }
    }
    if (run == 0 || (grouped && run != 3))
        return std::nullopt;
    if (i < t.size()) {
        plain += u'.';
        const QString decimals = t.mid(i + 1);
        if (decimals.isEmpty())
            return std::nullopt;
        for (QChar c : decimals)
            if (!c.isDigit() || c.unicode() >= 128)
                return std::nullopt;
        plain += decimals;
    }
    return plain;
}

QString quoted(const QString &text) { return QStringLiteral("\"%1\"").arg(text); }

double leadingWholeNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    double value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + (text[i].unicode() - '0');
    return negative ? -value : value;
}

bool hasLetter(const QString &text)
{
    for (QChar c : text)
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
            return true;
    return false;
}

} // namespace

std::optional<double> readImportedNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0.0;
    if (const std::optional<double> plain = readDecimalNumber(t))
        return plain;
    const RegionalValues &regional = regionalValues();
    const std::pair<QChar, QChar> styles[] = {{regional.thousands, regional.decimalMark}, {u',', u'.'}};
    for (const auto &[group, mark] : styles) {
        if (group == mark)
            continue;
        if (const std::optional<QString> plain = ungrouped(t, group, mark))
            return readDecimalNumber(*plain);
    }
    return std::nullopt;
}

std::optional<QDate> readImportedDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})$|^(\\d{4})(\\d\\d)(\\d\\d)$"));
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch()) {
        const bool dashed = m.capturedLength(1) > 0;
        const QDate d(m.captured(dashed ? 1 : 5).toInt(), m.captured(dashed ? 3 : 6).toInt(),
                      m.captured(dashed ? 4 : 7).toInt());
        if (d.isValid())
            return d;
        if (dashed)
            return std::nullopt;
    }
    if (!t.contains(currentDateFormat().separator) || hasLetter(t))
        return QDate();
    const std::optional<QDate> d = parseDate(t);
    if (!d || !d->isValid())
        return std::nullopt;
    return d;
}

std::optional<QString> yesNoOf(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    for (const char *yes : {"T", "Y", "TRUE", "YES", "1"})
        if (t == QLatin1String(yes))
            return QStringLiteral("Yes");
    for (const char *no : {"F", "N", "FALSE", "NO", "0"})
        if (t == QLatin1String(no))
            return QStringLiteral("No");
    return std::nullopt;
}

void storeImportedValue(Table &table, int column, int n, const QString &text)
{
    switch (field(n).kind) {
    case FieldKind::Text:
        if (n == fields::CheckOut || n == fields::Viewed) {
            table.setFieldText(column, yesNoOf(text).value_or(text));
            return;
        }
        table.setFieldText(column, text);
        return;
    case FieldKind::Integer:
        table.setFieldNumber(column, leadingWholeNumber(text));
        return;
    case FieldKind::Real: {
        const std::optional<double> value = readImportedNumber(text);
        if (!value)
            throw DbError(QStringLiteral("%1 is not a number.").arg(quoted(text)));
        table.setFieldNumber(column, *value);
        return;
    }
    case FieldKind::Date: {
        const std::optional<QDate> date = readImportedDate(text);
        if (!date)
            throw DbError(QStringLiteral("%1 is not a date.").arg(quoted(text)));
        if (date->isValid())
            table.setFieldDate(column, *date);
        return;
    }
    }
}

} // namespace kv
