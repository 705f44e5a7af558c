#include "numberformat.h"

#include "numbertext.h"

namespace kv {

namespace {

NumberFormats &formatsState()
{
    static NumberFormats formats;
    return formats;
}

std::optional<RegionalValues> &regionalState()
{
    static std::optional<RegionalValues> values;
    return values;
}

QChar markOf(const QString &text)
{
    if (text.isEmpty() || text.at(0).isSpace())
        return QLatin1Char(' ');
    return text.at(0);
}

qsizetype firstDigit(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isDigit())
            return i;
    }
    return -1;
}

int currencyPositionOf(const QLocale &locale, const QString &symbol)
{
    const QString sample = locale.toCurrencyString(1.0);
    const qsizetype at = symbol.isEmpty() ? -1 : sample.indexOf(symbol);
    const qsizetype digit = firstDigit(sample);
    if (at < 0 || digit < 0)
        return 0;
    if (at < digit) {
        const qsizetype after = at + symbol.size();
        return after < sample.size() && sample.at(after).isSpace() ? 2 : 0;
    }
    return at > 0 && sample.at(at - 1).isSpace() ? 3 : 1;
}

int currencyDigitsOf(const QLocale &locale)
{
    const QString sample = locale.toCurrencyString(1.0);
    const qsizetype point = sample.indexOf(locale.decimalPoint());
    if (point < 0)
        return 0;
    int count = 0;
    for (qsizetype i = point + locale.decimalPoint().size(); i < sample.size() && sample.at(i).isDigit(); ++i)
        ++count;
    return count;
}

} // namespace

RegionalValues RegionalValues::fromLocale(const QLocale &locale)
{
    RegionalValues v;
    v.currencySymbol = locale.currencySymbol().left(3);
    v.country = QLocale::territoryToString(locale.territory()).left(40);
    v.decimalMark = markOf(locale.decimalPoint());
    v.thousands = markOf(locale.groupSeparator());
    v.currencyPosition = currencyPositionOf(locale, locale.currencySymbol());
    v.currencyDigits = currencyDigitsOf(locale);
    return v;
}

const NumberFormats &currentNumberFormats() { return formatsState(); }
void setCurrentNumberFormats(const NumberFormats &formats) { formatsState() = formats; }

const RegionalValues &regionalValues()
{
    std::optional<RegionalValues> &values = regionalState();
    if (!values)
        values = RegionalValues::fromLocale(QLocale::system());
    return *values;
}

void setRegionalValues(const RegionalValues &values) { regionalState() = values; }

ScopedNumberFormats::ScopedNumberFormats(const NumberFormats &formats, const RegionalValues &regional)
    : savedFormats_(currentNumberFormats()), savedRegional_(regionalValues())
{
    // regional may refer to the stored values themselves: copy before replacing.
    const RegionalValues wanted = regional;
    setCurrentNumberFormats(formats);
    setRegionalValues(wanted);
}

ScopedNumberFormats::~ScopedNumberFormats()
{
    setCurrentNumberFormats(savedFormats_);
    setRegionalValues(savedRegional_);
}

QString formatNumber(double value, int decimals, QChar decimalMark, QChar thousands, int width)
{
    QString text = QString::fromLatin1(decimalText(value, decimals));
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text[point] = decimalMark;
    else
        point = text.size();
    if (!thousands.isNull()) {
        // Before every third digit leftwards from the decimal mark, where something
        // precedes it; a minus sign directly before a thousands character loses it.
        for (qsizetype at = point - 3; at > 0; at -= 3)
            text.insert(at, thousands);
        if (text.size() > 1 && text.at(0) == QLatin1Char('-') && text.at(1) == thousands)
            text.remove(1, 1);
    }
    return text.rightJustified(width, QLatin1Char(' '));
}

QString formatNumber(double value, NumberStyle style, int width, int decimals)
{
    const NumberFormats &formats = currentNumberFormats();
    const bool regional =
        (style == NumberStyle::Currency ? formats.currency : formats.numeric) == kRegionalFormat;
    const QChar mark = regional ? regionalValues().decimalMark : QLatin1Char('.');
    const QChar thousands = regional ? regionalValues().thousands : QLatin1Char(',');
    switch (style) {
    case NumberStyle::Plain:
        return formatNumber(value, decimals, mark, QChar(), width);
    case NumberStyle::Numeric:
        return formatNumber(value, decimals, mark, thousands, width);
    case NumberStyle::Currency:
        break;
    }
    return formatNumber(value, regional ? regionalValues().currencyDigits : 2, mark, thousands, width);
}

QString normalisePrice(const QString &text)
{
    QString out = text;
    if (currentNumberFormats().currency != kRegionalFormat) {
        out.remove(QLatin1Char(','));
        return out;
    }
    const RegionalValues &regional = regionalValues();
    out.remove(regional.thousands);
    const qsizetype point = out.indexOf(regional.decimalMark);
    if (point >= 0)
        out[point] = QLatin1Char('.');
    return out;
}

std::optional<double> readPrice(const QString &text) { return readDecimalNumber(normalisePrice(text)); }

} // namespace kv
