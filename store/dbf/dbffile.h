#pragma once
// An open table file: its header, its records read through a mapping of the file, and
// the writes that keep a record whole before the header counts it. Every failure is a
// DbError that names the table.
#include "store/dbf/dbfheader.h"
#include "store/dbf/osfile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <future>

namespace kv {

class DbfFile {
public:
    // Creates an empty table with these fields at path, replacing an existing one (and
    // its production index) unless another program has it open. Throws DbError.
    static void create(const QString &path, const std::vector<FieldDef> &fields);

    // Opens an existing table for shared or exclusive use, for writing whenever the file
    // allows it (exclusive use needs a write lock). Throws when the file is missing,
    // cannot be opened, is in use by another program or is not a dBASE table.
    void open(const QString &path, bool exclusive);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    bool writable() const { return file_.writable(); }
    // The table as messages name it: its path in the platform's form.
    const QString &shownName() const { return shown_; }
    const DbfHeader &header() const { return header_; }
    OsFile &os() { return file_; }

    // The records the table holds; a bulk append counts ahead of the file.
    std::uint32_t count() const { return header_.recordCount; }
    void setCount(std::uint32_t count) { header_.recordCount = count; }
    // Raw bytes of record recno (1-based) in the mapping, valid until the next remap().
    const char *record(std::uint32_t recno) const
    {
        return data_ + header_.headerLength + std::size_t(recno - 1) * header_.recordLength;
    }
    // Maps the counted records again after the file has grown.
    void remap();
    // Takes the header's count again: another writer sharing the table may have appended.
    void rereadCount();

    // Writes records from record number first on, whole and followed by the end mark;
    // a failed write cuts the file back to where they began.
    void writeRecords(std::uint32_t first, const QByteArray &records);
    void rewriteRecord(std::uint32_t recno, const QByteArray &record);
    // Writes bytes from ... to - 1 of the record's new bytes over the old ones.
    void rewriteRecordPart(std::uint32_t recno, const char *record, std::size_t from, std::size_t to);
    void markDeleted(std::uint32_t recno);
    // The header's count (with today's date) and production-index flag.
    void writeCount(std::uint32_t count);
    // The count with the index-pending mark set before it.
    void writeCountPending(std::uint32_t count);
    bool productionFlag() const { return readProductionFlag(file_); }
    void setProductionFlag(bool on);
    // As the file has it now: the mapping shows what other programs wrote.
    bool indexPending() const { return data_ ? data_[kDbfIndexPending] != 0 : readIndexPending(file_); }
    void setIndexPending(bool on);
    // Removes what runs stopped midway left beside the table: temporary copies of it
    // and of its index. Only while no other writer holds the table's write lock.
    void removeLeftovers();

    // The bytes after the first `count` records, and putting them back there with
    // nothing after them: a bulk append that is not kept leaves the file as it was.
    QByteArray tailAfter(std::uint32_t count) const;
    void restoreTail(std::uint32_t count, const QByteArray &tail);

    // Replaces the file with a copy without the records marked deleted; with
    // indexFollows the copy says that its index is still to be written. meanwhile, when
    // given, works on the records that stay (count of them; record(n) is the one that
    // becomes record n) on a second thread while they are copied and the copy goes to
    // the disk, before it replaces the file. Its exception, if any, stops the pack.
    using RecordAt = std::function<const char *(std::uint32_t recno)>;
    using WhileWriting = std::function<void(std::uint32_t count, const RecordAt &record)>;
    void pack(bool indexFollows, const WhileWriting &meanwhile = {});

private:
    [[noreturn]] void fail(const char *what, const QString &why) const;

    OsFile file_;
    // The file a pack replaced, let go of (its mapping, its blocks) on a second thread:
    // for a large table that takes a while, and nothing needs to wait for it.
    std::future<void> retiring_;
    DbfHeader header_;
    QString shown_;
    const char *data_ = nullptr;
    QByteArray writeBuffer_; // records and the end mark
};

} // namespace kv
