#include "store/indextags.h"

#include "store/index/collation.h"
#include "store/index/keysort.h"
#include "store/index/mdx.h"

#include "base/dberror.h"

#include <QDir>

#include <cstring>

namespace kv {

IndexTags::IndexTags() = default;
IndexTags::~IndexTags() = default;

void IndexTags::open(const QString &path, bool writable, const RecordCodec &codec, const QString &shownTable)
{
    close();
    auto mdx = std::make_unique<MdxFile>();
    mdx->open(path, writable);
    mdx_ = std::move(mdx);
    path_ = path;
    try {
        for (int i = 0; i < mdx_->tagCount(); ++i) {
            const MdxTagInfo &info = mdx_->tag(i);
            try {
                tags_.push_back({QString::fromLatin1(info.name),
                                 KeyExpression::parse(QString::fromLatin1(info.expression), codec.fields(),
                                                      upperTable(codec.codepage()))});
                // Keys of another length than the expression gives cannot be compared or written.
                if (tags_.back().expression.keyLength() != info.keyLength)
                    throw DbError(QStringLiteral("its keys are %1 bytes long, its expression gives %2")
                                      .arg(info.keyLength)
                                      .arg(tags_.back().expression.keyLength()));
            } catch (const DbError &e) {
                throw DbError(QStringLiteral("The index tag \"%1\" of \"%2\" cannot be kept up to date by this program (%3).")
                                  .arg(QString::fromLatin1(info.name), shownTable, e.message()));
            }
        }
    } catch (const DbError &e) {
        tags_.clear();
        problem_ = e.message();
    }
}

void IndexTags::close()
{
    mdx_.reset();
    path_.clear();
    tags_.clear();
    problem_.clear();
}

std::vector<IndexTags::Tag> IndexTags::tagsWithout(const QString &name) const
{
    std::vector<Tag> tags;
    for (const Tag &t : tags_)
        if (t.name.compare(name, Qt::CaseInsensitive) != 0)
            tags.push_back(t);
    return tags;
}

int IndexTags::find(const QString &name) const { return mdx_ ? mdx_->findTag(name.toLatin1()) : -1; }

QStringList IndexTags::names() const
{
    QStringList names;
    if (mdx_) {
        for (int i = 0; i < mdx_->tagCount(); ++i)
            names << QString::fromLatin1(mdx_->tag(i).name);
    }
    return names;
}

QString IndexTags::expression(const QString &name) const
{
    const int i = find(name);
    return i < 0 ? QString() : QString::fromLatin1(mdx_->tag(i).expression);
}

std::vector<std::uint32_t> IndexTags::readOrder(int tag, bool *inKeyOrder) const
{
    return mdx_->readOrder(tag, inKeyOrder);
}

void IndexTags::insert(std::uint32_t recno, const char *record, bool last)
{
    // Keys are at most 100 bytes: made on the stack, with no allocation for each record.
    char key[128];
    for (size_t t = 0; t < tags_.size(); ++t) {
        tags_[t].expression.evaluate(record, key);
        mdx_->insert(int(t), key, recno, last);
    }
}

bool IndexTags::update(std::uint32_t recno, const char *before, const char *after, int watch)
{
    bool watchedChanged = false;
    for (size_t t = 0; t < tags_.size(); ++t) {
        const QByteArray old = tags_[t].expression.evaluate(before);
        const QByteArray now = tags_[t].expression.evaluate(after);
        if (old != now) {
            mdx_->remove(int(t), old.constData(), recno);
            mdx_->insert(int(t), now.constData(), recno);
            watchedChanged = watchedChanged || int(t) == watch;
        }
    }
    return watchedChanged;
}

std::uint64_t IndexTags::writesMade() const { return mdx_ ? mdx_->writesMade() : 0; }

bool IndexTags::sync(bool writable)
{
    if (!mdx_)
        return false;
    // Writers replace the index by renaming a new file over it, which leaves ours unlinked.
    if (mdx_->replaced()) {
        mdx_->close();
        mdx_->open(path_, writable);
        return true;
    }
    mdx_->reload();
    return false;
}

namespace {
const char kUnsound[] = "The index file \"%1\" does not match its table: the tag %2 %3.";
} // namespace

QString IndexTags::verifyEntries(std::uint32_t count) const
{
    if (!mdx_)
        return QString();
    const QString unsound = QString::fromLatin1(kUnsound).arg(QDir::toNativeSeparators(path_));
    std::vector<std::uint8_t> seen;
    for (size_t t = 0; t < tags_.size(); ++t) {
        std::vector<std::uint32_t> recnos;
        try {
            recnos = mdx_->readOrder(int(t));
        } catch (const DbError &e) {
            return e.message();
        }
        const QString &name = tags_[t].name;
        if (recnos.size() != count)
            return unsound.arg(name, QStringLiteral("lists %1 entries for %2 records").arg(recnos.size()).arg(count));
        seen.assign(std::size_t(count) + 1, 0);
        for (const std::uint32_t r : recnos) {
            if (r == 0 || r > count || seen[r])
                return unsound.arg(name, QStringLiteral("lists record %1 wrongly").arg(r));
            seen[r] = 1;
        }
    }
    return QString();
}

QString IndexTags::verify(std::uint32_t count, const RecordAt &record) const
{
    if (!mdx_)
        return QString();
    const QString unsound = QString::fromLatin1(kUnsound);
    std::vector<char> keys;
    std::vector<std::uint32_t> recnos;
    std::vector<std::uint8_t> seen;
    for (size_t t = 0; t < tags_.size(); ++t) {
        try {
            mdx_->readEntries(int(t), keys, recnos);
        } catch (const DbError &e) {
            return e.message();
        }
        const KeyExpression &e = tags_[t].expression;
        const std::size_t length = std::size_t(e.keyLength());
        const QString &name = tags_[t].name;
        if (mdx_->tag(int(t)).keyLength != int(length) || keys.size() != recnos.size() * length)
            return unsound.arg(QDir::toNativeSeparators(path_), name, QStringLiteral("has keys of another length than its expression gives"));
        if (recnos.size() != count)
            return unsound.arg(QDir::toNativeSeparators(path_), name, QStringLiteral("lists %1 entries for %2 records").arg(recnos.size()).arg(count));
        seen.assign(std::size_t(count) + 1, 0);
        QByteArray key(qsizetype(length), '\0');
        for (std::size_t i = 0; i < recnos.size(); ++i) {
            const std::uint32_t r = recnos[i];
            if (r == 0 || r > count || seen[r])
                return unsound.arg(QDir::toNativeSeparators(path_), name, QStringLiteral("lists record %1 wrongly").arg(r));
            seen[r] = 1;
            e.evaluate(record(r), key.data());
            if (std::memcmp(key.constData(), keys.data() + i * length, length) != 0)
                return unsound.arg(QDir::toNativeSeparators(path_), name, QStringLiteral("has a key for record %1 that the record does not give").arg(r));
        }
    }
    return QString();
}

IndexTags::Sorted IndexTags::sort(const std::vector<Tag> &tags, std::uint32_t count, const RecordAt &record)
{
    Sorted sorted;
    sorted.keys.resize(tags.size());
    sorted.orders.resize(tags.size());
    for (size_t t = 0; t < tags.size(); ++t)
        sorted.orders[t] = sortByKey(count, record, tags[t].expression, &sorted.keys[t]);
    return sorted;
}

namespace {

// Entries order by key in the key order, equal keys by record number.
bool entryBefore(const char *keyA, std::uint32_t recA, const char *keyB, std::uint32_t recB, std::size_t length)
{
    const int c = compareKeys(keyA, keyB, length);
    return c != 0 ? c < 0 : recA < recB;
}

} // namespace

IndexTags::Sorted IndexTags::withAdded(std::uint32_t first, std::uint32_t count, const RecordAt &record) const
{
    Sorted sorted;
    sorted.keys.resize(tags_.size());
    sorted.orders.resize(tags_.size());
    std::vector<char> oldKeys, newKeys;
    std::vector<std::uint32_t> oldRecnos;
    for (size_t t = 0; t < tags_.size(); ++t) {
        const KeyExpression &e = tags_[t].expression;
        const std::size_t length = std::size_t(e.keyLength());
        bool usable = true;
        try {
            mdx_->readEntries(int(t), oldKeys, oldRecnos);
        } catch (const DbError &) {
            usable = false;
        }
        usable = usable && oldRecnos.size() == std::size_t(first - 1) && oldKeys.size() == oldRecnos.size() * length;
        std::vector<std::uint8_t> seen(usable ? first : 0, 0);
        for (std::size_t i = 0; usable && i < oldRecnos.size(); ++i) {
            const std::uint32_t r = oldRecnos[i];
            usable = r >= 1 && r < first && !seen[r] &&
                     (i == 0 || entryBefore(oldKeys.data() + (i - 1) * length, oldRecnos[i - 1], oldKeys.data() + i * length, r, length));
            if (usable)
                seen[r] = 1;
        }
        if (!usable) {
            sorted.orders[t] = sortByKey(count, record, e, &sorted.keys[t]);
            continue;
        }
        // The new records' keys sorted on their own, then both runs merged.
        std::vector<std::uint32_t> added = sortByKey(
            count - first + 1, [&](std::uint32_t r) { return record(first - 1 + r); }, e, &newKeys);
        for (std::uint32_t &r : added)
            r += first - 1;
        std::vector<char> &keys = sorted.keys[t];
        std::vector<std::uint32_t> &order = sorted.orders[t];
        keys.resize(std::size_t(count) * length);
        order.resize(count);
        std::size_t a = 0, b = 0;
        for (std::size_t out = 0; out < count; ++out) {
            const bool takeOld = b == added.size() ||
                (a < oldRecnos.size() &&
                 entryBefore(oldKeys.data() + a * length, oldRecnos[a], newKeys.data() + b * length, added[b], length));
            const char *key = takeOld ? oldKeys.data() + a * length : newKeys.data() + b * length;
            order[out] = takeOld ? oldRecnos[a++] : added[b++];
            std::memcpy(keys.data() + out * length, key, length);
        }
    }
    return sorted;
}

void IndexTags::write(const QString &path, const QString &tableBase, std::uint8_t ldid, const std::vector<Tag> &tags,
                      std::uint32_t count, const RecordAt &record)
{
    write(path, tableBase, ldid, tags, sort(tags, count, record));
}

void IndexTags::write(const QString &path, const QString &tableBase, std::uint8_t ldid, const std::vector<Tag> &tags,
                      const Sorted &sorted)
{
    const auto &keys = sorted.keys;
    const auto &orders = sorted.orders;
    std::vector<MdxTagData> data(tags.size());
    for (size_t t = 0; t < tags.size(); ++t) {
        data[t].info.name = tags[t].name.toUpper().toLatin1();
        data[t].info.expression = tags[t].expression.text().toLatin1();
        data[t].info.keyLength = tags[t].expression.keyLength();
        data[t].info.keyType = 'C';
        data[t].keys = keys[t].data();
        data[t].recnos = orders[t].data();
        data[t].count = orders[t].size();
    }
    MdxFile::write(path, tableBase.toUpper().toLatin1(), ldid, data);
}

} // namespace kv
