#pragma once
// Inside the .MDX code only: the format's constants and byte helpers, a node in memory,
// a tag as the open file knows it, and the open file itself.
#include "store/index/collation.h"
#include "store/index/mdx.h"

#include "store/dbf/osfile.h"

#include "base/dberror.h"

#include <QDate>
#include <QDir>
#include <QtEndian>

#include <array>
#include <cstring>
#include <vector>

namespace kv::mdx {

inline constexpr int kPageSize = 512;
inline constexpr int kBlockSize = 1024;
inline constexpr int kBlockPages = kBlockSize / kPageSize;
inline constexpr int kHeaderSize = 2048;             // file header and tag table: pages 0..3
inline constexpr std::uint32_t kFirstBlockPage = 4;
inline constexpr int kTagTable = 544;
inline constexpr int kTagEntrySize = 32;
inline constexpr int kTagSlots = 48;
inline constexpr int kMaxTags = (kHeaderSize - kTagTable) / kTagEntrySize; // 47 entries fit before the blocks
inline constexpr int kEntries = 8;                   // first entry of a node, after the count and a link
inline constexpr int kMaxDepth = 40;                 // far beyond any real tree; stops cycles
inline constexpr int kMaxKeyLength = 100;
inline constexpr int kMaxExpression = 220;           // bytes 24..244 of the tag header, NUL included
inline constexpr int kMaxTagName = 10;
inline constexpr std::uint8_t kKeyFormat = 0x10;
inline constexpr std::uint8_t kDescending = 0x08;

// File header (page 0)
inline constexpr int kHdrVersion = 0, kHdrCreated = 1, kHdrTableName = 4, kHdrBlockPages = 20, kHdrBlockBytes = 22,
                     kHdrProduction = 24, kHdrSlots = 25, kHdrEntrySize = 26, kHdrTagsUsed = 28, kHdrLdid = 31,
                     kHdrTotalPages = 32, kHdrUpdated = 44, kHdrKept = 48, kHdrOne = 529;
// Tag table entry
inline constexpr int kTeHeaderPage = 0, kTeName = 4, kTeKeyFormat = 15, kTeLeft = 16, kTeRight = 17, kTeParent = 18,
                     kTeTwo = 19, kTeKeyType = 20;
// Tag header block
inline constexpr int kThRoot = 0, kThPagesUsed = 4, kThKeyFormat = 8, kThKeyType = 9, kThLdid = 11, kThKeyLength = 12,
                     kThMaxKeys = 14, kThSecondType = 16, kThItemLength = 18, kThChanges = 20, kThExpression = 24,
                     kThHasKeys = 246, kThFirstLeaf = 248, kThLastLeaf = 252, kThCreated = 257, kThKept = 260;

inline std::uint32_t get32(const void *p) { return qFromLittleEndian<quint32>(p); }
inline std::uint16_t get16(const void *p) { return qFromLittleEndian<quint16>(p); }
inline void put32(void *p, std::uint32_t v) { qToLittleEndian<quint32>(v, p); }
inline void put16(void *p, std::uint16_t v) { qToLittleEndian<quint16>(v, p); }

inline void putDate(char *p, const QDate &date)
{
    p[0] = char(date.year() % 100);
    p[1] = char(date.month());
    p[2] = char(date.day());
}

// An entry is a 4-byte number and the key, padded with zeros to a multiple of 4.
inline int itemLengthFor(int keyLength) { return (keyLength + 4 + 3) / 4 * 4; }
// Leaves hold this many entries, branches this many children, so that the trailing
// child pointer always fits after the last entry (readers tell the two apart by it).
inline int maxKeysFor(int itemLength) { return (kBlockSize - kEntries - 4) / itemLength; }
// What another writer may have put into a node.
inline int maxReadFor(int itemLength) { return (kBlockSize - kEntries) / itemLength; }

// Entries order by key in the key order, equal keys by record number.
inline int compareEntry(const char *keyA, std::uint32_t recA, const char *keyB, std::uint32_t recB, int length)
{
    if (int c = compareKeys(keyA, keyB, std::size_t(length)))
        return c;
    return recA < recB ? -1 : (recA > recB ? 1 : 0);
}

inline std::uint64_t pageOffset(std::uint32_t page) { return std::uint64_t(page) * kPageSize; }

inline QString shown(const QString &path) { return QDir::toNativeSeparators(path); }
[[noreturn]] void throwDamaged(const QString &path);
[[noreturn]] void throwCannotWrite(const QString &path, const QString &why);

// One node in memory. A branch keeps its right-most child as a last item whose key
// bytes are unused, so that leaves and branches split and grow the same way.
struct Node {
    std::uint32_t page = 0;
    bool leaf = true;
    int itemLength = 0;
    std::vector<char> bytes;

    int count() const { return int(bytes.size() / std::size_t(itemLength)); }
    const char *item(int i) const { return bytes.data() + std::size_t(i) * std::size_t(itemLength); }
    char *item(int i) { return bytes.data() + std::size_t(i) * std::size_t(itemLength); }
    std::uint32_t number(int i) const { return get32(item(i)); }
    const char *key(int i) const { return item(i) + 4; }
    // Keyed entries: all items of a leaf, all but the last of a branch.
    int keyed() const { return leaf ? count() : count() - 1; }
    // In a leaf: the first entry at or after (key, recno).
    int position(const char *key, std::uint32_t recno, int length) const
    {
        int lo = 0, hi = count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (compareEntry(this->key(mid), number(mid), key, recno, length) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    void insert(int i, const char *source)
    {
        bytes.insert(bytes.begin() + std::ptrdiff_t(i) * itemLength, source, source + itemLength);
    }
    void erase(int i)
    {
        const auto at = bytes.begin() + std::ptrdiff_t(i) * itemLength;
        bytes.erase(at, at + itemLength);
    }
};

struct TagState {
    MdxTagInfo info;
    std::uint32_t headerPage = 0;
    int itemLength = 0;
    int maxKeys = 0;
    int maxRead = 0;
    bool ascending = true;
    std::array<char, kThKept> head{}; // the first bytes of the tag header, as in the file

    std::uint32_t root() const { return get32(head.data() + kThRoot); }
};

} // namespace kv::mdx

namespace kv {

struct MdxFile::Impl {
    using Node = mdx::Node;
    using TagState = mdx::TagState;

    QString path;
    mutable OsFile file; // its mapping serves the walks over a tag
    bool writable = false;
    std::uint64_t fileSize = 0;
    bool dated = false; // the update date is written once per session
    std::uint64_t writes = 0;
    std::array<char, mdx::kHdrKept> fileHead{};
    std::array<char, mdx::kHeaderSize> rawHeader{}; // the header pages as last read or written
    std::vector<TagState> tags;

    [[noreturn]] void damaged() const { mdx::throwDamaged(path); }
    // Reads exactly size bytes; false at the end of the file.
    bool read(std::uint64_t offset, void *data, std::size_t size) const;
    void write(std::uint64_t offset, const void *data, std::size_t size);

    const TagState &tagAt(int i) const
    {
        if (i < 0 || std::size_t(i) >= tags.size())
            throw DbError(QStringLiteral("The index file \"%1\" has no tag number %2.").arg(mdx::shown(path)).arg(i + 1));
        return tags[std::size_t(i)];
    }
    TagState &changeableTag(int i);

    void readHeader();
    // Whether the file header and the tag headers are still what we last read or wrote;
    // compared in the mapping, without a read.
    bool headsUnchanged() const;
    // The mapped file, as long as fileSize says.
    const char *mapped() const;
    void checkNodePage(std::uint32_t page, std::uint64_t size) const
    {
        if (page < mdx::kFirstBlockPage || mdx::pageOffset(page) + mdx::kBlockSize > size)
            damaged();
    }

    // Passes every leaf of the tag, in key order, to leaf(entries, count).
    template <typename LeafFn>
    void walk(const TagState &t, LeafFn &&leaf) const;

    // The node-by-node operations of insert and remove.
    // A node as the mapping holds it: its entries, how many, and (in a branch) the page
    // of its right-most child; right is 0 in a leaf.
    struct NodeView {
        const char *entries;
        std::uint32_t count;
        std::uint32_t right;
    };
    NodeView viewNode(const TagState &t, std::uint32_t page) const;
    Node readNode(const TagState &t, std::uint32_t page) const;
    void writeNode(const TagState &t, const Node &node);
    std::uint32_t appendBlock();
    void saveHeads(TagState &t);

    struct Step {
        Node node;
        int child = -1; // branch: the child taken; leaf: the entry found
    };
    std::vector<Step> descend(const TagState &t, const char *key, std::uint32_t recno, bool last = false) const;
    std::uint32_t lastRecno(const TagState &t, std::uint32_t page, int depth) const;
    bool findExact(const TagState &t, std::uint32_t page, const char *key, std::uint32_t recno, int depth,
                   std::vector<Step> &path, std::uint64_t &budget) const;
    std::uint32_t edgeLeaf(const TagState &t, bool last) const;
    void raiseMax(const TagState &t, std::vector<Step> &path, int level, const char *key);
};

} // namespace kv
