// Keeping a tag current one entry at a time: insert and remove with node splits and
// merges along the path from the root, as dBASE itself changes the tree.
#include "store/index/mdxformat.h"

#include "store/dbf/dbfheader.h"

#include <algorithm>

namespace kv {

using namespace mdx;

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
    write(pageOffset(node.page), block.data(), block.size());
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
    write(pageOffset(t.headerPage), head, t.head.size());

    const std::uint32_t pages = std::uint32_t(fileSize / kPageSize);
    if (dated && get32(fileHead.data() + kHdrTotalPages) == pages)
        return;
    put32(fileHead.data() + kHdrTotalPages, pages);
    putDate(fileHead.data() + kHdrUpdated, todayForHeaders());
    dated = true;
    write(0, fileHead.data(), fileHead.size());
    std::memcpy(rawHeader.data(), fileHead.data(), fileHead.size());
}

TagState &MdxFile::Impl::changeableTag(int i)
{
    if (!file.isOpen() || !writable)
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
        const NodeView node = viewNode(t, page);
        if (node.right == 0)
            return node.count ? get32(node.entries + std::size_t(node.count - 1) * std::size_t(t.itemLength)) : 0;
        page = node.right;
    }
}

// The path to the one place where (key, recno) is or belongs. A branch key is the
// highest key of its child; where several children end in this very key, the record
// numbers at their ends decide.
std::vector<MdxFile::Impl::Step> MdxFile::Impl::descend(const TagState &t, const char *key, std::uint32_t recno,
                                                        bool last) const
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
            if (compareKeys(node.key(mid), key, size_t(length)) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        int end = lo;
        while (end < keyed && std::memcmp(node.key(end), key, size_t(length)) == 0)
            ++end;
        int child = end;
        int a = lo, b = end;
        // A record above all those there goes after every equal key: one look at the last
        // child settles it, or none when the caller knows.
        if (a < b) {
            if (last || lastRecno(t, node.number(b - 1), depth + 1) < recno)
                a = b;
            else
                --b; // that child ends at or after recno; the first such is no later
        }
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
    while (first < keyed && compareKeys(node.key(first), key, size_t(length)) < 0)
        ++first;
    path.push_back(Step{std::move(node), 0});
    for (int i = first; i <= keyed; ++i) {
        const Node &here = path[std::size_t(depth)].node;
        const bool beyond = i < keyed && compareKeys(here.key(i), key, size_t(length)) > 0;
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

void MdxFile::insert(int tag, const char *key, std::uint32_t recno, bool last)
{
    TagState &t = d->changeableTag(tag);
    std::vector<Impl::Step> path = d->descend(t, key, recno, last);
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
