#pragma once
// The one program-wide short date format: every date shown, typed and converted
// between text and a date field goes through here.
#include <QDate>
#include <QString>
#include <optional>

namespace kv {

struct DateFormat {
    QString pattern = QStringLiteral("m/d/yy"); // "/" stands for the separator
    QChar separator = QLatin1Char('/');
    bool operator==(const DateFormat &) const = default;
};

const DateFormat &currentDateFormat();
void setCurrentDateFormat(const DateFormat &format);

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

// An invalid (null) date gives an empty text.
QString formatDate(const QDate &date, const DateFormat &format = currentDateFormat());

// Reads a date typed in the format. Empty or blank text is no date (a null QDate);
// anything that is not a date gives std::nullopt. A two-digit year is read within the
// hundred years that end 20 years after today: in 2026, "97" is 1997 and "30" is 2030.
std::optional<QDate> parseDate(const QString &text, const DateFormat &format = currentDateFormat());

// The century rule above, for any caller that reads two-digit years.
int expandTwoDigitYear(int yy, int currentYear);

} // namespace kv
