#pragma once
// Figures of a catalogue: how many videos per category, format, content, rating, decade and
// personal rating; running time and the list and purchase value in total; what is lent out,
// to whom and since when. Read straight from the record bytes in one pass.
#include "store/table.h"

#include <QDate>
#include <QJsonObject>
#include <QString>
#include <vector>

namespace kv {

inline constexpr char kBlankValue[] = "(blank)";

struct Share {
    QString value; // as the first record spelled it; kBlankValue for an empty field
    qint64 count = 0;
    double share = 0; // of all records counted, 0 ... 1
};

struct Loan {
    std::uint32_t recno = 0;
    QString title;
    QString person;
    QDate since; // null when the record has no date
    int days = -1; // days out until the day asked about; -1 without a date
    bool overdue = false;
};

struct CollectionStats {
    qint64 records = 0;
    std::vector<Share> byCategory, byFormat, byContent, byRating, byDecade, byPersonalRating;
    qint64 runTimeMinutes = 0;
    double listValue = 0;
    double purchaseValue = 0;
    int overdueDays = 0;
    std::vector<Loan> loans;     // the longest out first
    std::vector<Share> byBorrower;
    qint64 overdue = 0;
};

enum class StatsScope {
    Visible,  // the records the table shows (through its filter: a search result)
    Catalogue // every record not marked deleted
};

// The figures on day today; a loan is overdue when it is out longer than overdueDays days.
// Text values are grouped without regard to letter case.
CollectionStats collectStats(const Table &table, StatsScope scope, const QDate &today, int overdueDays);

// The figures as text, one section a block, for the clipboard and the command line.
QString statsText(const CollectionStats &stats);
QJsonObject statsJson(const CollectionStats &stats);

} // namespace kv
