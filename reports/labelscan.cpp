#include "reports/labelscan.h"

#include "base/codepage.h"
#include "store/fieldtable.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstring>

namespace kv {

namespace {

constexpr char kNoItems[] =
    "No items are selected for print.  Please select printing criteria via the \"Options\" button.";
constexpr char kNoMediaNumbers[] = "No media numbers have been entered.  Please enter/choose some media numbers.";

} // namespace

bool labelRunAllowed(const Settings &s, LabelKind kind, LabelStock stock, Prompt &prompt)
{
    if (!anyLabelItem(s)) {
        prompt.beep();
        prompt.showError(QString::fromLatin1(kNoItems));
        return false;
    }
    const int rows = gridShape(kind, stock).rows;
    bool any = false;
    for (const auto &column : s.labelItems) {
        for (int row = 0; row < rows; ++row) {
            const QString cell = column[size_t(row)].trimmed();
            any = any || (!cell.isEmpty() && cell != QLatin1String(kNotUsed));
        }
    }
    if (!any) {
        prompt.beep();
        prompt.showError(QString::fromLatin1(kNoMediaNumbers));
    }
    return any;
}

QList<LabelPosition> labelPositions(const Settings &s, int count)
{
    QList<LabelPosition> positions;
    for (int i = 1; i <= std::clamp(count, 0, kMaxLabelPositions); ++i) {
        const auto [column, row] = positionCell(i);
        positions.append({s.labelItems[size_t(column)][size_t(row)].trimmed().left(kMediaNumberLength), {}});
    }
    return positions;
}

namespace {

// The bytes a media number has in the table's text field: a record whose field does not
// start with them cannot show that number, so most records are passed over without being
// read as text. A number the code page cannot hold has no such bytes: no record shows it.
class MediaPrefilter {
public:
    MediaPrefilter(const Table &table, int field, const QList<QString> &numbers)
    {
        if (field < 0 || table.fieldLayout(field).type != 'C')
            return; // read every record as text
        on_ = true;
        offset_ = table.fieldLayout(field).offset;
        for (const QString &number : numbers) {
            const QByteArray bytes = encode(number, table.codepage());
            if (decode(bytes, table.codepage()) != number)
                continue;
            first_[uchar(bytes.at(0))] = true;
            bytes_.append(bytes);
        }
    }
    bool mayMatch(const char *record) const
    {
        if (!on_)
            return true;
        const char *field = record + offset_;
        if (!first_[uchar(field[0])])
            return false;
        return std::any_of(bytes_.begin(), bytes_.end(), [field](const QByteArray &b) {
            return std::memcmp(field, b.constData(), size_t(b.size())) == 0;
        });
    }

private:
    bool on_ = false;
    int offset_ = 0;
    std::array<bool, 256> first_{};
    QList<QByteArray> bytes_;
};

} // namespace

bool collectLabelContents(const Table &table, QList<LabelPosition> &positions, const std::function<bool()> &keepGoing)
{
    constexpr std::size_t kAskEvery = 4096;
    // The positions waiting for each media number.
    QHash<QString, QList<int>> wanted;
    for (int i = 0; i < positions.size(); ++i)
        if (!positions[i].mediaNumber.isEmpty())
            wanted[positions[i].mediaNumber].append(i);
    if (wanted.isEmpty())
        return !keepGoing || keepGoing();

    const auto index = [&table](const char *name) { return table.fieldIndex(QLatin1String(name)); };
    const int media = index("MediaNum"), title = index("Title"), rating = index("Rating"),
              start = index("CounterSta"), stop = index("CounterSto"), year = index("Year"), play = index("RunTime"),
              category = index("Category");
    const auto text = [&table](const char *record, int field, int length) {
        return field < 0 ? QString() : table.textOf(record, field).left(length);
    };
    const MediaPrefilter prefilter(table, media, wanted.keys());
    int open = 0; // positions that still take recordings
    for (const LabelPosition &position : positions)
        open += position.mediaNumber.isEmpty() ? 0 : 1;
    // Labels look at the whole catalogue: a search that is on does not limit them.
    const std::vector<std::uint32_t> order = table.orderIgnoringFilter();
    for (std::size_t p = 0; p < order.size() && open > 0; ++p) {
        if (keepGoing && p % kAskEvery == 0 && !keepGoing())
            return false;
        const char *record = table.recordData(order[p]);
        if (!prefilter.mayMatch(record))
            continue;
        const auto found = wanted.constFind(text(record, media, kMediaNumberLength));
        if (found == wanted.constEnd())
            continue;
        const TLabelTitleRec content{text(record, title, 60),        text(record, rating, 15),
                                     text(record, media, 10),        text(record, start, 8),
                                     text(record, stop, 8),          text(record, year, 4),
                                     text(record, play, 3),          text(record, category, 20)};
        for (int i : *found) {
            QList<TLabelTitleRec> &contents = positions[i].contents;
            if (contents.size() < kMaxLabelContents) {
                contents.append(content);
                open -= contents.size() == kMaxLabelContents ? 1 : 0;
            }
        }
    }
    for (LabelPosition &position : positions)
        std::stable_sort(position.contents.begin(), position.contents.end(),
                         [](const TLabelTitleRec &a, const TLabelTitleRec &b) {
                             return a.startCounter > b.startCounter;
                         });
    return true;
}

} // namespace kv
