#pragma once
// The production index of an open table, kept current with its records: the .MDX and
// the key expression of every tag, followed again when another program changed the file.
#include "store/dbf/osfile.h"
#include "store/dbf/recordcodec.h"
#include "store/index/keyexpr.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kv {

class MdxFile;

class IndexTags {
public:
    struct Tag {
        QString name;
        KeyExpression expression;
    };
    using RecordAt = std::function<const char *(std::uint32_t recno)>;

    IndexTags();
    ~IndexTags();

    // Opens the .MDX at path and reads its tags against the table's fields. A tag this
    // program cannot keep current leaves the index readable and is named by problem().
    // Throws DbError when the file cannot be read.
    void open(const QString &path, bool writable, const RecordCodec &codec, const QString &shownTable);
    void close();
    bool isOpen() const { return mdx_ != nullptr; }
    const std::vector<Tag> &tags() const { return tags_; }
    // Every tag but the one of this name (compared without regard to case).
    std::vector<Tag> tagsWithout(const QString &name) const;
    const QString &problem() const { return problem_; }

    // Tags of the file by name, without regard to case; -1 when absent.
    int find(const QString &name) const;
    QStringList names() const;
    QString expression(const QString &name) const;
    // Record numbers in the tag's order; see MdxFile::readOrder().
    std::vector<std::uint32_t> readOrder(int tag, bool *inKeyOrder) const;

    // A new record's key into every tag; last: see MdxFile::insert().
    void insert(std::uint32_t recno, const char *record, bool last = false);
    // A changed record's keys moved where they changed; true when tag watch's key changed.
    bool update(std::uint32_t recno, const char *before, const char *after, int watch);
    // Writes made to the index file so far (see MdxFile::writesMade()).
    std::uint64_t writesMade() const;
    // Brings our picture of the index up to date with the file: opens it again when
    // another program has put a new file in its place (true then), else reads its
    // headers again, since another program sharing the table may have changed the
    // trees. Writers call it under the table's write lock, before any change.
    bool sync(bool writable);

    // Walks every tag entry by entry against records 1 ... count: each record once, with
    // the key its record gives. Empty when they agree, else what is wrong.
    QString verify(std::uint32_t count, const RecordAt &record) const;
    // The same for the entries alone, without making keys: each of records 1 ... count
    // listed once by every tag. What writers check before they add to an index.
    QString verifyEntries(std::uint32_t count) const;

    // The keys of these tags over records 1 ... count, sorted, ready to be written.
    struct Sorted {
        std::vector<std::vector<char>> keys;
        std::vector<std::vector<std::uint32_t>> orders;
    };
    static Sorted sort(const std::vector<Tag> &tags, std::uint32_t count, const RecordAt &record);
    // The open index's tags with the keys of records first ... count added: each tag's
    // entries, when they are first - 1 in the key order, merged with the new keys
    // sorted, so that the older records are not read; else every key made again.
    Sorted withAdded(std::uint32_t first, std::uint32_t count, const RecordAt &record) const;
    // Writes a new .MDX at path with these tags over records 1 ... count.
    static void write(const QString &path, const QString &tableBase, std::uint8_t ldid, const std::vector<Tag> &tags,
                      std::uint32_t count, const RecordAt &record);
    static void write(const QString &path, const QString &tableBase, std::uint8_t ldid, const std::vector<Tag> &tags,
                      const Sorted &sorted);

private:
    std::unique_ptr<MdxFile> mdx_;
    QString path_;
    std::vector<Tag> tags_; // every tag of the file, when all can be kept current
    QString problem_;       // why the tags cannot be kept current, if so
};

} // namespace kv
