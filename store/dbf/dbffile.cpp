#include "store/dbf/dbffile.h"

#include "store/dbf/companion.h"

#include "base/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <future>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace kv {

namespace {
constexpr char kDeletedFlag = '*';
constexpr char kEofMarker = 0x1A;
} // namespace

void DbfFile::fail(const char *what, const QString &why) const
{
    throw DbError(QStringLiteral("Cannot %1 the table \"%2\": %3.").arg(QLatin1String(what), shown_, why));
}

void DbfFile::create(const QString &path, const std::vector<FieldDef> &fields)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray bytes = newTableBytes(fields, shown);
    // Nobody may have the old file open while it is replaced.
    OsFile old;
    if (QFileInfo::exists(path)) {
        if (!old.open(path, true) && !old.open(path, false))
            throw DbError(QStringLiteral("Cannot replace the table \"%1\": %2.").arg(shown, old.errorText()));
        if (old.lockUse(OsFile::Lock::Exclusive) == OsFile::LockResult::Busy)
            throw DbError(QStringLiteral("The table \"%1\" is in use by another program.").arg(shown));
    }
    OsFile out;
    if (!out.createTemporary(path) || !out.writeAt(0, bytes.constData(), size_t(bytes.size())) || !out.sync() ||
        !out.renameOver(path)) {
        const QString why = out.errorText();
        out.discard();
        throw DbError(QStringLiteral("Cannot create the table \"%1\": %2.").arg(shown, why));
    }
    // The new table has no index; an old production index belongs to the old table.
    const QString mdx = mdxPathFor(path);
    if (QFileInfo::exists(mdx))
        QFile::remove(mdx);
}

void DbfFile::open(const QString &path, bool exclusive)
{
    close();
    shown_ = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("The table \"%1\" does not exist.").arg(shown_));
    // Exclusive use needs a write lock, so the file is opened for writing whenever it can be.
    if (!file_.open(path, true) && !file_.open(path, false))
        fail("open", file_.errorText());
    if (file_.lockUse(exclusive ? OsFile::Lock::Exclusive : OsFile::Lock::Shared) == OsFile::LockResult::Busy) {
        file_.close();
        throw DbError(QStringLiteral("The table \"%1\" is in use by another program.").arg(shown_));
    }
    header_ = readDbfHeader(file_, shown_);
    remap();
}

void DbfFile::close()
{
    file_.close();
    data_ = nullptr;
    header_ = DbfHeader();
}

void DbfFile::remap()
{
    const std::int64_t needed = header_.recordOffset(header_.recordCount + 1);
    data_ = file_.map(std::max<std::int64_t>(needed, 1));
    if (!data_)
        throw DbError(QStringLiteral("Cannot read the table \"%1\".").arg(shown_));
}

void DbfFile::rereadCount()
{
    // The mapping shows the header as it is now. A count we already hold needs no
    // check against the file's length: its records were whole when we took it.
    if (data_) {
        std::uint32_t counted;
        std::memcpy(&counted, data_ + 4, sizeof counted);
        if (qFromLittleEndian(counted) == header_.recordCount)
            return;
    }
    rereadDbfCount(file_, header_);
}

void DbfFile::writeRecords(std::uint32_t first, const QByteArray &records)
{
    // The records are written whole, with the end mark after them, before the header
    // counts them; a failed write leaves the file as it was.
    const std::int64_t offset = header_.recordOffset(first);
    writeBuffer_.resize(records.size() + 1);
    std::memcpy(writeBuffer_.data(), records.constData(), size_t(records.size()));
    writeBuffer_[records.size()] = kEofMarker;
    if (!file_.writeAt(offset, writeBuffer_.constData(), size_t(writeBuffer_.size()))) {
        const QString why = file_.errorText();
        file_.truncate(offset);
        file_.writeAt(offset, &kEofMarker, 1);
        fail("add the record to", why);
    }
}

void DbfFile::rewriteRecord(std::uint32_t recno, const QByteArray &record)
{
    if (!file_.writeAt(header_.recordOffset(recno), record.constData(), size_t(record.size())))
        fail("save the record in", file_.errorText());
}

void DbfFile::rewriteRecordPart(std::uint32_t recno, const char *record, std::size_t from, std::size_t to)
{
    if (!file_.writeAt(header_.recordOffset(recno) + std::int64_t(from), record + from, to - from))
        fail("save the record in", file_.errorText());
}

void DbfFile::markDeleted(std::uint32_t recno)
{
    if (!file_.writeAt(header_.recordOffset(recno), &kDeletedFlag, 1))
        fail("delete the record in", file_.errorText());
}

void DbfFile::writeCount(std::uint32_t count)
{
    if (!writeDbfCount(file_, count))
        fail("write to", file_.errorText());
}

void DbfFile::writeCountPending(std::uint32_t count)
{
    if (!writeDbfCountPending(file_, count))
        fail("write to", file_.errorText());
}

void DbfFile::setIndexPending(bool on)
{
    if (!writeIndexPending(file_, on))
        fail("write to", file_.errorText());
}

void DbfFile::removeLeftovers()
{
    if (!file_.writable() || !file_.tryLockWrites())
        return;
    const QFileInfo table(file_.path());
    const QString mdx = QFileInfo(mdxPathFor(file_.path())).fileName();
    QDir dir = table.absoluteDir();
    // The names OsFile::createTemporary gives: the target's name, eight hex digits, ".tmp".
    const QStringList left = dir.entryList({table.fileName() + QStringLiteral(".????????.tmp"), mdx + QStringLiteral(".????????.tmp")},
                                           QDir::Files | QDir::Hidden);
    for (const QString &name : left)
        dir.remove(name);
    file_.unlockWrites();
}

void DbfFile::setProductionFlag(bool on)
{
    if (!writeProductionFlag(file_, on))
        fail("write to", file_.errorText());
}

QByteArray DbfFile::tailAfter(std::uint32_t count) const
{
    const std::int64_t at = header_.recordOffset(count + 1);
    const std::int64_t size = file_.size();
    QByteArray tail(qsizetype(std::max<std::int64_t>(size - at, 0)), Qt::Uninitialized);
    if (!tail.isEmpty() && !file_.readAt(at, tail.data(), size_t(tail.size())))
        tail = QByteArray(1, kEofMarker);
    return tail;
}

void DbfFile::restoreTail(std::uint32_t count, const QByteArray &tail)
{
    // Nothing counts the records beyond count, so a failure here leaves them unseen.
    const std::int64_t at = header_.recordOffset(count + 1);
    file_.truncate(at);
    file_.writeAt(at, tail.constData(), size_t(tail.size()));
}

void DbfFile::pack(bool indexFollows, const WhileWriting &meanwhile)
{
    const std::uint32_t length = header_.recordLength;
    OsFile out;
    if (!out.createTemporary(file_.path()))
        fail("pack", out.errorText());
    out.lockUse(OsFile::Lock::Exclusive);

    // The record numbers that stay, in their order: kept[n - 1] becomes record n.
    std::vector<std::uint32_t> kept;
    kept.reserve(header_.recordCount);
    for (std::uint32_t r = 1; r <= header_.recordCount; ++r)
        if (record(r)[0] != kDeletedFlag)
            kept.push_back(r);
    const auto live = std::uint32_t(kept.size());

    // The work on the records runs beside the copy: both only read this table, which
    // no one else changes while we hold it alone.
    // Without a second thread to be had, it runs after the copy instead.
    std::future<void> working;
    if (meanwhile) {
        const auto work = [&] { meanwhile(live, [&](std::uint32_t n) { return record(kept[n - 1]); }); };
        try {
            working = std::async(std::launch::async, work);
        } catch (const std::system_error &) {
            working = std::async(std::launch::deferred, work);
        }
    }
    auto abandon = [&](const QString &why) {
        if (working.valid())
            working.wait();
        out.discard();
        fail("pack", why);
    };

    // The header, then each run of records that stay, copied file to file.
    if (!out.writeAt(0, data_, header_.headerLength))
        abandon(out.errorText());
    std::int64_t at = header_.headerLength, unsent = 0;
    for (std::size_t i = 0; i < kept.size();) {
        std::size_t j = i + 1;
        while (j < kept.size() && kept[j] == kept[j - 1] + 1)
            ++j;
        const std::size_t bytes = (j - i) * length;
        if (!out.copyFrom(file_, header_.recordOffset(kept[i]), at, bytes))
            abandon(out.errorText());
        at += std::int64_t(bytes);
        unsent += std::int64_t(bytes);
        if (unsent >= (4 << 20)) {
            out.startWriteback(at - unsent, unsent);
            unsent = 0;
        }
        i = j;
    }
    if (!out.writeAt(at, &kEofMarker, 1) || !writeDbfCount(out, live) || !writeIndexPending(out, indexFollows))
        abandon(out.errorText());
    // The copy must be on the disk before it replaces the table: one sync of the whole
    // file, begun here so that the disk writes while the work above finishes.
    out.startWriteback();
    if (working.valid()) {
        try {
            working.get();
        } catch (...) {
            out.discard();
            throw;
        }
    }
    if (!out.sync())
        abandon(out.errorText());
    if (!out.renameOver(file_.path()))
        abandon(out.errorText());
    // The packed file is already locked for our exclusive use under its new name.
    OsFile old = std::exchange(file_, std::move(out));
    if (retiring_.valid())
        retiring_.wait();
    try {
        retiring_ = std::async(std::launch::async, [old = std::move(old)]() mutable { old.close(); });
    } catch (const std::system_error &) {
        // No second thread to be had: the old file has been closed here instead.
    }
    header_.recordCount = live;
    remap();
}

} // namespace kv
