#include "dateformat.h"

#include <QStringList>
#include <ctime>

namespace kv {

namespace {
DateFormat &state()
{
    static DateFormat format;
    return format;
}

// Splits a pattern like "dd/mm/yyyy" into its three parts.
QStringList patternParts(const QString &pattern) { return pattern.split(QLatin1Char('/')); }
} // namespace

QDate today()
{
    static thread_local std::time_t asked = 0;
    static thread_local QDate date;
    const std::time_t now = std::time(nullptr);
    if (now != asked || !date.isValid()) {
        asked = now;
        date = QDate::currentDate();
    }
    return date;
}

const DateFormat &currentDateFormat() { return state(); }
void setCurrentDateFormat(const DateFormat &format) { state() = format; }

namespace {
const DateChoice kDateChoices[kDateChoiceCount] = {
    {"mm/dd/yy", '/', "mm/dd/yy", "m/d/yy"},
    {"mm-dd-yy", '-', "mm/dd/yy", "m/d/yy"},
    {"mm.dd.yy", '.', "mm/dd/yy", "m/d/yy"},
    {"dd/mm/yy", '/', "dd/mm/yy", "d/m/yy"},
    {"dd-mm-yy", '-', "dd/mm/yy", "d/m/yy"},
    {"dd.mm.yy", '.', "dd/mm/yy", "d/m/yy"},
    {"mm/dd/yyyy", '/', "mm/dd/yyyy", "m/d/yyyy"},
    {"mm-dd-yyyy", '-', "mm/dd/yyyy", "m/d/yyyy"},
    {"mm.dd.yyyy", '.', "mm/dd/yyyy", "m/d/yyyy"},
    {"dd/mm/yyyy", '/', "dd/mm/yyyy", "d/m/yyyy"},
    {"dd-mm-yyyy", '-', "dd/mm/yyyy", "d/m/yyyy"},
    {"dd.mm.yyyy", '.', "dd/mm/yyyy", "d/m/yyyy"},
};
} // namespace

const DateChoice *dateChoice(int choice)
{
    if (choice < 1 || choice > kDateChoiceCount)
        return nullptr;
    return &kDateChoices[choice - 1];
}

std::optional<DateFormat> dateFormatOf(int choice, bool leadingZeros)
{
    const DateChoice *c = dateChoice(choice);
    if (!c)
        return std::nullopt;
    return DateFormat{QString::fromLatin1(leadingZeros ? c->pattern : c->unpaddedPattern),
                      QLatin1Char(c->separator)};
}

bool setCurrentDateFormat(int choice, bool leadingZeros)
{
    const std::optional<DateFormat> format = dateFormatOf(choice, leadingZeros);
    if (format)
        setCurrentDateFormat(*format);
    return format.has_value();
}

namespace {
const QDate kDayZero(1899, 12, 30);
}

qint64 dayCount(const QDate &date) { return date.isValid() ? kDayZero.daysTo(date) : 0; }
QDate dateOfDayCount(qint64 days) { return kDayZero.addDays(days); }

ScopedDateFormat::ScopedDateFormat(const DateFormat &format) : saved_(state()) { state() = format; }
ScopedDateFormat::~ScopedDateFormat() { state() = saved_; }

int expandTwoDigitYear(int yy, int currentYear)
{
    const int pivot = currentYear + 20;
    int year = (pivot / 100) * 100 + yy;
    if (year > pivot)
        year -= 100;
    return year;
}

QString formatDate(const QDate &date, const DateFormat &format)
{
    if (!date.isValid())
        return QString();
    QStringList out;
    for (const QString &part : patternParts(format.pattern)) {
        const QChar kind = part.isEmpty() ? QChar() : part.at(0).toLower();
        const bool padded = part.size() >= 2;
        int value = 0;
        if (kind == QLatin1Char('d'))
            value = date.day();
        else if (kind == QLatin1Char('m'))
            value = date.month();
        else if (kind == QLatin1Char('y')) {
            if (part.size() >= 4) {
                out << QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
            } else {
                out << QString::number(((date.year() % 100) + 100) % 100).rightJustified(2, QLatin1Char('0'));
            }
            continue;
        }
        out << (padded ? QString::number(value).rightJustified(2, QLatin1Char('0')) : QString::number(value));
    }
    return out.join(format.separator);
}

std::optional<QDate> parseDate(const QString &text, const DateFormat &format)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    const QStringList parts = trimmed.split(format.separator);
    const QStringList kinds = patternParts(format.pattern);
    if (parts.size() != 3 || kinds.size() != 3)
        return std::nullopt;
    int day = -1, month = -1, year = -1;
    for (int i = 0; i < 3; ++i) {
        const QString p = parts.at(i).trimmed();
        if (p.isEmpty() || p.size() > 4)
            return std::nullopt;
        for (QChar c : p) {
            if (!c.isDigit() || c.unicode() > 127)
                return std::nullopt;
        }
        const int value = p.toInt();
        const QChar kind = kinds.at(i).isEmpty() ? QChar() : kinds.at(i).at(0).toLower();
        if (kind == QLatin1Char('d'))
            day = value;
        else if (kind == QLatin1Char('m'))
            month = value;
        else if (kind == QLatin1Char('y'))
            year = p.size() <= 2 ? expandTwoDigitYear(value, today().year()) : value;
    }
    if (day < 0 || month < 0 || year < 0)
        return std::nullopt;
    QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace kv
