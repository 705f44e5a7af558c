// Opening an .MDX, its tag table, and reading a tag's entries in order.
#include "store/index/mdxformat.h"

#include <QFileInfo>

#include <algorithm>

namespace kv {

using namespace mdx;

namespace mdx {

void throwDamaged(const QString &path)
{
    throw DbError(QStringLiteral("The index file \"%1\" is damaged.").arg(shown(path)));
}

void throwCannotWrite(const QString &path, const QString &why)
{
    throw DbError(QStringLiteral("The index file \"%1\" cannot be written: %2").arg(shown(path), why));
}

} // namespace mdx

namespace {

[[noreturn]] void throwCannotRead(const QString &path, const QString &why)
{
    throw DbError(QStringLiteral("The index file \"%1\" cannot be read: %2").arg(shown(path), why));
}

} // namespace

bool MdxFile::Impl::read(std::uint64_t offset, void *data, std::size_t size) const
{
    if (file.readAt(std::int64_t(offset), data, size))
        return true;
    if (!file.errorText().isEmpty())
        throwCannotRead(path, file.errorText());
    return false;
}

void MdxFile::Impl::write(std::uint64_t offset, const void *data, std::size_t size)
{
    // The table says that its index is behind while any of this is written.
    ++writes;
    if (!file.overwrite(std::int64_t(offset), data, size))
        throwCannotWrite(path, file.errorText());
}

// ---- reading -------------------------------------------------------------------------

void MdxFile::Impl::readHeader()
{
    const std::int64_t size = file.size();
    if (size < 0)
        damaged();
    fileSize = std::uint64_t(size);
    if (fileSize < kHeaderSize)
        damaged();
    std::array<char, kHeaderSize> header;
    if (!read(0, header.data(), header.size()))
        damaged();
    const char *h = header.data();
    const int version = std::uint8_t(h[kHdrVersion]);
    const int tagsUsed = get16(h + kHdrTagsUsed);
    if ((version != 2 && version != 3) || get16(h + kHdrBlockPages) != kBlockPages
        || get16(h + kHdrBlockBytes) != kBlockSize || std::uint8_t(h[kHdrEntrySize]) != kTagEntrySize
        || tagsUsed > kMaxTags)
        damaged();
    std::memcpy(fileHead.data(), h, fileHead.size());
    rawHeader = header;

    tags.clear();
    for (int i = 0; i < tagsUsed; ++i) {
        const char *entry = h + kTagTable + kTagEntrySize * i;
        TagState t;
        t.headerPage = get32(entry + kTeHeaderPage);
        if (t.headerPage < kFirstBlockPage || pageOffset(t.headerPage) + kBlockSize > fileSize)
            damaged();
        if (!read(pageOffset(t.headerPage), t.head.data(), t.head.size()))
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

// A writer that grows the file counts its pages in the file header, so the headers alone
// tell whether anything changed.
bool MdxFile::Impl::headsUnchanged() const
{
    const char *base = mapped();
    if (std::memcmp(base, rawHeader.data(), rawHeader.size()) != 0)
        return false;
    for (const TagState &t : tags)
        if (std::memcmp(base + pageOffset(t.headerPage), t.head.data(), t.head.size()) != 0)
            return false;
    return true;
}

const char *MdxFile::Impl::mapped() const
{
    const char *base = file.map(std::int64_t(fileSize));
    if (!base)
        throwCannotRead(path, file.errorText());
    return base;
}

template <typename LeafFn>
void MdxFile::Impl::walk(const TagState &t, LeafFn &&leaf) const
{
    const std::int64_t size = file.size();
    const char *base = size > 0 ? file.map(size) : nullptr;
    if (size > 0 && !base)
        throwCannotRead(path, file.errorText());
    struct Frame {
        const char *node;
        std::uint32_t count;   // keyed entries
        std::uint32_t next;    // the child to visit next; count means the right-most one
    };
    std::array<Frame, kMaxDepth> stack;
    int depth = 0;
    int leafDepth = -1;
    std::uint64_t budget = std::uint64_t(std::max<std::int64_t>(size, 0)) / kPageSize; // a sound tree has fewer nodes than pages

    // Checks the node at page and either reports it (a leaf) or stacks it (a branch).
    auto enter = [&](std::uint32_t page) {
        checkNodePage(page, std::uint64_t(std::max<std::int64_t>(size, 0)));
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

MdxFile::Impl::NodeView MdxFile::Impl::viewNode(const TagState &t, std::uint32_t page) const
{
    // Writers read under the table's write lock, after reload() has compared the
    // headers: the mapping shows what is in the file now, without a read call.
    checkNodePage(page, fileSize);
    const char *block = mapped() + pageOffset(page);
    const std::uint32_t count = get32(block);
    if (count > std::uint32_t(t.maxRead))
        damaged();
    const std::size_t trailing = kEntries + std::size_t(count) * std::size_t(t.itemLength);
    const std::uint32_t right = trailing + 4 <= kBlockSize ? get32(block + trailing) : 0;
    return {block + kEntries, count, right};
}

Node MdxFile::Impl::readNode(const TagState &t, std::uint32_t page) const
{
    const NodeView view = viewNode(t, page);
    const std::size_t used = std::size_t(view.count) * std::size_t(t.itemLength);
    Node node;
    node.page = page;
    node.itemLength = t.itemLength;
    node.leaf = view.right == 0;
    node.bytes.reserve(used + std::size_t(t.itemLength));
    node.bytes.assign(view.entries, view.entries + used);
    if (!node.leaf) {
        node.bytes.resize(used + std::size_t(t.itemLength), 0);
        put32(node.item(int(view.count)), view.right);
    }
    return node;
}

// ---- MdxFile -------------------------------------------------------------------------

MdxFile::MdxFile() : d(std::make_unique<Impl>()) {}
MdxFile::~MdxFile() = default;

void MdxFile::open(const QString &path, bool writable)
{
    close();
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->writable = writable;
    if (!impl->file.open(path, writable)) {
        if (!QFileInfo::exists(path))
            throw DbError(QStringLiteral("The index file \"%1\" is missing.").arg(shown(path)));
        throw DbError(QStringLiteral("The index file \"%1\" cannot be opened: %2").arg(shown(path), impl->file.errorText()));
    }
    impl->readHeader();
    d = std::move(impl);
}

void MdxFile::close()
{
    d = std::make_unique<Impl>();
}

bool MdxFile::isOpen() const { return d->file.isOpen(); }

void MdxFile::reload()
{
    if (d->file.isOpen() && !d->headsUnchanged())
        d->readHeader();
}

bool MdxFile::replaced() const { return d->file.unlinked(); }

std::uint64_t MdxFile::writesMade() const { return d->writes; }

int MdxFile::tagCount() const { return int(d->tags.size()); }

const MdxTagInfo &MdxFile::tag(int i) const { return d->tagAt(i).info; }

int MdxFile::findTag(const QByteArray &name) const
{
    for (std::size_t i = 0; i < d->tags.size(); ++i)
        if (d->tags[i].info.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

std::vector<std::uint32_t> MdxFile::readOrder(int tag, bool *inKeyOrder) const
{
    const TagState &t = d->tagAt(tag);
    std::vector<std::uint32_t> order;
    // Room for as many entries as the file's blocks can hold, so that the order grows
    // without copying itself.
    order.reserve(std::size_t(d->fileSize / kBlockSize) * std::size_t(t.maxRead));
    const std::size_t step = std::size_t(t.itemLength);
    const std::size_t length = std::size_t(t.info.keyLength);
    // Only character keys in ascending order follow the key order.
    bool ordered = true;
    const bool check = inKeyOrder && t.info.keyType == 'C' && t.ascending;
    const char *previous = nullptr; // the walk keeps the file mapped
    d->walk(t, [&](const char *entries, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i, entries += step) {
            order.push_back(get32(entries));
            if (check && ordered) {
                ordered = !previous || compareKeys(previous, entries + 4, length) <= 0;
                previous = entries + 4;
            }
        }
    });
    if (inKeyOrder)
        *inKeyOrder = ordered;
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

} // namespace kv
