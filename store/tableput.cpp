// The table object: records put back to bytes they held before, as one batch of changes
// that is refused whole when another writer changed one of them since.
#include "store/table.h"

#include "store/tablewriters.h"

#include <cstring>
#include <limits>

namespace kv {

std::uint32_t Table::putRecords(const std::vector<RecordPut> &puts)
{
    requireWritable();
    if (bulk_ || batch_)
        fail(QStringLiteral("The records of the table \"%1\" are already being changed.").arg(displayName()));
    checkBrowseMode();
    if (puts.empty())
        return 0;
    struct Silence {
        RecordObserver *&slot;
        RecordObserver *kept;
        ~Silence() { slot = kept; }
    } silence{observer_, std::exchange(observer_, nullptr)};
    const std::uint32_t keep = recNo();
    // One chunk for the whole run: the check and the writes see the file under one lock.
    beginChanges(std::numeric_limits<int>::max());
    std::uint32_t conflict = 0;
    const auto settle = [&] {
        buffer_.clear();
        endChanges(false);
        rebuildView(keep);
        notify();
    };
    try {
        batch_->startChunk();
        const qsizetype length = qsizetype(dbf_.header().recordLength);
        for (const RecordPut &p : puts) {
            if (p.recno == 0 || p.recno > dbf_.count() || p.offset + std::size_t(p.bytes.size()) > std::size_t(length) ||
                recordFingerprint(recordData(p.recno), std::size_t(length)) != p.expected) {
                conflict = p.recno == 0 ? std::numeric_limits<std::uint32_t>::max() : p.recno;
                break;
            }
        }
        if (conflict == 0) {
            for (const RecordPut &p : puts) {
                buffer_ = QByteArray(recordData(p.recno), length);
                buffer_.replace(qsizetype(p.offset), p.bytes.size(), p.bytes);
                bool keyChanged = false;
                batch_->rewrite(p.recno, keyChanged);
                batch_->counted();
            }
        }
    } catch (...) {
        try {
            settle();
        } catch (const DbError &) {
        }
        throw;
    }
    settle();
    return conflict;
}

} // namespace kv
