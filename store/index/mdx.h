#pragma once
// The dBASE IV production index (.MDX): 512-byte pages, 1024-byte blocks, a tag table
// and one B+ tree of character keys per tag. Keys compare in the key order of
// collation.h; equal keys are ordered by record number.
#include "store/dbf/osfile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kv {

struct MdxTagInfo {
    QByteArray name;       // upper case, at most 10 characters
    QByteArray expression; // as written
    int keyLength = 0;
    char keyType = 'C';
};

// The keys of one tag for a bulk build: count keys of keyLength bytes laid out one after
// another in keys, with their 1-based record numbers, already sorted (key, then recno).
struct MdxTagData {
    MdxTagInfo info;
    const char *keys = nullptr;
    const std::uint32_t *recnos = nullptr;
    std::size_t count = 0;
};

class MdxFile {
public:
    MdxFile();
    ~MdxFile();
    MdxFile(const MdxFile &) = delete;
    MdxFile &operator=(const MdxFile &) = delete;

    // Writes a complete file with these tags (possibly none) in place of any old one:
    // written to a temporary file in the same folder, then renamed over path.
    // tableName: the base name for the header; ldid: the table's language driver byte.
    static void write(const QString &path, const QByteArray &tableName, std::uint8_t ldid,
                      const std::vector<MdxTagData> &tags);

    // Opens an existing file; throws DbError when it is missing or damaged.
    void open(const QString &path, bool writable);
    void close();
    bool isOpen() const;
    // Reads the file header and the tag headers again: another program sharing the
    // table may have grown a tree since. Throws DbError when they are damaged now.
    void reload();
    // Whether another file has taken its path (or the path is gone): see OsFile::unlinked().
    bool replaced() const;

    int tagCount() const;
    const MdxTagInfo &tag(int i) const;
    int findTag(const QByteArray &name) const; // without regard to case; -1 when absent

    // Record numbers of the tag in key order (all of them, including records the table
    // has marked deleted). Fast: one pass over the leaves. inKeyOrder, when given, tells
    // whether the keys stand in the key order: an index written in plain byte order
    // (by an older version of this program, or another writer) may not.
    std::vector<std::uint32_t> readOrder(int tag, bool *inKeyOrder = nullptr) const;
    // Keys in order with their record numbers, for checks and tools.
    void readEntries(int tag, std::vector<char> &keys, std::vector<std::uint32_t> &recnos) const;

    // Keep a tag current as records change (file opened writable). Keys are exactly
    // the tag's key length. remove() returns false when the entry is not there. last:
    // recno is above every record number in the tag (a record just added to an index
    // that holds the table's records), so it goes after every equal key unlooked.
    void insert(int tag, const char *key, std::uint32_t recno, bool last = false);
    bool remove(int tag, const char *key, std::uint32_t recno);
    // How many writes the file has taken since it was opened: a change that failed
    // without one has left the index as it was.
    std::uint64_t writesMade() const;

    struct Impl;
private:
    std::unique_ptr<Impl> d;
};

} // namespace kv
