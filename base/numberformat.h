#pragma once
// How numbers and amounts are written in reports, labels, the record printout and the
// edit window's price boxes: three styles (plain, numeric, currency), each in the U.S.
// setting or the regional one. Also the reading of a typed price, which undoes the
// grouping and decimal mark of the currency setting.
#include <QChar>
#include <QLocale>
#include <QString>
#include <optional>

namespace kv {

// Plain: the year; numeric: the play time; currency: the two prices.
enum class NumberStyle { Plain, Numeric, Currency };

// Values of "Numeric Format" and "Currency Format". Any value other than the regional
// one writes as U.S.
inline constexpr int kUsFormat = 1;
inline constexpr int kRegionalFormat = 2;

struct NumberFormats {
    int numeric = kUsFormat;  // plain and numeric styles
    int currency = kUsFormat; // currency style and typed prices
    bool operator==(const NumberFormats &) const = default;
};

// The regional values, as the system's locale gives them. Only the decimal mark, the
// thousands character and the currency digits shape the styles; the others are kept
// for whoever shows them.
struct RegionalValues {
    QString currencySymbol = QStringLiteral("$");        // at most 3 characters
    QString country = QStringLiteral("United States");   // at most 40 characters
    QChar decimalMark = QLatin1Char('.');
    QChar thousands = QLatin1Char(',');
    int currencyPosition = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int countryCode = 1;      // the locale does not tell it; stays 1
    int digits = 2;           // the locale does not tell it; stays 2
    int currencyDigits = 2;
    bool operator==(const RegionalValues &) const = default;

    // A mark the locale gives as several characters keeps its first; an empty one and
    // a space of any kind become a blank, which every code page holds.
    static RegionalValues fromLocale(const QLocale &locale);
};

const NumberFormats &currentNumberFormats();
void setCurrentNumberFormats(const NumberFormats &formats);

// Read from QLocale::system() the first time they are needed, then kept.
const RegionalValues &regionalValues();
void setRegionalValues(const RegionalValues &values);

// Restores the previous formats and regional values when it goes out of scope.
class ScopedNumberFormats {
public:
    explicit ScopedNumberFormats(const NumberFormats &formats, const RegionalValues &regional = regionalValues());
    ~ScopedNumberFormats();
    ScopedNumberFormats(const ScopedNumberFormats &) = delete;
    ScopedNumberFormats &operator=(const ScopedNumberFormats &) = delete;
private:
    NumberFormats savedFormats_;
    RegionalValues savedRegional_;
};

// The value in a style under the current formats, right-aligned in width (a longer
// text is not cut). decimals counts for the plain and numeric styles; currency has
// 2 decimals in the U.S. setting and the regional currency digits otherwise. No
// currency symbol is written.
QString formatNumber(double value, NumberStyle style, int width, int decimals = 0);

// The value rounded to decimals with the given decimal mark and, unless thousands is
// null, a thousands character between groups of three digits of the whole part;
// right-aligned in width.
QString formatNumber(double value, int decimals, QChar decimalMark, QChar thousands, int width);

// A typed price made readable: in the U.S. setting every comma is removed; in the
// regional one every thousands character is removed and then the first decimal mark
// becomes a full stop.
QString normalisePrice(const QString &text);
// normalisePrice, then the decimal-number rule of readDecimalNumber().
std::optional<double> readPrice(const QString &text);

} // namespace kv
