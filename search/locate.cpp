#include "search/locate.h"

#include "base/codepage.h"
#include "base/numbertext.h"
#include "search/rawtext.h"
#include "store/dbf/recordcodec.h"

#include <algorithm>

namespace kv {

QString locateTitle(const Table &table, int field)
{
    const Table::FieldDisplay &display = table.fieldDisplay(field);
    QString title = display.visible && !display.title.isEmpty() ? display.title : table.fieldName(field);
    return title.remove(QLatin1Char('~'));
}

QStringList locateTitles(const Table &table, const LocateOptions &options)
{
    QStringList titles;
    for (int f = 0; f < table.fieldCount(); ++f)
        if (!options.visibleFieldsOnly || table.fieldDisplay(f).visible)
            titles << locateTitle(table, f);
    if (options.sortFields)
        std::sort(titles.begin(), titles.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return titles;
}

QString locateFieldOf(const Table &table, const QString &title)
{
    const QString wanted = QString(title).remove(QLatin1Char('~'));
    for (int f = 0; f < table.fieldCount(); ++f)
        if (locateTitle(table, f) == wanted)
            return table.fieldName(f);
    return QString();
}

bool locateRecord(Table &table, const LocateOptions &options, bool fromStart)
{
    const int field = table.fieldIndex(options.fieldName);
    if (!table.isOpen() || field < 0)
        return false;
    const QString &value = options.searchValue;
    if (value.isEmpty() && options.match != LocateMatch::Exact)
        return false;
    const FieldLayout &layout = table.fieldLayout(field);
    const std::optional<double> number = readDecimalNumber(value);
    const bool numeric = options.match == LocateMatch::Exact && (layout.type == 'N' || layout.type == 'F') && number;
    const bool text = layout.type == 'C' && !numeric;
    if (!numeric && !text) {
        static constexpr Table::Match kMatches[] = {Table::Match::Exact, Table::Match::PartialAtStart,
                                                    Table::Match::PartialAnywhere};
        return table.locate(options.fieldName, value, kMatches[int(options.match)], options.caseSensitive, fromStart);
    }
    // Text and numbers are compared as the records store them, without decoding.
    const RecordCodec codec(table.fieldLayouts(), table.codepage());
    const std::uint8_t *up = options.caseSensitive ? rawtext::identity() : upperTable(table.codepage());
    QByteArray needle = encode(value, table.codepage());
    if (text && decode(needle, table.codepage()) != value)
        return false; // a character the table cannot hold is in no record
    for (char &c : needle)
        c = char(up[std::uint8_t(c)]);
    // The order is the sort order, so the records lie anywhere in the file: the field of
    // a record some places ahead is fetched meanwhile.
    constexpr int kAhead = 8;
    const int count = table.recordCount();
    for (int p = fromStart ? 0 : table.position() + 1; p < count; ++p) {
        if (p + kAhead < count)
            __builtin_prefetch(table.recordData(table.recNoAt(p + kAhead)) + layout.offset);
        const char *record = table.recordData(table.recNoAt(p));
        bool hit = false;
        if (numeric) {
            hit = codec.number(record, field) == *number;
        } else {
            const char *bytes = record + layout.offset;
            const int length = rawtext::textEnd(bytes, layout.width);
            switch (options.match) {
            case LocateMatch::Exact: hit = rawtext::equals(bytes, length, needle, up); break;
            case LocateMatch::PartialAtStart: hit = rawtext::startsWith(bytes, length, needle, up); break;
            case LocateMatch::PartialAnywhere: hit = rawtext::contains(bytes, length, needle, up); break;
            }
        }
        if (hit) {
            table.moveTo(p);
            return true;
        }
    }
    return false;
}

bool findNext(Table &table, LocateOptions &options, Prompt &prompt, const std::function<bool()> &execute)
{
    if (!table.isOpen()) {
        prompt.message(MessageKind::Warning, QStringLiteral("Warning"), QString::fromLatin1(kNoActiveTable),
                       Buttons::Ok, Answer::Ok);
        return false;
    }
    if (options.searchValue.isEmpty()) {
        options.nextIsDefault = true;
        return execute();
    }
    if (locateRecord(table, options, false))
        return true;
    if (options.showMessages)
        prompt.message(MessageKind::Information, QString::fromLatin1(kLocateNoticeCaption),
                       QString::fromLatin1(kNoMoreLocateMatches), Buttons::Ok, Answer::Ok);
    return false;
}

} // namespace kv
