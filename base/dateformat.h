#pragma once
// The one program-wide short date format: every date shown, typed and converted
// between text and a date field goes through here.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace kv {

struct DateFormat {
    QString pattern = QStringLiteral("m/d/yy"); // "/" stands for the separator
    QChar separator = QLatin1Char('/');
    bool operator==(const DateFormat &) const = default;
};

const DateFormat &currentDateFormat();
void setCurrentDateFormat(const DateFormat &format);

// The twelve choices of "Date Format", numbered 1 ... 12. The caption is the menu
// item's; in the patterns "/" stands for the separator.
struct DateChoice {
    const char *caption;
    char separator;
    const char *pattern;         // with leading zeros
    const char *unpaddedPattern; // without
};
inline constexpr int kDateChoiceCount = 12;
// nullptr for a choice outside 1 ... 12.
const DateChoice *dateChoice(int choice);
// The format of a choice with or without leading zeros; nothing outside 1 ... 12.
std::optional<DateFormat> dateFormatOf(int choice, bool leadingZeros);
// Makes the format of a choice current. A choice outside 1 ... 12 changes nothing
// and gives false.
bool setCurrentDateFormat(int choice, bool leadingZeros);

// Restores the previous format when it goes out of scope.
class ScopedDateFormat {
public:
    explicit ScopedDateFormat(const DateFormat &format);
    ~ScopedDateFormat();
    ScopedDateFormat(const ScopedDateFormat &) = delete;
    ScopedDateFormat &operator=(const ScopedDateFormat &) = delete;
private:
    DateFormat saved_;
};

// Today's date. Asking the system looks the time zone up again, a file system call each
// time, so a loop that converts or writes record after record asks it once a second at
// most.
QDate today();

// An invalid (null) date gives an empty text.
QString formatDate(const QDate &date, const DateFormat &format = currentDateFormat());

// Reads a date typed in the format. Empty or blank text is no date (a null QDate);
// anything that is not a date gives std::nullopt. A two-digit year is read within the
// hundred years that end 20 years after today: in 2026, "97" is 1997 and "30" is 2030.
std::optional<QDate> parseDate(const QString &text, const DateFormat &format = currentDateFormat());

// The century rule above, for any caller that reads two-digit years.
int expandTwoDigitYear(int yy, int currentYear);

// Dates as a count of days in which day 0 is 30 December 1899 (1 January 1900 is 2),
// the form search criteria compare dates in. A null date counts as day 0, as an empty
// date field reads.
qint64 dayCount(const QDate &date);
QDate dateOfDayCount(qint64 days);

} // namespace kv
