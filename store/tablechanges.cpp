// The table object: changing records; a record is written on its own, or handed to the
// bulk append or the batch of changes that is running (tablebulk.cpp, tablebatch.cpp).
#include "store/table.h"

#include "store/tablewriters.h"

#include <optional>

namespace kv {

namespace {
constexpr char kLiveFlag = ' ';
constexpr char kDeletedFlag = '*';
constexpr char kEofMarker = 0x1A;
} // namespace

// ---------------------------------------------------------------- fields of the record being changed

void Table::setFieldText(int i, const QString &text)
{
    requireEditing();
    codec_.setText(buffer_.data(), i, text);
}

void Table::setFieldText(const QString &name, const QString &text)
{
    requireEditing();
    codec_.setText(buffer_.data(), requireField(name), text);
}

void Table::copyField(int i, const Table &source, int sourceField)
{
    requireEditing();
    codec_.copy(buffer_.data(), i, source.codec_, source.currentData(), sourceField);
}

void Table::setFieldNumber(int i, double value)
{
    requireEditing();
    codec_.setNumber(buffer_.data(), i, value);
}

void Table::setFieldDate(int i, const QDate &date)
{
    requireEditing();
    codec_.setDate(buffer_.data(), i, date);
}

void Table::clearField(int i)
{
    requireEditing();
    codec_.clear(buffer_.data(), i);
}

// ---------------------------------------------------------------- append, edit, post, delete

void Table::append()
{
    requireWritable();
    checkBrowseMode();
    buffer_ = QByteArray(int(dbf_.header().recordLength), ' ');
    editRecno_ = 0;
    state_ = State::Insert;
}

void Table::edit()
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot change a record of the table \"%1\" while records are being added.").arg(displayName()));
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    const std::uint32_t r = recNo();
    if (r == 0)
        fail(QStringLiteral("There is no record to edit in the table \"%1\".").arg(tableName_));
    // In a batch of changes the record is taken under the lock, as the file has it now.
    if (batch_)
        batch_->startChunk();
    buffer_ = QByteArray(recordData(r), int(dbf_.header().recordLength));
    editRecno_ = r;
    state_ = State::Edit;
}

void Table::cancel()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    buffer_.clear();
    state_ = State::Browse;
}

void Table::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    requireWritable();
    const bool inserted = state_ == State::Insert;
    if (inserted)
        buffer_[0] = kLiveFlag;
    bool keyChanged = false;
    const std::uint32_t recno = batch_  ? batch_->post(inserted, keyChanged)
                                : bulk_ ? bulk_->post()
                                        : postOne(inserted, keyChanged);
    // The bytes just written, from our buffer: the file's new page is not touched for it.
    const bool visible = passes(buffer_.constData(), recno);
    buffer_.clear();
    state_ = State::Browse;
    if (inserted) {
        if (visible) {
            order_.appended(recno);
            bof_ = eof_ = false;
        }
    } else {
        settlePending();
        if (!visible)
            setCurrent(order_.removeCurrent());
        else if (keyChanged)
            setCurrent(order_.replaceCurrent(recno));
    }
    notify();
    if (batch_)
        batch_->counted();
}

std::uint32_t Table::postOne(bool inserted, bool &keyChanged)
{
    WriteGuard guard(dbf_.os());
    syncIndexWithFile();
    if (inserted) {
        appendOne();
        return dbf_.count();
    }
    rereadCountUnderLock();
    keyChanged = rewriteOne(editRecno_);
    return editRecno_;
}

// Under the write lock: the count another program sharing the table may have raised,
// so that the count written back holds its records too.
void Table::rereadCountUnderLock()
{
    dbf_.rereadCount();
    dbf_.remap();
}

void Table::lockWritesFresh()
{
    dbf_.os().lockWrites();
    try {
        syncIndexWithFile();
        rereadCountUnderLock();
    } catch (...) {
        dbf_.os().unlockWrites();
        throw;
    }
}

// Under the write lock: one new record after the last one, whole before the header
// counts it and in the index before the call returns. When any step fails, the record
// leaves the file and the count again, so that nothing has changed. From the count
// until the key is in the index the table says that its index is behind (set before
// the count): a run killed there is repaired at the next open.
void Table::appendOne()
{
    rereadCountUnderLock();
    const std::uint32_t before = dbf_.count();
    const std::uint32_t recno = before + 1;
    const bool indexed = !index_.tags().empty();
    // A mark already set is another run's, stopped midway: it stays for the next open.
    const bool markedBefore = indexed && dbf_.indexPending();
    const std::uint64_t writes = index_.writesMade();
    dbf_.writeRecords(recno, buffer_);
    try {
        dbf_.setCount(recno);
        dbf_.remap();
        if (indexed)
            dbf_.writeCountPending(recno);
        else
            dbf_.writeCount(recno);
        // Unless a stopped run left it behind, the index holds records 1 ... before.
        index_.insert(recno, buffer_.constData(), !markedBefore);
    } catch (const DbError &) {
        const bool indexChanged = index_.writesMade() != writes;
        try {
            dbf_.writeCount(before);
            if (indexed && !indexChanged && !markedBefore)
                dbf_.setIndexPending(false);
        } catch (const DbError &) {
        }
        // What followed the counted records is no record: the end mark alone will do.
        dbf_.restoreTail(before, QByteArray(1, kEofMarker));
        dbf_.setCount(before);
        dbf_.remap();
        // An index left half changed keeps the mark, and is written again at the next open.
        if (indexChanged)
            indexStale_ = true;
        throw;
    }
    if (indexed && !markedBefore) {
        try {
            dbf_.setIndexPending(false);
        } catch (const DbError &) {
            // The record is in the table and in the index; the mark left set costs the
            // next open a rebuild of the index, nothing else.
        }
    }
    if (observer_)
        observer_->recordWritten(recno, nullptr, buffer_.constData(), std::size_t(buffer_.size()));
}

// Under the write lock: the record being edited over its old bytes, its keys moved in
// the index. From before the record changes until its keys have moved the table says
// that its index is behind, so a run killed there is repaired at the next open. When a
// step fails the record gets its old bytes back; an index left half changed keeps the
// mark. Returns whether the active tag's key changed.
bool Table::rewriteOne(std::uint32_t recno)
{
    const QByteArray old(recordData(recno), buffer_.size());
    const bool indexed = !index_.tags().empty();
    const bool mark = indexed && !dbf_.indexPending();
    const std::uint64_t writes = index_.writesMade();
    if (mark)
        dbf_.setIndexPending(true);
    bool keyChanged = false;
    try {
        dbf_.rewriteRecord(recno, buffer_);
        dbf_.writeCount(dbf_.count());
        keyChanged = index_.update(recno, old.constData(), recordData(recno), activeTag_);
    } catch (const DbError &) {
        const bool indexChanged = index_.writesMade() != writes;
        try {
            dbf_.rewriteRecord(recno, old);
            if (mark && !indexChanged)
                dbf_.setIndexPending(false);
        } catch (const DbError &) {
        }
        if (indexChanged)
            indexStale_ = true;
        throw;
    }
    if (mark) {
        try {
            dbf_.setIndexPending(false);
        } catch (const DbError &) {
            // As for an add: the next open rebuilds the index, nothing else.
        }
    }
    if (observer_)
        observer_->recordWritten(recno, old.constData(), buffer_.constData(), std::size_t(buffer_.size()));
    return keyChanged;
}

void Table::deleteRecord()
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot delete a record of the table \"%1\" while records are being added.").arg(displayName()));
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    settlePending();
    const std::uint32_t r = recNo();
    if (r == 0)
        fail(QStringLiteral("There is no record to delete in the table \"%1\".").arg(tableName_));
    // Another copy sharing the table may have deleted this very record since we read it:
    // that is said, not counted as our delete, and the record leaves our view too.
    bool deletedMeanwhile = false;
    const std::size_t length = dbf_.header().recordLength;
    QByteArray before;
    const auto markDeleted = [&] {
        if (observer_)
            before = QByteArray(recordData(r), qsizetype(length));
        dbf_.markDeleted(r);
    };
    if (batch_) {
        batch_->startChunk();
        deletedMeanwhile = recordData(r)[0] == kDeletedFlag;
        if (!deletedMeanwhile)
            markDeleted();
    } else {
        WriteGuard guard(dbf_.os());
        rereadCountUnderLock();
        deletedMeanwhile = recordData(r)[0] == kDeletedFlag;
        if (!deletedMeanwhile) {
            markDeleted();
            dbf_.writeCount(dbf_.count());
        }
    }
    if (observer_ && !deletedMeanwhile)
        observer_->recordWritten(r, before.constData(), recordData(r), length);
    setCurrent(order_.removeCurrent());
    if (order_.size() == 0)
        bof_ = eof_ = true;
    notify();
    if (deletedMeanwhile)
        fail(QString::fromLatin1(kDeletedByOtherMessage));
    if (batch_)
        batch_->counted();
}

} // namespace kv
