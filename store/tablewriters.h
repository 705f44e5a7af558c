#pragma once
// The table object's two ways of writing many records: a bulk append (records wait in
// memory and reach the file in batches, counted and indexed once at the end) and a batch
// of changes (existing records rewritten in chunks, each under one lock). Table::post()
// hands a record to the one that is running. Only the table object uses these.
#include "store/table.h"

namespace kv {

class Table::BulkWriter {
public:
    // Under the writers' lock, taken with the index put right; throws DbError when it
    // cannot be.
    explicit BulkWriter(Table &table);
    // The record being added joins the records waiting; its record number.
    std::uint32_t post();
    // A waiting record's bytes; null when recno is not waiting.
    const char *waiting(std::uint32_t recno) const;
    // The waiting records written; on failure they leave the count and the order.
    void flush();
    // The file as it was before the bulk append, the lock let go.
    void rollback() noexcept;
    std::uint32_t start() const { return start_; }

private:
    static constexpr qsizetype kBatchBytes = 1 << 20;
    Table &t_;
    std::uint32_t start_ = 0; // the file ended after this record, followed by tail_
    QByteArray tail_;
    QByteArray pending_;      // appended, not yet written
    std::uint32_t first_ = 0; // record number of the first of them
};

class Table::ChangeBatch {
public:
    ChangeBatch(Table &table, int chunk);
    // The chunk's lock taken (and the table's picture refreshed) when not held.
    void startChunk();
    // Header written, lock let go.
    void endChunk();
    // One more change in the chunk; the chunk ends when it is full.
    void counted();
    // The record being added or edited, written; its record number.
    std::uint32_t post(bool inserted, bool &keyChanged);
    // The record being edited written over record recno, only the bytes that changed.
    void rewrite(std::uint32_t recno, bool &keyChanged);

private:
    Table &t_;
    int chunk_;
    int left_;            // changes left in this chunk
    bool locked_ = false; // the chunk holds the lock
    bool marked_ = false; // the chunk has said that the index may be behind
    std::vector<char> before_; // the record as it was, while its keys move
};

} // namespace kv
