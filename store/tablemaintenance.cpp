// The table object: creating a table, the tags of its production index, and pack.
#include "store/table.h"
#include "store/tablewriters.h"

#include "store/dbf/companion.h"

#include <QFile>
#include <QFileInfo>

namespace kv {

// ---------------------------------------------------------------- creating

void Table::clearFieldDefs() { fieldDefs_.clear(); }
void Table::clearIndexDefs() {}

void Table::addFieldDef(const QString &name, FieldKind kind, int size, bool required)
{
    Q_UNUSED(required); // dBASE tables know no required fields
    switch (kind) {
    case FieldKind::Text: addFieldDef(name, 'C', size, 0); break;
    case FieldKind::Integer: addFieldDef(name, 'N', 11, 0); break;
    case FieldKind::Real: addFieldDef(name, 'N', 20, 4); break;
    case FieldKind::Date: addFieldDef(name, 'D', 8, 0); break;
    }
}

void Table::addFieldDef(const QString &name, char type, int width, int decimals)
{
    fieldDefs_.push_back(checkFieldDef(name, type, width, decimals, fieldDefs_));
}

void Table::createTable()
{
    if (isOpen())
        fail(QStringLiteral("Cannot create the table \"%1\" while it is open.").arg(tableName_));
    if (fieldDefs_.empty())
        fail(QStringLiteral("Cannot create the table \"%1\" without fields.").arg(tableName_));
    DbfFile::create(filePath(), fieldDefs_);
}

// ---------------------------------------------------------------- index tags and maintenance

// reorders: whether the work can change the active order; a tag added or deleted beside
// the active one leaves it as it is, and the view is then not made again.
template <typename F> void Table::withExclusiveUse(const char *operation, bool reorders, F &&work)
{
    if (isOpen()) {
        if (!exclusive_)
            fail(QStringLiteral("Cannot %1: it needs exclusive use of the table \"%2\".")
                     .arg(QLatin1String(operation), displayName()));
        if (!dbf_.writable())
            fail(QStringLiteral("Cannot %1: the table \"%2\" is read only.").arg(QLatin1String(operation), displayName()));
        requireSound();
        checkBrowseMode();
        if (batch_) // the lock of a batch of changes is not kept across the work
            batch_->endChunk();
        const std::uint32_t keep = recNo();
        work();
        if (reorders)
            rebuildView(keep);
        notify();
        return;
    }
    const bool wasExclusive = exclusive_;
    const QString wasIndex = indexName_;
    exclusive_ = true;
    indexName_.clear();
    try {
        open();
        requireSound();
        if (!dbf_.writable())
            fail(QStringLiteral("Cannot %1: the table \"%2\" is read only.").arg(QLatin1String(operation), displayName()));
        work();
    } catch (...) {
        close();
        exclusive_ = wasExclusive;
        indexName_ = wasIndex;
        throw;
    }
    close();
    exclusive_ = wasExclusive;
    indexName_ = wasIndex;
}

QStringList Table::indexNames() const { return index_.names(); }

QString Table::indexExpression(const QString &name) const { return index_.expression(name); }

// Replaces the production index with one of these tags (none: no index at all). When
// the new file cannot be written the old one stays in use.
void Table::writeIndexFile(std::vector<IndexTags::Tag> tags, const IndexTags::Sorted *sorted)
{
    const QString path = mdxPath();
    closeIndex();
    if (tags.empty()) {
        dbf_.setProductionFlag(false);
        QFile::remove(path);
    } else {
        try {
            const QString base = tableBaseName(QFileInfo(filePath()).fileName());
            if (sorted)
                IndexTags::write(path, base, dbf_.header().ldid, tags, *sorted);
            else
                IndexTags::write(path, base, dbf_.header().ldid, tags, dbf_.count(),
                                 [this](std::uint32_t r) { return recordData(r); });
        } catch (const DbError &) {
            try {
                loadIndex();
            } catch (const DbError &) {
            }
            throw;
        }
        dbf_.setProductionFlag(true);
    }
    loadIndex();
    syncIndexWithFile();
}

void Table::addIndex(const QString &name, const QString &expression)
{
    const QString tagName = name.trimmed().toUpper();
    bool ok = !tagName.isEmpty() && tagName.size() <= 10 && tagName.at(0).isLetter();
    for (QChar c : tagName)
        ok = ok && c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    if (!ok)
        fail(QStringLiteral("\"%1\" is not a valid index tag name.").arg(name));
    const bool active = indexName_.compare(tagName, Qt::CaseInsensitive) == 0;
    withExclusiveUse("add an index", active, [&] {
        if (!index_.problem().isEmpty())
            fail(index_.problem());
        std::vector<IndexTags::Tag> tags = index_.tagsWithout(tagName);
        tags.push_back({tagName, KeyExpression::parse(expression, codec_.fields(), upperTable(codec_.codepage()))});
        writeIndexFile(std::move(tags));
    });
}

void Table::deleteIndex(const QString &name)
{
    const bool active = indexName_.compare(name, Qt::CaseInsensitive) == 0;
    withExclusiveUse("delete an index", active, [&] {
        if (index_.find(name) < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".").arg(name, displayName()));
        if (!index_.problem().isEmpty())
            fail(index_.problem());
        if (indexName_.compare(name, Qt::CaseInsensitive) == 0)
            indexName_.clear();
        writeIndexFile(index_.tagsWithout(name));
    });
}

void Table::regenerateIndexes()
{
    withExclusiveUse("rebuild the indexes", true, [&] {
        if (!index_.isOpen())
            return;
        if (!index_.problem().isEmpty())
            fail(index_.problem());
        writeIndexFile(index_.tags());
    });
}

QString Table::indexProblem() const
{
    requireOpen("check the index");
    if (!index_.problem().isEmpty())
        return index_.problem();
    if (indexStale_)
        return QStringLiteral("The index of the table \"%1\" is behind its records: a run that changed them stopped midway. "
                              "The next open that may write the table rebuilds it.").arg(displayName());
    return index_.verify(dbf_.count(), [this](std::uint32_t r) { return recordData(r); });
}

void Table::pack()
{
    withExclusiveUse("pack the table", true, [&] {
        if (!index_.problem().isEmpty())
            fail(index_.problem());
        const std::vector<IndexTags::Tag> tags = index_.tags();
        // From the packed table's rename until its index is written, the table says
        // that its index is behind: a run stopped there is repaired at the next open.
        const bool indexed = index_.isOpen() || !tags.empty();
        // The new keys are sorted while the packed copy is written.
        IndexTags::Sorted sorted;
        DbfFile::WhileWriting sortKeys;
        if (!tags.empty())
            sortKeys = [&](std::uint32_t count, const DbfFile::RecordAt &record) {
                sorted = IndexTags::sort(tags, count, record);
            };
        dbf_.pack(indexed, sortKeys);
        if (indexed) {
            writeIndexFile(tags, tags.empty() ? nullptr : &sorted);
            dbf_.setIndexPending(false);
        }
    });
}

} // namespace kv
