#include "store/index/mdx.h"

#include "base/dberror.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr int kPageSize = 512;
constexpr int kBlockSize = 1024;
constexpr int kBlockPages = kBlockSize / kPageSize;
constexpr int kHeaderSize = 2048;             // file header and tag table: pages 0..3
constexpr std::uint32_t kFirstBlockPage = 4;
constexpr int kTagTable = 544;
constexpr int kTagEntrySize = 32;
constexpr int kTagSlots = 48;
constexpr int kMaxTags = (kHeaderSize - kTagTable) / kTagEntrySize; // 47 entries fit before the blocks
constexpr int kEntries = 8;                   // first entry of a node, after the count and a link
constexpr int kMaxDepth = 40;                 // far beyond any real tree; stops cycles
constexpr int kMaxKeyLength = 100;
constexpr int kMaxExpression = 220;           // bytes 24..244 of the tag header, NUL included
constexpr int kMaxTagName = 10;
constexpr std::uint8_t kKeyFormat = 0x10;
constexpr std::uint8_t kDescending = 0x08;

// File header (page 0)
constexpr int kHdrVersion = 0, kHdrCreated = 1, kHdrTableName = 4, kHdrBlockPages = 20, kHdrBlockBytes = 22,
              kHdrProduction = 24, kHdrSlots = 25, kHdrEntrySize = 26, kHdrTagsUsed = 28, kHdrLdid = 31,
              kHdrTotalPages = 32, kHdrUpdated = 44, kHdrKept = 48, kHdrOne = 529;
// Tag table entry
constexpr int kTeHeaderPage = 0, kTeName = 4, kTeKeyFormat = 15, kTeLeft = 16, kTeRight = 17, kTeParent = 18,
              kTeTwo = 19, kTeKeyType = 20;
// Tag header block
constexpr int kThRoot = 0, kThPagesUsed = 4, kThKeyFormat = 8, kThKeyType = 9, kThLdid = 11, kThKeyLength = 12,
              kThMaxKeys = 14, kThSecondType = 16, kThItemLength = 18, kThChanges = 20, kThExpression = 24,
              kThHasKeys = 246, kThFirstLeaf = 248, kThLastLeaf = 252, kThCreated = 257, kThKept = 260;

std::uint32_t get32(const void *p) { return qFromLittleEndian<quint32>(p); }
std::uint16_t get16(const void *p) { return qFromLittleEndian<quint16>(p); }
void put32(void *p, std::uint32_t v) { qToLittleEndian<quint32>(v, p); }
void put16(void *p, std::uint16_t v) { qToLittleEndian<quint16>(v, p); }

void putDate(char *p, const QDate &date)
{
    p[0] = char(date.year() % 100);
    p[1] = char(date.month());
    p[2] = char(date.day());
}

// An entry is a 4-byte number and the key, padded with zeros to a multiple of 4.
int itemLengthFor(int keyLength) { return (keyLength + 4 + 3) / 4 * 4; }
// Leaves hold this many entries, branches this many children, so that the trailing
// child pointer always fits after the last entry (readers tell the two apart by it).
int maxKeysFor(int itemLength) { return (kBlockSize - kEntries - 4) / itemLength; }
// What another writer may have put into a node.
int maxReadFor(int itemLength) { return (kBlockSize - kEntries) / itemLength; }

int compareEntry(const char *keyA, std::uint32_t recA, const char *keyB, std::uint32_t recB, int length)
{
    if (int c = std::memcmp(keyA, keyB, size_t(length)))
        return c;
    return recA < recB ? -1 : (recA > recB ? 1 : 0);
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }
QString systemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

[[noreturn]] void throwDamaged(const QString &path)
{
    throw DbError(QStringLiteral("The index file \"%1\" is damaged.").arg(shown(path)));
}
[[noreturn]] void throwCannotWrite(const QString &path, int err)
{
    throw DbError(QStringLiteral("The index file \"%1\" cannot be written: %2").arg(shown(path), systemText(err)));
}
[[noreturn]] void throwCannotRead(const QString &path, int err)
{
    throw DbError(QStringLiteral("The index file \"%1\" cannot be read: %2").arg(shown(path), systemText(err)));
}

// Reads exactly size bytes; false at the end of the file.
bool readFully(int fd, std::uint64_t offset, void *data, std::size_t size, const QString &path)
{
    char *p = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t got = ::pread(fd, p, size, off_t(offset));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwCannotRead(path, errno);
        }
        if (got == 0)
            return false;
        p += got;
        offset += std::uint64_t(got);
        size -= std::size_t(got);
    }
    return true;
}

void writeFully(int fd, std::uint64_t offset, const void *data, std::size_t size, const QString &path)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, p, size, off_t(offset));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            throwCannotWrite(path, errno);
        }
        p += done;
        offset += std::uint64_t(done);
        size -= std::size_t(done);
    }
}

std::uint64_t pageOffset(std::uint32_t page) { return std::uint64_t(page) * kPageSize; }

// How `total` items are shared out among `groups` nodes as evenly as possible:
// node i holds items start(i) .. start(i + 1) - 1.
struct Spread {
    std::uint64_t total = 0;
    std::uint64_t groups = 1;
    std::uint64_t start(std::uint64_t i) const { return i * (total / groups) + std::min(i, total % groups); }
};

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

// The file mapped for one pass over a tag.
class Mapping {
public:
    Mapping(int fd, const QString &path)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0)
            throwCannotRead(path, errno);
        size_ = std::uint64_t(st.st_size);
        if (size_ == 0)
            return;
        void *p = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED)
            throwCannotRead(path, errno);
        data_ = static_cast<const char *>(p);
    }
    ~Mapping()
    {
        if (data_)
            ::munmap(const_cast<char *>(data_), size_);
    }
    Mapping(const Mapping &) = delete;
    Mapping &operator=(const Mapping &) = delete;
    const char *data() const { return data_; }
    std::uint64_t size() const { return size_; }

private:
    const char *data_ = nullptr;
    std::uint64_t size_ = 0;
};

// Collects whole blocks in a large buffer and writes them out in big sequential pieces.
class BlockWriter {
public:
    BlockWriter(int fd, const QString &path) : fd_(fd), path_(path), buffer_(kCapacity) {}
    // Zero-filled space for the next `size` bytes of the file.
    char *next(std::size_t size)
    {
        if (used_ + size > buffer_.size())
            flush();
        char *p = buffer_.data() + used_;
        std::memset(p, 0, size);
        used_ += size;
        return p;
    }
    void flush()
    {
        writeFully(fd_, written_, buffer_.data(), used_, path_);
        written_ += used_;
        used_ = 0;
    }

private:
    static constexpr std::size_t kCapacity = 64 << 10;
    int fd_;
    const QString &path_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

// Where one tag of a bulk build goes: its header block, then its leaves, then each
// level of branches up to the root.
struct TagLayout {
    const MdxTagData *data = nullptr;
    int itemLength = 0;
    int maxKeys = 0;
    std::uint32_t headerPage = 0;
    std::vector<Spread> levels;              // [0]: entries over leaves, [l]: nodes of l-1 over nodes of l
    std::vector<std::uint64_t> levelStart;   // first page of each level
    std::uint64_t nodes = 0;

    std::uint64_t nodeCount(std::size_t level) const { return levels[level].groups; }
    std::uint32_t page(std::size_t level, std::uint64_t i) const
    {
        return std::uint32_t(levelStart[level] + i * kBlockPages);
    }
    // The entry that ends the subtree of node i on this level: its highest key.
    std::uint64_t lastEntry(std::size_t level, std::uint64_t i) const
    {
        for (std::size_t l = level + 1; l-- > 0;)
            i = levels[l].start(i + 1) - 1;
        return i;
    }
    std::uint32_t root() const { return page(levels.size() - 1, 0); }
};

QByteArray upperAscii(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

[[noreturn]] void throwBadTag(const QByteArray &name, const char *what)
{
    throw DbError(QStringLiteral("The index tag \"%1\" cannot be written: %2")
                      .arg(QString::fromLatin1(name), QString::fromLatin1(what)));
}

void checkTags(const std::vector<MdxTagData> &tags)
{
    if (tags.size() > std::size_t(kMaxTags))
        throw DbError(QStringLiteral("An index file holds at most %1 tags.").arg(kMaxTags));
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const MdxTagInfo &info = tags[i].info;
        if (info.name.isEmpty() || info.name.size() > kMaxTagName || info.name.contains('\0'))
            throwBadTag(info.name, "its name must have 1 to 10 characters.");
        if (info.keyLength < 1 || info.keyLength > kMaxKeyLength)
            throwBadTag(info.name, "its key must have 1 to 100 characters.");
        if (info.expression.size() >= kMaxExpression || info.expression.contains('\0'))
            throwBadTag(info.name, "its key expression is too long.");
        if (info.keyType != 'C' && info.keyType != 'N' && info.keyType != 'D')
            throwBadTag(info.name, "its key type is unknown.");
        for (std::size_t j = 0; j < i; ++j)
            if (upperAscii(tags[j].info.name) == upperAscii(info.name))
                throwBadTag(info.name, "the name is used twice.");
        const std::size_t length = std::size_t(info.keyLength);
        for (std::size_t k = 1; k < tags[i].count; ++k)
            if (compareEntry(tags[i].keys + (k - 1) * length, tags[i].recnos[k - 1], tags[i].keys + k * length,
                             tags[i].recnos[k], info.keyLength) > 0)
                throwBadTag(info.name, "its keys are not in order.");
    }
}

// Tag table threads: a binary search tree on the names in the order the tags were added
// (left: lower names), with 1-based slot numbers and a parent link.
void threadTags(char *header, const std::vector<MdxTagData> &tags)
{
    auto entry = [header](std::size_t slot) { return header + kTagTable + kTagEntrySize * int(slot - 1); };
    for (std::size_t slot = 2; slot <= tags.size(); ++slot) {
        const QByteArray name = upperAscii(tags[slot - 1].info.name);
        std::size_t at = 1;
        for (;;) {
            const bool lower = name < upperAscii(tags[at - 1].info.name);
            char &child = entry(at)[lower ? kTeLeft : kTeRight];
            if (child == 0) {
                child = char(slot);
                entry(slot)[kTeParent] = char(at);
                break;
            }
            at = std::size_t(std::uint8_t(child));
        }
    }
}

void writeTag(BlockWriter &out, const TagLayout &t, std::uint8_t ldid, const QDate &today)
{
    const MdxTagData &data = *t.data;
    const int keyLength = data.info.keyLength;
    const std::size_t leaves = t.nodeCount(0);

    char *head = out.next(kBlockSize);
    put32(head + kThRoot, t.root());
    put32(head + kThPagesUsed, std::uint32_t(t.nodes * kBlockPages));
    head[kThKeyFormat] = char(kKeyFormat);
    head[kThKeyType] = data.info.keyType;
    head[kThLdid] = char(ldid);
    put16(head + kThKeyLength, std::uint16_t(keyLength));
    put16(head + kThMaxKeys, std::uint16_t(t.maxKeys));
    put16(head + kThSecondType, data.info.keyType == 'D' ? 1 : 0);
    put16(head + kThItemLength, std::uint16_t(t.itemLength));
    head[kThChanges] = 1;
    std::memcpy(head + kThExpression, data.info.expression.constData(), std::size_t(data.info.expression.size()));
    head[kThHasKeys] = data.count > 0 ? 1 : 0;
    put32(head + kThFirstLeaf, t.page(0, 0));
    put32(head + kThLastLeaf, t.page(0, leaves - 1));
    putDate(head + kThCreated, today);

    for (std::size_t i = 0; i < leaves; ++i) {
        const std::uint64_t first = t.levels[0].start(i);
        const std::uint64_t end = t.levels[0].start(i + 1);
        char *node = out.next(kBlockSize);
        put32(node, std::uint32_t(end - first));
        char *item = node + kEntries;
        for (std::uint64_t k = first; k < end; ++k, item += t.itemLength) {
            put32(item, data.recnos[k]);
            std::memcpy(item + 4, data.keys + k * std::size_t(keyLength), std::size_t(keyLength));
        }
    }
    for (std::size_t level = 1; level < t.levels.size(); ++level) {
        const Spread &spread = t.levels[level];
        for (std::uint64_t i = 0; i < spread.groups; ++i) {
            const std::uint64_t first = spread.start(i);
            const std::uint64_t end = spread.start(i + 1);
            char *node = out.next(kBlockSize);
            put32(node, std::uint32_t(end - first - 1));
            char *item = node + kEntries;
            for (std::uint64_t c = first; c + 1 < end; ++c, item += t.itemLength) {
                put32(item, t.page(level - 1, c));
                std::memcpy(item + 4, data.keys + t.lastEntry(level - 1, c) * std::size_t(keyLength),
                            std::size_t(keyLength));
            }
            put32(item, t.page(level - 1, end - 1));
        }
    }
}

// A new file in the folder of path that the kernel gives the usual permissions.
int createTemporary(const QString &path, QString &temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

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

} // namespace

struct MdxFile::Impl {
    QString path;
    int fd = -1;
    bool writable = false;
    std::uint64_t fileSize = 0;
    bool dated = false; // the update date is written once per session
    std::array<char, kHdrKept> fileHead{};
    std::vector<TagState> tags;

    ~Impl() { closeFile(); }
    void closeFile()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    [[noreturn]] void damaged() const { throwDamaged(path); }

    const TagState &tagAt(int i) const
    {
        if (i < 0 || std::size_t(i) >= tags.size())
            throw DbError(QStringLiteral("The index file \"%1\" has no tag number %2.").arg(shown(path)).arg(i + 1));
        return tags[std::size_t(i)];
    }
    TagState &changeableTag(int i);

    void readHeader();
    void checkNodePage(std::uint32_t page, std::uint64_t size) const
    {
        if (page < kFirstBlockPage || pageOffset(page) + kBlockSize > size)
            damaged();
    }

    // Passes every leaf of the tag, in key order, to leaf(entries, count).
    template <typename LeafFn>
    void walk(const TagState &t, LeafFn &&leaf) const;

    // The node-by-node operations of insert and remove.
    Node readNode(const TagState &t, std::uint32_t page) const;
    void writeNode(const TagState &t, const Node &node);
    std::uint32_t appendBlock();
    void saveHeads(TagState &t);

    struct Step {
        Node node;
        int child = -1; // branch: the child taken; leaf: the entry found
    };
    std::vector<Step> descend(const TagState &t, const char *key, std::uint32_t recno) const;
    std::uint32_t lastRecno(const TagState &t, std::uint32_t page, int depth) const;
    bool findExact(const TagState &t, std::uint32_t page, const char *key, std::uint32_t recno, int depth,
                   std::vector<Step> &path, std::uint64_t &budget) const;
    std::uint32_t edgeLeaf(const TagState &t, bool last) const;
    void raiseMax(const TagState &t, std::vector<Step> &path, int level, const char *key);
};

// ---- reading -------------------------------------------------------------------------

void MdxFile::Impl::readHeader()
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throwCannotRead(path, errno);
    fileSize = std::uint64_t(st.st_size);
    if (fileSize < kHeaderSize)
        damaged();
    std::array<char, kHeaderSize> header;
    if (!readFully(fd, 0, header.data(), header.size(), path))
        damaged();
    const char *h = header.data();
    const int version = std::uint8_t(h[kHdrVersion]);
    const int tagsUsed = get16(h + kHdrTagsUsed);
    if ((version != 2 && version != 3) || get16(h + kHdrBlockPages) != kBlockPages
        || get16(h + kHdrBlockBytes) != kBlockSize || std::uint8_t(h[kHdrEntrySize]) != kTagEntrySize
        || tagsUsed > kMaxTags)
        damaged();
    std::memcpy(fileHead.data(), h, fileHead.size());

    tags.clear();
    for (int i = 0; i < tagsUsed; ++i) {
        const char *entry = h + kTagTable + kTagEntrySize * i;
        TagState t;
        t.headerPage = get32(entry + kTeHeaderPage);
        if (t.headerPage < kFirstBlockPage || pageOffset(t.headerPage) + kBlockSize > fileSize)
            damaged();
        if (!readFully(fd, pageOffset(t.headerPage), t.head.data(), t.head.size(), path))
            damaged();
        const char *head = t.head.data();

        QByteArray name(entry + kTeName, kMaxTagName + 1);
        name.truncate(int(std::strlen(name.constData())));
        t.info.name = name.trimmed();
        const char *expression = head + kThExpression;
        t.info.expression = QByteArray(expression, int(strnlen(expression, kMaxExpression + 1)));
        t.info.keyLength = get16(head + kThKeyLength);
        t.info.keyType = head[kThKeyType] ? head[kThKeyType] : entry[kTeKeyType];
        t.itemLength = get16(head + kThItemLength);
        if (t.info.keyLength < 1 || t.itemLength < t.info.keyLength + 4 || t.itemLength > kBlockSize - kEntries - 4)
            damaged();
        t.maxKeys = maxKeysFor(t.itemLength);
        t.maxRead = maxReadFor(t.itemLength);
        t.ascending = !(std::uint8_t(head[kThKeyFormat]) & kDescending);
        checkNodePage(t.root(), fileSize);
        tags.push_back(std::move(t));
    }
}

template <typename LeafFn>
void MdxFile::Impl::walk(const TagState &t, LeafFn &&leaf) const
{
    const Mapping map(fd, path);
    const char *base = map.data();
    struct Frame {
        const char *node;
        std::uint32_t count;   // keyed entries
        std::uint32_t next;    // the child to visit next; count means the right-most one
    };
    std::array<Frame, kMaxDepth> stack;
    int depth = 0;
    int leafDepth = -1;
    std::uint64_t budget = map.size() / kPageSize; // a sound tree has fewer nodes than pages

    // Checks the node at page and either reports it (a leaf) or stacks it (a branch).
    auto enter = [&](std::uint32_t page) {
        checkNodePage(page, map.size());
        if (budget-- == 0)
            damaged();
        const char *node = base + pageOffset(page);
        const std::uint32_t count = get32(node);
        if (count > std::uint32_t(t.maxRead))
            damaged();
        const std::size_t trailing = kEntries + std::size_t(count) * std::size_t(t.itemLength);
        const std::uint32_t right = trailing + 4 <= kBlockSize ? get32(node + trailing) : 0;
        if (right == 0) {
            if (leafDepth < 0)
                leafDepth = depth;
            else if (leafDepth != depth)
                damaged();
            leaf(node + kEntries, count);
            return;
        }
        if (depth == kMaxDepth)
            damaged();
        stack[std::size_t(depth++)] = Frame{node, count, 0};
    };

    enter(t.root());
    while (depth > 0) {
        Frame &f = stack[std::size_t(depth - 1)];
        if (f.next > f.count) {
            --depth;
            continue;
        }
        const std::uint32_t child = get32(f.node + kEntries + std::size_t(f.next) * std::size_t(t.itemLength));
        ++f.next;
        enter(child);
    }
}

Node MdxFile::Impl::readNode(const TagState &t, std::uint32_t page) const
{
    checkNodePage(page, fileSize);
    std::array<char, kBlockSize> block;
    if (!readFully(fd, pageOffset(page), block.data(), block.size(), path))
        damaged();
    const std::uint32_t count = get32(block.data());
    if (count > std::uint32_t(t.maxRead))
        damaged();
    const std::size_t used = std::size_t(count) * std::size_t(t.itemLength);
    const std::size_t trailing = kEntries + used;
    const std::uint32_t right = trailing + 4 <= kBlockSize ? get32(block.data() + trailing) : 0;
    Node node;
    node.page = page;
    node.itemLength = t.itemLength;
    node.leaf = right == 0;
    node.bytes.assign(block.data() + kEntries, block.data() + trailing);
    if (!node.leaf) {
        node.bytes.resize(used + std::size_t(t.itemLength), 0);
        put32(node.item(int(count)), right);
    }
    return node;
}

// ---- changing ------------------------------------------------------------------------

void MdxFile::Impl::writeNode(const TagState &t, const Node &node)
{
    std::array<char, kBlockSize> block{};
    const int keyed = node.keyed();
    const std::size_t used = std::size_t(keyed) * std::size_t(t.itemLength);
    if (kEntries + used > kBlockSize)
        damaged();
    put32(block.data(), std::uint32_t(keyed));
    std::memcpy(block.data() + kEntries, node.bytes.data(), used);
    if (!node.leaf)
        put32(block.data() + kEntries + used, node.number(keyed));
    writeFully(fd, pageOffset(node.page), block.data(), block.size(), path);
}

std::uint32_t MdxFile::Impl::appendBlock()
{
    const std::uint64_t page = (fileSize + kPageSize - 1) / kPageSize;
    if (page + kBlockPages > 0xFFFFFFFFu)
        throw DbError(QStringLiteral("The index file \"%1\" is too large.").arg(shown(path)));
    fileSize = pageOffset(std::uint32_t(page)) + kBlockSize;
    return std::uint32_t(page);
}

// After each change: the tag header (root, size, leaves, change counter) and the file
// header (total pages, date of the last update).
void MdxFile::Impl::saveHeads(TagState &t)
{
    char *head = t.head.data();
    head[kThChanges] = char(std::uint8_t(head[kThChanges]) + 1);
    writeFully(fd, pageOffset(t.headerPage), head, t.head.size(), path);

    const std::uint32_t pages = std::uint32_t(fileSize / kPageSize);
    if (dated && get32(fileHead.data() + kHdrTotalPages) == pages)
        return;
    put32(fileHead.data() + kHdrTotalPages, pages);
    putDate(fileHead.data() + kHdrUpdated, QDate::currentDate());
    dated = true;
    writeFully(fd, 0, fileHead.data(), fileHead.size(), path);
}

TagState &MdxFile::Impl::changeableTag(int i)
{
    if (fd < 0 || !writable)
        throw DbError(QStringLiteral("The index file \"%1\" is not open for changes.").arg(shown(path)));
    const TagState &t = tagAt(i);
    if (t.info.keyType != 'C' || !t.ascending || t.maxKeys < 3)
        throw DbError(QStringLiteral("The index tag \"%1\" in \"%2\" cannot be kept current by this program.")
                          .arg(QString::fromLatin1(t.info.name), shown(path)));
    return tags[std::size_t(i)];
}

// The highest record number in the subtree: its last leaf's last entry.
std::uint32_t MdxFile::Impl::lastRecno(const TagState &t, std::uint32_t page, int depth) const
{
    for (;; ++depth) {
        if (depth > kMaxDepth)
            damaged();
        const Node node = readNode(t, page);
        if (node.leaf)
            return node.count() ? node.number(node.count() - 1) : 0;
        page = node.number(node.count() - 1);
    }
}

// The path to the one place where (key, recno) is or belongs. A branch key is the
// highest key of its child; where several children end in this very key, the record
// numbers at their ends decide.
std::vector<MdxFile::Impl::Step> MdxFile::Impl::descend(const TagState &t, const char *key, std::uint32_t recno) const
{
    const int length = t.info.keyLength;
    std::vector<Step> path;
    std::uint32_t page = t.root();
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            damaged();
        Node node = readNode(t, page);
        if (node.leaf) {
            path.push_back(Step{std::move(node), -1});
            return path;
        }
        const int keyed = node.keyed();
        int lo = 0, hi = keyed;
        while (lo < hi) { // first key >= key
            const int mid = (lo + hi) / 2;
            if (std::memcmp(node.key(mid), key, size_t(length)) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        int end = lo;
        while (end < keyed && std::memcmp(node.key(end), key, size_t(length)) == 0)
            ++end;
        int child = end;
        int a = lo, b = end;
        while (a < b) { // among the equal keys: the first child ending at or after recno
            const int mid = (a + b) / 2;
            if (lastRecno(t, node.number(mid), depth + 1) < recno)
                a = mid + 1;
            else
                b = mid;
        }
        if (a < end)
            child = a;
        page = node.number(child);
        path.push_back(Step{std::move(node), child});
    }
}

// A slower search for an entry where the tree's order of equal keys is not the one
// descend() expects (another program wrote it): every child whose key range could hold it.
bool MdxFile::Impl::findExact(const TagState &t, std::uint32_t page, const char *key, std::uint32_t recno, int depth,
                              std::vector<Step> &path, std::uint64_t &budget) const
{
    if (depth > kMaxDepth || budget-- == 0)
        damaged();
    const int length = t.info.keyLength;
    Node node = readNode(t, page);
    if (node.leaf) {
        for (int i = 0; i < node.count(); ++i)
            if (node.number(i) == recno && std::memcmp(node.key(i), key, size_t(length)) == 0) {
                path.push_back(Step{std::move(node), i});
                return true;
            }
        return false;
    }
    const int keyed = node.keyed();
    int first = 0;
    while (first < keyed && std::memcmp(node.key(first), key, size_t(length)) < 0)
        ++first;
    path.push_back(Step{std::move(node), 0});
    for (int i = first; i <= keyed; ++i) {
        const Node &here = path[std::size_t(depth)].node;
        const bool beyond = i < keyed && std::memcmp(here.key(i), key, size_t(length)) > 0;
        path[std::size_t(depth)].child = i;
        if (findExact(t, here.number(i), key, recno, depth + 1, path, budget))
            return true;
        if (beyond)
            break;
    }
    path.pop_back();
    return false;
}

std::uint32_t MdxFile::Impl::edgeLeaf(const TagState &t, bool last) const
{
    std::uint32_t page = t.root();
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            damaged();
        const Node node = readNode(t, page);
        if (node.leaf)
            return page;
        page = node.number(last ? node.count() - 1 : 0);
    }
}

// The node at level has a new highest key: the first ancestor that names it gets it.
void MdxFile::Impl::raiseMax(const TagState &t, std::vector<Step> &path, int level, const char *key)
{
    const std::size_t length = std::size_t(t.info.keyLength);
    for (; level > 0; --level) {
        Step &up = path[std::size_t(level - 1)];
        if (up.child < up.node.keyed()) {
            char *own = up.node.item(up.child) + 4;
            if (std::memcmp(own, key, length) != 0) {
                std::memmove(own, key, length);
                writeNode(t, up.node);
            }
            return;
        }
    }
}

// ---- MdxFile -------------------------------------------------------------------------

MdxFile::MdxFile() : d(std::make_unique<Impl>()) {}
MdxFile::~MdxFile() = default;

void MdxFile::write(const QString &path, const QByteArray &tableName, std::uint8_t ldid,
                    const std::vector<MdxTagData> &tags)
{
    checkTags(tags);
    const QDate today = QDate::currentDate();

    // Every page number is known before the first byte is written.
    std::vector<TagLayout> layouts(tags.size());
    std::uint64_t nextPage = kFirstBlockPage;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        TagLayout &t = layouts[i];
        t.data = &tags[i];
        t.itemLength = itemLengthFor(tags[i].info.keyLength);
        t.maxKeys = maxKeysFor(t.itemLength);
        t.headerPage = std::uint32_t(nextPage);
        nextPage += kBlockPages;
        const std::uint64_t count = tags[i].count;
        std::uint64_t nodes = std::max<std::uint64_t>(1, (count + std::uint64_t(t.maxKeys) - 1) / std::uint64_t(t.maxKeys));
        t.levels.push_back(Spread{count, nodes});
        while (true) {
            t.levelStart.push_back(nextPage);
            nextPage += nodes * kBlockPages;
            t.nodes += nodes;
            if (nodes == 1)
                break;
            const std::uint64_t above = (nodes + std::uint64_t(t.maxKeys) - 1) / std::uint64_t(t.maxKeys);
            t.levels.push_back(Spread{nodes, above});
            nodes = above;
        }
        if (nextPage > 0xFFFFFFFFu)
            throw DbError(QStringLiteral("The index file \"%1\" would be too large.").arg(shown(path)));
    }

    QString temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0)
        throwCannotWrite(path, errno);
    try {
        struct stat old;
        if (::stat(QFile::encodeName(path).constData(), &old) == 0)
            ::fchmod(fd, old.st_mode & 07777);

        BlockWriter out(fd, path);
        char *h = out.next(kHeaderSize);
        h[kHdrVersion] = 2;
        putDate(h + kHdrCreated, today);
        const QByteArray name = upperAscii(tableName).left(15);
        std::memcpy(h + kHdrTableName, name.constData(), std::size_t(name.size()));
        put16(h + kHdrBlockPages, kBlockPages);
        put16(h + kHdrBlockBytes, kBlockSize);
        h[kHdrProduction] = 1;
        h[kHdrSlots] = kTagSlots;
        h[kHdrEntrySize] = kTagEntrySize;
        put16(h + kHdrTagsUsed, std::uint16_t(tags.size()));
        h[kHdrLdid] = char(ldid);
        put32(h + kHdrTotalPages, std::uint32_t(nextPage));
        putDate(h + kHdrUpdated, today);
        h[kHdrOne] = 1;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            char *entry = h + kTagTable + kTagEntrySize * int(i);
            put32(entry + kTeHeaderPage, layouts[i].headerPage);
            const QByteArray tagName = upperAscii(tags[i].info.name);
            std::memcpy(entry + kTeName, tagName.constData(), std::size_t(tagName.size()));
            entry[kTeKeyFormat] = char(kKeyFormat);
            entry[kTeTwo] = 2;
            entry[kTeKeyType] = tags[i].info.keyType;
        }
        threadTags(h, tags);
        for (const TagLayout &t : layouts)
            writeTag(out, t, ldid, today);
        out.flush();
        // No fsync: the index is rebuilt from the table whenever it is found damaged, and
        // the rename alone keeps a crashed program from leaving half a file behind.
        if (::close(fd) != 0)
            throwCannotWrite(path, errno);
    } catch (...) {
        ::close(fd);
        ::unlink(QFile::encodeName(temporary).constData());
        throw;
    }
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const int err = errno;
        ::unlink(QFile::encodeName(temporary).constData());
        throwCannotWrite(path, err);
    }
}

void MdxFile::open(const QString &path, bool writable)
{
    close();
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->writable = writable;
    impl->fd = ::open(QFile::encodeName(path).constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (impl->fd < 0) {
        if (errno == ENOENT)
            throw DbError(QStringLiteral("The index file \"%1\" is missing.").arg(shown(path)));
        throw DbError(QStringLiteral("The index file \"%1\" cannot be opened: %2").arg(shown(path), systemText(errno)));
    }
    impl->readHeader();
    d = std::move(impl);
}

void MdxFile::close()
{
    d = std::make_unique<Impl>();
}

bool MdxFile::isOpen() const { return d->fd >= 0; }

int MdxFile::tagCount() const { return int(d->tags.size()); }

const MdxTagInfo &MdxFile::tag(int i) const { return d->tagAt(i).info; }

int MdxFile::findTag(const QByteArray &name) const
{
    for (std::size_t i = 0; i < d->tags.size(); ++i)
        if (d->tags[i].info.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

std::vector<std::uint32_t> MdxFile::readOrder(int tag) const
{
    const TagState &t = d->tagAt(tag);
    std::vector<std::uint32_t> order;
    const std::size_t step = std::size_t(t.itemLength);
    d->walk(t, [&](const char *entries, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i, entries += step)
            order.push_back(get32(entries));
    });
    return order;
}

void MdxFile::readEntries(int tag, std::vector<char> &keys, std::vector<std::uint32_t> &recnos) const
{
    const TagState &t = d->tagAt(tag);
    keys.clear();
    recnos.clear();
    const std::size_t step = std::size_t(t.itemLength);
    const std::size_t length = std::size_t(t.info.keyLength);
    d->walk(t, [&](const char *entries, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i, entries += step) {
            recnos.push_back(get32(entries));
            keys.insert(keys.end(), entries + 4, entries + 4 + length);
        }
    });
}

void MdxFile::insert(int tag, const char *key, std::uint32_t recno)
{
    TagState &t = d->changeableTag(tag);
    std::vector<Impl::Step> path = d->descend(t, key, recno);
    const int length = t.info.keyLength;

    Node &leaf = path.back().node;
    const int lo = leaf.position(key, recno, length);
    std::vector<char> item(std::size_t(t.itemLength), 0);
    put32(item.data(), recno);
    std::memcpy(item.data() + 4, key, std::size_t(length));
    leaf.insert(lo, item.data());

    // The new entry sorts at or below the highest entry of every subtree on the path
    // that has a key in its parent, so no branch key changes unless a node splits.
    std::vector<bool> rightEdge(path.size(), true);
    for (std::size_t l = 1; l < path.size(); ++l)
        rightEdge[l] = rightEdge[l - 1] && path[l - 1].child == path[l - 1].node.count() - 1;

    char *head = t.head.data();
    int level = int(path.size()) - 1;
    int at = lo; // where the newest item of this level's node is
    for (;;) {
        Node &node = path[std::size_t(level)].node;
        if (node.count() <= t.maxKeys) {
            d->writeNode(t, node);
            break;
        }
        // Appending at the end of the tree leaves the left node full; elsewhere halves.
        const bool appending = rightEdge[std::size_t(level)] && at == node.count() - 1;
        const int keep = appending ? node.count() - (node.leaf ? 1 : 2) : node.count() / 2;
        Node right;
        right.leaf = node.leaf;
        right.itemLength = node.itemLength;
        right.bytes.assign(node.bytes.begin() + std::ptrdiff_t(keep) * node.itemLength, node.bytes.end());
        node.bytes.resize(std::size_t(keep) * std::size_t(node.itemLength));
        right.page = d->appendBlock();
        d->writeNode(t, right);
        d->writeNode(t, node);
        put32(head + kThPagesUsed, get32(head + kThPagesUsed) + kBlockPages);
        if (node.leaf && get32(head + kThLastLeaf) == node.page)
            put32(head + kThLastLeaf, right.page);
        const char *separator = node.key(node.count() - 1);

        if (level == 0) {
            Node root;
            root.leaf = false;
            root.itemLength = node.itemLength;
            root.bytes.assign(std::size_t(2 * node.itemLength), 0);
            put32(root.item(0), node.page);
            std::memcpy(root.item(0) + 4, separator, std::size_t(length));
            put32(root.item(1), right.page);
            root.page = d->appendBlock();
            d->writeNode(t, root);
            put32(head + kThRoot, root.page);
            put32(head + kThPagesUsed, get32(head + kThPagesUsed) + kBlockPages);
            break;
        }
        Impl::Step &up = path[std::size_t(level - 1)];
        const int j = up.child;
        // The left half keeps the old page and gets its own highest key; the right half
        // takes over the key (or the right-most place) the whole node had.
        std::memcpy(item.data(), up.node.item(j), item.size());
        put32(item.data(), right.page);
        std::memcpy(up.node.item(j) + 4, separator, std::size_t(length));
        up.node.insert(j + 1, item.data());
        at = j + 1;
        --level;
    }
    head[kThHasKeys] = 1;
    d->saveHeads(t);
}

bool MdxFile::remove(int tag, const char *key, std::uint32_t recno)
{
    TagState &t = d->changeableTag(tag);
    const int length = t.info.keyLength;
    std::vector<Impl::Step> path = d->descend(t, key, recno);
    {
        Impl::Step &step = path.back();
        const Node &leaf = step.node;
        const int lo = leaf.position(key, recno, length);
        step.child = lo;
        if (lo == leaf.count() || compareEntry(leaf.key(lo), leaf.number(lo), key, recno, length) != 0) {
            path.clear();
            std::uint64_t budget = d->fileSize / kPageSize;
            if (!d->findExact(t, t.root(), key, recno, 0, path, budget))
                return false;
        }
    }

    char *head = t.head.data();
    int level = int(path.size()) - 1;
    Node &leaf = path.back().node;
    const int at = path.back().child;
    leaf.erase(at);
    if (leaf.count() > 0 || level == 0) {
        d->writeNode(t, leaf);
        if (at == leaf.count() && at > 0)
            d->raiseMax(t, path, level, leaf.key(at - 1));
        d->saveHeads(t);
        return true;
    }

    // The leaf is empty: it leaves the tree, and so does every branch it leaves empty.
    const std::uint32_t emptyLeaf = leaf.page;
    auto release = [head] {
        put32(head + kThPagesUsed, std::max<std::uint32_t>(get32(head + kThPagesUsed), 2 * kBlockPages) - kBlockPages);
    };
    while (level > 0 && path[std::size_t(level)].node.count() == 0) {
        Impl::Step &up = path[std::size_t(level - 1)];
        const bool wasLast = up.child == up.node.count() - 1;
        up.node.erase(up.child);
        release();
        --level;
        if (up.node.count() == 0)
            continue;
        if (level > 0) {
            d->writeNode(t, up.node);
            if (wasLast)
                d->raiseMax(t, path, level, up.node.key(up.node.count() - 1));
        }
        break;
    }
    Node &top = path[std::size_t(level)].node;
    if (top.count() == 0) {
        // Nothing is left: the emptied leaf becomes the root.
        Node empty;
        empty.page = emptyLeaf;
        empty.itemLength = t.itemLength;
        d->writeNode(t, empty);
        put32(head + kThRoot, emptyLeaf);
        put32(head + kThPagesUsed, kBlockPages);
    } else if (level == 0) {
        // A root left with one child hands the root over to it.
        if (top.count() == 1) {
            put32(head + kThRoot, top.number(0));
            release();
        } else {
            d->writeNode(t, top);
        }
    }
    put32(head + kThFirstLeaf, d->edgeLeaf(t, false));
    put32(head + kThLastLeaf, d->edgeLeaf(t, true));
    d->saveHeads(t);
    return true;
}

} // namespace kv
