#include "search/replace.h"

#include "base/dateformat.h"
#include "base/numbertext.h"
#include "search/criteria.h"
#include "search/rawtext.h"
#include "base/codepage.h"
#include "store/dbf/recordcodec.h"
#include "store/catalogue.h"
#include "store/fieldtable.h"

#include <QFileInfo>

namespace kv {

namespace {

std::optional<QDate> dateOf(const QString &text)
{
    if (blankDateText(text))
        return std::nullopt;
    const std::optional<QDate> date = parseDate(text);
    return date && date->isValid() ? date : std::nullopt;
}

void reopenShared(Table &master, const QString &tag, const ReplaceHooks &hooks)
{
    master.close();
    master.setExclusive(false);
    master.setIndexName(tag);
    master.open();
    if (hooks.viewerChanged)
        hooks.viewerChanged();
}

} // namespace

ReplaceCheck checkReplace(const ReplaceRequest &r)
{
    if (r.field < 1 || r.field > kFieldCount)
        return {ReplaceCheck::Field, QString::fromLatin1(kNoFieldSelected)};
    const QString search = r.search.trimmed(), replacement = r.replacement.trimmed();
    switch (rowType(r.field)) {
    case RowType::Text: return {};
    case RowType::Numeric:
        if (!readDecimalNumber(search))
            return {ReplaceCheck::Search, QString::fromLatin1(kBadSearchValue)};
        if (!readDecimalNumber(replacement))
            return {ReplaceCheck::Replacement, QString::fromLatin1(kBadReplacementValue)};
        return {};
    case RowType::Date:
        if (!dateOf(search))
            return {ReplaceCheck::Search, QString::fromLatin1(kBadSearchDate)};
        if (!dateOf(replacement))
            return {ReplaceCheck::Replacement, QString::fromLatin1(kBadReplacementDate)};
        return {};
    }
    return {};
}

ReplaceResult searchAndReplace(Table &master, Table &check, const QString &sortExpression,
                               const ReplaceRequest &request, Prompt &prompt, const ReplaceHooks &hooks,
                               ReplaceCounters &counters)
{
    const ReplaceCheck valid = checkReplace(request);
    if (!valid.ok()) {
        prompt.showError(valid.message);
        return ReplaceResult::Refused;
    }
    const QString path = master.filePath();
    const QString tag = master.indexName();
    master.close();
    if (dbaseInUse(check, path)) {
        prompt.showError(QString::fromLatin1(kReplaceInUse));
        reopenShared(master, tag, hooks);
        return ReplaceResult::InUse;
    }
    counters = {};
    // The run sees the whole catalogue; ended while the table is closed, the search
    // costs no filter pass.
    const bool searchWasOn = hooks.endSearch && hooks.endSearch();
    // Without the sort tag the run walks the file order, so changed values move nothing.
    try {
        master.setIndexName(QString());
        master.setExclusive(true);
        master.open();
        if (QFileInfo::exists(master.mdxPath()) &&
            master.indexNames().contains(QString::fromLatin1(kSortTagName), Qt::CaseInsensitive))
            master.deleteIndex(QString::fromLatin1(kSortTagName));
    } catch (const DbError &) {
        prompt.showError(QString::fromLatin1(kReplaceAborted));
        reopenShared(master, tag, hooks);
        if (searchWasOn && hooks.restartSearch)
            hooks.restartSearch();
        return ReplaceResult::Failed;
    }
    if (hooks.viewerChanged)
        hooks.viewerChanged();

    const int f = master.fieldIndex(fieldName(request.field));
    const RowType type = rowType(request.field);
    const QString search = request.search.trimmed().toUpper(), replacement = request.replacement.trimmed();
    const double number = readDecimalNumber(search).value_or(0);
    const QDate date = type == RowType::Date ? *dateOf(search) : QDate();
    const QDate newDate = type == RowType::Date ? *dateOf(replacement) : QDate();
    const int title = master.fieldIndex(fieldName(fields::Title));
    // The records are compared as stored, without decoding each field.
    const RecordCodec codec(master.fieldLayouts(), master.codepage());
    const std::uint8_t *up = upperTable(master.codepage());
    QByteArray needle = encode(search, master.codepage());
    const bool storable = decode(needle, master.codepage()) == search;
    for (char &c : needle)
        c = char(up[std::uint8_t(c)]);
    const FieldLayout &layout = master.fieldLayout(f);
    ReplaceResult result = ReplaceResult::Done;
    try {
        // The changed records are written in chunks, each under one lock with one header
        // write; the viewer hears of them at the end.
        Table::Changes changes(master);
        for (master.first(); !master.eof(); master.next()) {
            ++counters.processed;
            const char *record = master.recordData(master.recNo());
            const char *bytes = record + layout.offset;
            const bool match =
                type == RowType::Text
                    ? layout.type == 'C' ? storable && rawtext::equals(bytes, rawtext::textEnd(bytes, layout.width), needle, up)
                                         : master.fieldText(f).toUpper() == search
                : type == RowType::Numeric ? codec.number(record, f) == number
                                           : codec.date(record, f) == date;
            if (match) {
                ++counters.found;
                const bool change =
                    !request.confirm ||
                    prompt.message(MessageKind::Confirm, QStringLiteral("Confirm"),
                                   QStringLiteral("Item = \"%1\".  Change this record?").arg(master.fieldText(title)),
                                   Buttons::YesNo, Answer::Yes) == Answer::Yes;
                if (change) {
                    master.edit();
                    if (type == RowType::Date)
                        master.setFieldDate(f, newDate);
                    else
                        master.setFieldText(f, replacement);
                    master.post();
                    ++counters.changed;
                }
            }
            if (hooks.progress)
                hooks.progress(counters);
        }
        changes.commit();
    } catch (const DbError &e) {
        if (master.state() == Table::State::Edit)
            master.cancel();
        prompt.showError(e.message());
        result = ReplaceResult::Failed;
    }
    try {
        applySortExpression(master, sortExpression);
    } catch (const DbError &e) {
        prompt.showError(e.message());
        result = ReplaceResult::Failed;
    }
    // Shared again without closing: the table stays open in the new tag's order.
    master.setExclusive(false);
    if (searchWasOn && hooks.restartSearch)
        hooks.restartSearch();
    if (hooks.viewerChanged)
        hooks.viewerChanged();
    if (result == ReplaceResult::Done)
        prompt.message(MessageKind::Information, QStringLiteral("Finished"), QString::fromLatin1(kReplaceComplete),
                       Buttons::Ok, Answer::Ok);
    return result;
}

} // namespace kv
