// The table object: a batch of changes to existing records, taken in chunks under one
// write lock each.
#include "store/table.h"

#include "store/tablewriters.h"

#include <cstring>
#include <exception>

namespace kv {

// ---------------------------------------------------------------- the batch

Table::ChangeBatch::ChangeBatch(Table &table, int chunk) : t_(table), chunk_(std::max(chunk, 1)), left_(chunk_) {}

// Under the lock for a whole chunk, and with the count and the index as the file has
// them now: another writer may have had its turn since the last chunk.
void Table::ChangeBatch::startChunk()
{
    if (locked_)
        return;
    t_.lockWritesFresh();
    locked_ = true;
    marked_ = false;
    left_ = chunk_;
}

// The header once for the chunk: the count is the file's (we have held the lock since we
// read it), with today's date; the mark cleared when every key of the chunk has moved.
// A header that cannot be written costs the date, or a rebuild of the index at the next
// open: the records are written already.
void Table::ChangeBatch::endChunk()
{
    if (!locked_)
        return;
    try {
        if (left_ < chunk_)
            t_.dbf_.writeCount(t_.dbf_.count());
        if (marked_ && !t_.indexStale_)
            t_.dbf_.setIndexPending(false);
    } catch (const DbError &) {
    }
    locked_ = false;
    marked_ = false;
    t_.dbf_.os().unlockWrites();
}

void Table::ChangeBatch::counted()
{
    if (--left_ <= 0)
        endChunk();
}

std::uint32_t Table::ChangeBatch::post(bool inserted, bool &keyChanged)
{
    startChunk();
    if (inserted) {
        t_.appendOne();
        marked_ = false; // the add leaves the mark cleared, with the index whole
        return t_.dbf_.count();
    }
    rewrite(t_.editRecno_, keyChanged);
    return t_.editRecno_;
}

// One record written over its old bytes, in one write, and its keys moved where they
// changed.
// From the first such write of a chunk until the chunk ends, the table says that its
// index may be behind; a failure on the way leaves it so, and the index is then written
// again at the next open.
void Table::ChangeBatch::rewrite(std::uint32_t recno, bool &keyChanged)
{
    // Only the bytes that changed are written: the rest of the record is on the file as
    // it should be (we hold the lock), and the write then touches fewer pages.
    const QByteArray &buffer = t_.buffer_;
    const char *old = t_.recordData(recno);
    const char *now = buffer.constData();
    constexpr std::size_t kBlock = 64;
    std::size_t from = 0, to = std::size_t(buffer.size());
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
    const bool indexed = !t_.index_.tags().empty();
    if (indexed || t_.observer_)
        before_.assign(old, old + buffer.size());
    if (indexed) {
        if (!marked_) {
            t_.dbf_.setIndexPending(true);
            marked_ = true;
        }
    }
    try {
        t_.dbf_.rewriteRecordPart(recno, now, from, to);
        if (indexed)
            keyChanged = t_.index_.update(recno, before_.data(), t_.recordData(recno), t_.activeTag_);
    } catch (const DbError &) {
        // The record goes back to its old bytes, so that a change reported failed is not
        // kept; the index, perhaps half changed, is written again at the next open.
        if (indexed) {
            t_.indexStale_ = true;
            try {
                t_.dbf_.rewriteRecord(recno, QByteArray::fromRawData(before_.data(), qsizetype(before_.size())));
            } catch (const DbError &) {
            }
        }
        throw;
    }
    if (t_.observer_)
        t_.observer_->recordWritten(recno, before_.data(), now, std::size_t(buffer.size()));
}

// ---------------------------------------------------------------- the table's side

void Table::beginChanges(int chunk)
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot change records of the table \"%1\" while records are being added.").arg(displayName()));
    if (batch_)
        fail(QStringLiteral("The records of the table \"%1\" are already being changed.").arg(displayName()));
    checkBrowseMode();
    batch_ = std::make_unique<ChangeBatch>(*this, chunk);
    suspendDisplay();
}

void Table::endChanges(bool postEdit)
{
    if (!batch_)
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
    batch_->endChunk();
    batch_.reset();
    resumeDisplay();
    if (failure && postEdit)
        std::rethrow_exception(failure);
}

} // namespace kv
