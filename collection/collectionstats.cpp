#include "collection/collectionstats.h"

#include "search/rawtext.h"
#include "store/fieldtable.h"

#include <QJsonArray>
#include <algorithm>
#include <charconv>
#include <string>
#include <unordered_map>

namespace kv {

namespace {

constexpr char kDeletedFlag = '*';

struct Slice {
    int offset = -1;
    int width = 0;
    bool present() const { return offset >= 0; }
};

Slice sliceOf(const Table &t, int number)
{
    const int i = t.fieldIndex(fieldName(number));
    if (i < 0)
        return {};
    return {t.fieldLayout(i).offset, t.fieldLayout(i).width};
}

// The field's bytes without the blanks around them.
std::string_view trimmed(const char *record, const Slice &s)
{
    if (!s.present())
        return {};
    const char *p = record + s.offset;
    int end = rawtext::textEnd(p, s.width);
    int begin = 0;
    while (begin < end && p[begin] == ' ')
        ++begin;
    return {p + begin, std::size_t(end - begin)};
}

// A number as dBASE stores it: digits with an optional sign and decimal point. Read by
// hand: a general conversion costs the statistics most of their time.
double numberOf(std::string_view v)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        negative = v[i++] == '-';
    std::int64_t whole = 0, fraction = 0, scale = 1;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        whole = whole * 10 + (v[i] - '0');
    if (i < v.size() && v[i] == '.')
        for (++i; i < v.size() && v[i] >= '0' && v[i] <= '9' && scale < 1000000000; ++i) {
            fraction = fraction * 10 + (v[i] - '0');
            scale *= 10;
        }
    if (i < v.size()) { // an exponent or anything unusual: the general conversion
        double value = 0;
        std::from_chars(v.data() + (v.front() == '+' ? 1 : 0), v.data() + v.size(), value);
        return value;
    }
    const double value = double(whole) + double(fraction) / double(scale);
    return negative ? -value : value;
}

QDate dateOf(std::string_view v)
{
    int ymd = 0;
    if (v.size() != 8 || std::from_chars(v.data(), v.data() + 8, ymd).ptr != v.data() + 8)
        return {};
    return QDate(ymd / 10000, ymd / 100 % 100, ymd % 100);
}

struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view v) const { return std::hash<std::string_view>()(v); }
};

// Counts of the values of one text field, letter case aside. A spelling met before is
// found as it stands; only a new one is folded.
class Tally {
public:
    explicit Tally(const std::uint8_t *upper) : upper_(upper) {}

    void add(std::string_view value)
    {
        const auto seen = spellings_.find(value);
        if (seen != spellings_.end()) {
            ++buckets_[seen->second].count;
            return;
        }
        std::string key(value);
        for (char &c : key)
            c = char(upper_[std::uint8_t(c)]);
        auto [it, added] = index_.try_emplace(key, buckets_.size());
        if (added)
            buckets_.push_back({key, std::string(value), 0});
        spellings_.emplace(std::string(value), it->second);
        ++buckets_[it->second].count;
    }

    struct Bucket {
        std::string key;
        std::string spelling;
        qint64 count;
    };
    const std::vector<Bucket> &buckets() const { return buckets_; }

private:
    const std::uint8_t *upper_;
    std::vector<Bucket> buckets_;
    std::unordered_map<std::string, std::size_t> index_;
    std::unordered_map<std::string, std::size_t, ViewHash, std::equal_to<>> spellings_;
};

std::vector<Share> sharesOf(const Tally &tally, Codepage cp, qint64 records)
{
    std::vector<Share> shares;
    for (const Tally::Bucket &b : tally.buckets()) {
        const QString value = b.spelling.empty() ? QString::fromLatin1(kBlankValue)
                                                 : decode(b.spelling.data(), qsizetype(b.spelling.size()), cp);
        shares.push_back({value, b.count, records > 0 ? double(b.count) / double(records) : 0.0});
    }
    std::stable_sort(shares.begin(), shares.end(), [](const Share &a, const Share &b) {
        const bool blankA = a.value == QLatin1String(kBlankValue), blankB = b.value == QLatin1String(kBlankValue);
        if (blankA != blankB)
            return blankB; // the blank ones last
        if (a.count != b.count)
            return a.count > b.count;
        return a.value.compare(b.value, Qt::CaseInsensitive) < 0;
    });
    return shares;
}

QString decadeLabel(int decade) { return decade < 0 ? QString::fromLatin1(kBlankValue) : QStringLiteral("%1s").arg(decade); }

} // namespace

CollectionStats collectStats(const Table &table, StatsScope scope, const QDate &today, int overdueDays)
{
    CollectionStats st;
    st.overdueDays = overdueDays;
    const Codepage cp = table.codepage();
    const std::uint8_t *upper = upperTable(cp);
    const std::uint32_t count = table.physicalCount();
    std::vector<std::uint8_t> shown;
    if (scope == StatsScope::Visible) {
        shown.assign(std::size_t(count) + 1, 0);
        for (int p = 0, n = table.recordCount(); p < n; ++p) {
            const std::uint32_t r = table.recNoAt(p);
            if (r <= count)
                shown[r] = 1;
        }
    }
    namespace f = fields;
    constexpr int kRating = 13, kCategory = 14, kFormat = 17, kPersonalRa = 18, kContent = 24;
    const Slice category = sliceOf(table, kCategory), format = sliceOf(table, kFormat),
                content = sliceOf(table, kContent), rating = sliceOf(table, kRating),
                personal = sliceOf(table, kPersonalRa), year = sliceOf(table, f::Year),
                runTime = sliceOf(table, f::RunTime), listPrice = sliceOf(table, f::ListPrice),
                purchPrice = sliceOf(table, f::PurchPrice), checkOut = sliceOf(table, f::CheckOut),
                checkDate = sliceOf(table, f::CheckDate), checkName = sliceOf(table, f::CheckName),
                title = sliceOf(table, f::Title);
    Tally categories(upper), formats(upper), contents(upper), ratings(upper), personals(upper), borrowers(upper);
    std::vector<qint64> decades(1000, 0); // decade / 10, one slot for the blank year at the end
    qint64 blankYears = 0;
    // The fields read lie across the record: those of a record some places ahead are
    // fetched meanwhile.
    std::vector<int> lines;
    for (const Slice *s : {&category, &format, &content, &rating, &personal, &year, &runTime, &listPrice,
                           &purchPrice, &checkOut, &title})
        if (s->present() && std::find(lines.begin(), lines.end(), s->offset / 64) == lines.end())
            lines.push_back(s->offset / 64);
    constexpr std::uint32_t kAhead = 4;
    const std::ptrdiff_t ahead = count > 1 ? (table.recordData(2) - table.recordData(1)) * kAhead : 0;
    for (std::uint32_t r = 1; r <= count; ++r) {
        if (!shown.empty() && !shown[r])
            continue;
        const char *rec = table.recordData(r);
        if (r + kAhead <= count)
            for (int line : lines)
                __builtin_prefetch(rec + ahead + line * 64);
        if (rec[0] == kDeletedFlag)
            continue;
        ++st.records;
        categories.add(trimmed(rec, category));
        formats.add(trimmed(rec, format));
        contents.add(trimmed(rec, content));
        ratings.add(trimmed(rec, rating));
        personals.add(trimmed(rec, personal));
        const int y = int(numberOf(trimmed(rec, year)));
        if (y > 0 && y < 10000)
            ++decades[size_t(y / 10)];
        else
            ++blankYears;
        st.runTimeMinutes += qint64(numberOf(trimmed(rec, runTime)));
        st.listValue += numberOf(trimmed(rec, listPrice));
        st.purchaseValue += numberOf(trimmed(rec, purchPrice));
        const std::string_view out = trimmed(rec, checkOut);
        if (out.size() == 3 && upper[std::uint8_t(out[0])] == 'Y' && upper[std::uint8_t(out[1])] == 'E' &&
            upper[std::uint8_t(out[2])] == 'S') {
            Loan loan;
            loan.recno = r;
            const std::string_view t = trimmed(rec, title), who = trimmed(rec, checkName);
            loan.title = decode(t.data(), qsizetype(t.size()), cp);
            loan.person = who.empty() ? QString::fromLatin1(kBlankValue) : decode(who.data(), qsizetype(who.size()), cp);
            loan.since = dateOf(trimmed(rec, checkDate));
            if (loan.since.isValid()) {
                loan.days = int(loan.since.daysTo(today));
                loan.overdue = loan.days > overdueDays;
            }
            st.overdue += loan.overdue ? 1 : 0;
            borrowers.add(who);
            st.loans.push_back(std::move(loan));
        }
    }
    st.byCategory = sharesOf(categories, cp, st.records);
    st.byFormat = sharesOf(formats, cp, st.records);
    st.byContent = sharesOf(contents, cp, st.records);
    st.byRating = sharesOf(ratings, cp, st.records);
    st.byPersonalRating = sharesOf(personals, cp, st.records);
    st.byBorrower = sharesOf(borrowers, cp, qint64(st.loans.size()));
    for (std::size_t d = 0; d < decades.size(); ++d)
        if (decades[d] > 0)
            st.byDecade.push_back({decadeLabel(int(d) * 10), decades[d], double(decades[d]) / double(st.records)});
    if (blankYears > 0)
        st.byDecade.push_back({decadeLabel(-1), blankYears, double(blankYears) / double(st.records)});
    std::stable_sort(st.loans.begin(), st.loans.end(), [](const Loan &a, const Loan &b) { return a.days > b.days; });
    return st;
}

namespace {

QString percent(double share) { return QString::number(share * 100.0, 'f', 1) + QLatin1Char('%'); }

void section(QString &out, const QString &heading, const std::vector<Share> &shares)
{
    out += heading + QLatin1Char('\n');
    for (const Share &s : shares)
        out += QStringLiteral("  %1\t%2\t%3\n").arg(s.value).arg(s.count).arg(percent(s.share));
    out += QLatin1Char('\n');
}

QJsonArray sharesJson(const std::vector<Share> &shares)
{
    QJsonArray a;
    for (const Share &s : shares)
        a.append(QJsonObject{{QStringLiteral("value"), s.value},
                             {QStringLiteral("count"), s.count},
                             {QStringLiteral("share"), s.share}});
    return a;
}

} // namespace

QString statsText(const CollectionStats &st)
{
    QString out;
    out += QStringLiteral("Videos\t%1\n").arg(st.records);
    out += QStringLiteral("Total running time\t%1 minutes (%2 h %3 min)\n")
               .arg(st.runTimeMinutes)
               .arg(st.runTimeMinutes / 60)
               .arg(st.runTimeMinutes % 60);
    out += QStringLiteral("List value\t%1\n").arg(st.listValue, 0, 'f', 2);
    out += QStringLiteral("Purchase value\t%1\n\n").arg(st.purchaseValue, 0, 'f', 2);
    section(out, QStringLiteral("Category"), st.byCategory);
    section(out, QStringLiteral("Format"), st.byFormat);
    section(out, QStringLiteral("Content"), st.byContent);
    section(out, QStringLiteral("Rating"), st.byRating);
    section(out, QStringLiteral("Decade"), st.byDecade);
    section(out, QStringLiteral("Personal Rating"), st.byPersonalRating);
    out += QStringLiteral("Checked out\t%1 (overdue after %2 days: %3)\n")
               .arg(st.loans.size())
               .arg(st.overdueDays)
               .arg(st.overdue);
    for (const Loan &l : st.loans)
        out += QStringLiteral("  %1\t%2\t%3\t%4%5\n")
                   .arg(l.title, l.person, l.since.isValid() ? l.since.toString(Qt::ISODate) : QString(),
                        l.days >= 0 ? QStringLiteral("%1 days").arg(l.days) : QString(),
                        l.overdue ? QStringLiteral("\toverdue") : QString());
    out += QLatin1Char('\n');
    section(out, QStringLiteral("Borrower"), st.byBorrower);
    return out;
}

QJsonObject statsJson(const CollectionStats &st)
{
    QJsonArray loans;
    for (const Loan &l : st.loans)
        loans.append(QJsonObject{{QStringLiteral("record"), qint64(l.recno)},
                                 {QStringLiteral("title"), l.title},
                                 {QStringLiteral("person"), l.person},
                                 {QStringLiteral("since"), l.since.isValid() ? l.since.toString(Qt::ISODate) : QString()},
                                 {QStringLiteral("days"), l.days},
                                 {QStringLiteral("overdue"), l.overdue}});
    return QJsonObject{{QStringLiteral("videos"), st.records},
                       {QStringLiteral("runTimeMinutes"), st.runTimeMinutes},
                       {QStringLiteral("listValue"), st.listValue},
                       {QStringLiteral("purchaseValue"), st.purchaseValue},
                       {QStringLiteral("category"), sharesJson(st.byCategory)},
                       {QStringLiteral("format"), sharesJson(st.byFormat)},
                       {QStringLiteral("content"), sharesJson(st.byContent)},
                       {QStringLiteral("rating"), sharesJson(st.byRating)},
                       {QStringLiteral("decade"), sharesJson(st.byDecade)},
                       {QStringLiteral("personalRating"), sharesJson(st.byPersonalRating)},
                       {QStringLiteral("overdueAfterDays"), st.overdueDays},
                       {QStringLiteral("overdue"), st.overdue},
                       {QStringLiteral("checkedOut"), loans},
                       {QStringLiteral("borrowers"), sharesJson(st.byBorrower)}};
}

} // namespace kv
