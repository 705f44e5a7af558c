// The table object: a batch of changes to existing records, taken in chunks under one
// write lock each.
#include "store/table.h"

#include <cstring>
#include <exception>

namespace kv {

void Table::beginChanges(int chunk)
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot change records of the table \"%1\" while records are being added.").arg(displayName()));
    if (batchChunk_ > 0)
        fail(QStringLiteral("The records of the table \"%1\" are already being changed.").arg(displayName()));
    checkBrowseMode();
    batchChunk_ = std::max(chunk, 1);
    chunkLeft_ = batchChunk_;
    suspendDisplay();
}

void Table::endChanges(bool postEdit)
{
    if (batchChunk_ == 0)
        return;
    std::exception_ptr failure;
    try {
        if (postEdit)
            checkBrowseMode();
        else
            cancel();
    } catch (...) {
        failure = std::current_exception();
        cancel();
    }
    endChunk();
    batchChunk_ = 0;
    resumeDisplay();
    if (failure && postEdit)
        std::rethrow_exception(failure);
}

// Under the lock for a whole chunk, and with the count and the index as the file has
// them now: another writer may have had its turn since the last chunk.
void Table::startChunk()
{
    if (chunkLocked_)
        return;
    lockWritesFresh();
    chunkLocked_ = true;
    chunkMarked_ = false;
    chunkLeft_ = batchChunk_;
}

// The header once for the chunk: the count is the file's (we have held the lock since we
// read it), with today's date; the mark cleared when every key of the chunk has moved.
// A header that cannot be written costs the date, or a rebuild of the index at the next
// open: the records are written already.
void Table::endChunk()
{
    if (!chunkLocked_)
        return;
    try {
        if (chunkLeft_ < batchChunk_)
            dbf_.writeCount(dbf_.count());
        if (chunkMarked_ && !indexStale_)
            dbf_.setIndexPending(false);
    } catch (const DbError &) {
    }
    chunkLocked_ = false;
    chunkMarked_ = false;
    dbf_.os().unlockWrites();
}

void Table::countChunkChange()
{
    if (batchChunk_ > 0 && --chunkLeft_ <= 0)
        endChunk();
}

// One record written over its old bytes, in one write, and its keys moved where they
// changed.
// From the first such write of a chunk until the chunk ends, the table says that its
// index may be behind; a failure on the way leaves it so, and the index is then written
// again at the next open.
void Table::rewriteInBatch(std::uint32_t recno, bool &keyChanged)
{
    // Only the bytes that changed are written: the rest of the record is on the file as
    // it should be (we hold the lock), and the write then touches fewer pages.
    const char *old = recordData(recno);
    const char *now = buffer_.constData();
    constexpr std::size_t kBlock = 64;
    std::size_t from = 0, to = std::size_t(buffer_.size());
    while (from + kBlock <= to && std::memcmp(old + from, now + from, kBlock) == 0)
        from += kBlock;
    while (from < to && old[from] == now[from])
        ++from;
    while (to >= from + kBlock && std::memcmp(old + to - kBlock, now + to - kBlock, kBlock) == 0)
        to -= kBlock;
    while (to > from && old[to - 1] == now[to - 1])
        --to;
    if (from == to)
        return;
    const bool indexed = !index_.tags().empty();
    if (indexed) {
        before_.assign(old, old + buffer_.size());
        if (!chunkMarked_) {
            dbf_.setIndexPending(true);
            chunkMarked_ = true;
        }
    }
    try {
        dbf_.rewriteRecordPart(recno, now, from, to);
        if (indexed)
            keyChanged = index_.update(recno, before_.data(), recordData(recno), activeTag_);
    } catch (const DbError &) {
        // The record goes back to its old bytes, so that a change reported failed is not
        // kept; the index, perhaps half changed, is written again at the next open.
        if (indexed) {
            indexStale_ = true;
            try {
                dbf_.rewriteRecord(recno, QByteArray::fromRawData(before_.data(), qsizetype(before_.size())));
            } catch (const DbError &) {
            }
        }
        throw;
    }
}

} // namespace kv
