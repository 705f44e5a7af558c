// The table object: a bulk append, many records added by one writer, counted and put in
// the index once at the end.
#include "store/table.h"

#include "store/tablewriters.h"

namespace kv {

// ---------------------------------------------------------------- the writer

Table::BulkWriter::BulkWriter(Table &table) : t_(table)
{
    t_.lockWritesFresh();
    // The index is put right, or the append refused, before any record is written.
    try {
        t_.mendIndexUnderLock();
    } catch (...) {
        t_.dbf_.os().unlockWrites();
        throw;
    }
    start_ = t_.dbf_.count();
    tail_ = t_.dbf_.tailAfter(start_);
    pending_.reserve(kBatchBytes + qsizetype(t_.dbf_.header().recordLength));
}

std::uint32_t Table::BulkWriter::post()
{
    const std::uint32_t recno = t_.dbf_.count() + 1;
    if (pending_.isEmpty())
        first_ = recno;
    pending_.append(t_.buffer_);
    t_.dbf_.setCount(recno);
    if (pending_.size() >= kBatchBytes)
        flush();
    return recno;
}

const char *Table::BulkWriter::waiting(std::uint32_t recno) const
{
    if (recno < first_ || pending_.isEmpty())
        return nullptr;
    return pending_.constData() + std::size_t(recno - first_) * t_.dbf_.header().recordLength;
}

void Table::BulkWriter::flush()
{
    if (pending_.isEmpty())
        return;
    const QByteArray batch = std::move(pending_);
    pending_ = QByteArray();
    pending_.reserve(kBatchBytes + qsizetype(t_.dbf_.header().recordLength));
    try {
        t_.dbf_.writeRecords(first_, batch);
    } catch (const DbError &) {
        // The batch is not in the file: it leaves the count and the order.
        t_.dbf_.setCount(first_ - 1);
        t_.rebuildView(0);
        throw;
    }
    t_.dbf_.remap();
}

void Table::BulkWriter::rollback() noexcept
{
    pending_ = QByteArray();
    t_.dbf_.restoreTail(start_, tail_);
    tail_ = QByteArray();
    t_.dbf_.setCount(start_);
    t_.dbf_.os().unlockWrites();
}

// ---------------------------------------------------------------- the table's side

void Table::beginBulkAppend()
{
    requireWritable();
    if (bulk_)
        return;
    if (batch_)
        fail(QStringLiteral("Cannot add records in bulk to the table \"%1\" while records are being changed.").arg(displayName()));
    bulk_ = std::make_unique<BulkWriter>(*this);
}

void Table::commitBulkAppend()
{
    if (!bulk_)
        return;
    if (state_ == State::Insert)
        cancel();
    bulk_->flush();
    const std::uint32_t start = bulk_->start();
    // Counted, the records are the table's: from here on a failure keeps them, and until
    // the index has them too the table says so, for the next open to repair.
    const bool indexed = dbf_.count() > start && !index_.tags().empty();
    if (indexed)
        dbf_.setIndexPending(true);
    dbf_.writeCount(dbf_.count());
    bulk_.reset();
    struct Unlock {
        OsFile &f;
        ~Unlock() { f.unlockWrites(); }
    } unlock{dbf_.os()};
    if (observer_) {
        const std::size_t length = dbf_.header().recordLength;
        for (std::uint32_t recno = start + 1; recno <= dbf_.count(); ++recno)
            observer_->recordWritten(recno, nullptr, recordData(recno), length);
    }
    const std::uint32_t added = dbf_.count() - start;
    if (added == 0 || index_.tags().empty())
        return;
    // Many new keys go faster into a freshly written index, the old entries taken
    // from the index as they are, than one by one.
    if (added > 2000) {
        const IndexTags::Sorted sorted =
            index_.withAdded(start + 1, dbf_.count(), [this](std::uint32_t r) { return recordData(r); });
        writeIndexFile(index_.tags(), &sorted);
    } else {
        for (std::uint32_t recno = start + 1; recno <= dbf_.count(); ++recno)
            index_.insert(recno, recordData(recno));
    }
    dbf_.setIndexPending(false);
}

void Table::rollbackBulkAppend() noexcept
{
    if (!bulk_)
        return;
    if (state_ == State::Insert)
        cancel();
    const std::uint32_t start = bulk_->start();
    bulk_->rollback();
    bulk_.reset();
    try {
        const std::uint32_t keep = recNo() <= start ? recNo() : 0;
        dbf_.remap();
        rebuildView(keep);
    } catch (const DbError &) {
        // The records before the bulk append are as they were; the order is rebuilt
        // from them at the next refresh.
    }
    notify();
}

} // namespace kv
