#include "app/workspace/sortorder.h"

#include "app/settings/settings.h"
#include "base/paths.h"
#include "store/catalogue.h"

#include <QFileInfo>

namespace kv {

namespace {

const QString kSortTag = QString::fromLatin1(kSortTagName);

bool hasOpenSortTag(const Table &table) { return table.indexNames().contains(kSortTag, Qt::CaseInsensitive); }

// A read-only table object cannot take the file for itself: the tag is brought up to date
// through a writer of its own while nobody else has the file, and the table opened again.
std::optional<DbError> openKeepingCurrent(Table &table, const QString &expression)
{
    // Opened straight in the tag's order when it has one: one pass over the records.
    if (!expression.isEmpty())
        table.setIndexNameIfPresent(kSortTag);
    table.open();
    if (expression.isEmpty())
        return std::nullopt;
    const bool current =
        hasOpenSortTag(table) && table.indexExpression(kSortTag).compare(expression, Qt::CaseInsensitive) == 0;
    std::optional<DbError> failure;
    if (!current) {
        table.close();
        Table check, writer;
        writer.setPath(table.filePath());
        try {
            if (!dbaseInUse(check, table.filePath()))
                applySortExpression(writer, expression);
        } catch (const DbError &e) {
            failure = e;
        }
        table.open();
    }
    if (hasOpenSortTag(table))
        table.setIndexName(kSortTag);
    return failure;
}

} // namespace

std::optional<QString> savedSortExpression(const QString &tablePath)
{
    const QString ini = catalogueSettingsPath(tablePath);
    if (!QFileInfo::exists(resolveCaseInsensitive(ini)))
        return std::nullopt;
    Settings catalogue;
    readSettings(ini, SettingsScope::Catalogue, catalogue);
    return buildSortString(catalogue.sortLevels);
}

QString sortTagExpression(const Table &table)
{
    return hasOpenSortTag(table) ? table.indexExpression(kSortTag) : QString();
}

// The catalogue is read once: opened exclusively when its order must be built, which also
// tells whether another program has it; the order is built while the file is ours, and
// the table is then shared without closing it.
std::optional<DbError> openInSortOrder(Table &table, const QString &expression, SortTag how)
{
    if (how == SortTag::KeepCurrent)
        return openKeepingCurrent(table, expression);
    const bool hasTag = !expression.isEmpty() && hasSortTag(table.filePath());
    if (expression.isEmpty() || (how == SortTag::KeepExisting && hasTag)) {
        table.setIndexName(hasTag ? kSortTag : QString());
        table.setExclusive(false);
        table.open();
        return std::nullopt;
    }
    table.setIndexName(QString());
    table.setExclusive(true);
    try {
        table.open();
    } catch (const DbError &) {
        // Another program holds the file: its order cannot be built now, so use the tag
        // it already has, if any.
        table.setExclusive(false);
        table.setIndexName(hasTag ? kSortTag : QString());
        table.open();
        return std::nullopt;
    }
    std::optional<DbError> failure;
    try {
        applySortExpression(table, expression);
    } catch (const DbError &e) {
        table.setIndexName(QString());
        failure = e;
    }
    table.setExclusive(false);
    return failure;
}

} // namespace kv
