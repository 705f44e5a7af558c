// Writing a whole .MDX at once from keys already in order: every tag's leaves filled
// evenly, then each level of branches above them.
#include "store/index/mdxformat.h"

#include <algorithm>

namespace kv {

using namespace mdx;

namespace {

// How `total` items are shared out among `groups` nodes as evenly as possible:
// node i holds items start(i) .. start(i + 1) - 1.
struct Spread {
    std::uint64_t total = 0;
    std::uint64_t groups = 1;
    std::uint64_t start(std::uint64_t i) const { return i * (total / groups) + std::min(i, total % groups); }
};


// Collects whole blocks in a large buffer and writes them out in big sequential pieces.
class BlockWriter {
public:
    BlockWriter(OsFile &file, const QString &path) : file_(file), path_(path), buffer_(kCapacity) {}
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
        if (!file_.writeAt(std::int64_t(written_), buffer_.data(), used_))
            throwCannotWrite(path_, file_.errorText());
        written_ += used_;
        used_ = 0;
    }

private:
    static constexpr std::size_t kCapacity = 64 << 10;
    OsFile &file_;
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

} // namespace

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

    OsFile file;
    if (!file.createTemporary(path))
        throwCannotWrite(path, file.errorText());
    try {
        BlockWriter out(file, path);
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
        if (!file.close())
            throwCannotWrite(path, file.errorText());
    } catch (...) {
        file.discard();
        throw;
    }
    if (!file.renameOver(path)) {
        const QString why = file.errorText();
        file.discard();
        throwCannotWrite(path, why);
    }
}

} // namespace kv
