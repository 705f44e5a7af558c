#pragma once
// A file of a table or an index: descriptor, read mapping, positioned reads and writes,
// replacement through a temporary file, and the open-file-description locks that stand
// for exclusive and shared use. Kept apart so that the rest of the engine has no system
// calls of its own.
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kv {

class OsFile {
public:
    OsFile() = default;
    ~OsFile();
    OsFile(const OsFile &) = delete;
    OsFile &operator=(const OsFile &) = delete;
    OsFile(OsFile &&other) noexcept;
    OsFile &operator=(OsFile &&other) noexcept;

    // Opens an existing file (or creates it when create is set, truncating nothing).
    // Returns false and sets errorText when it cannot.
    bool open(const QString &path, bool writable, bool create = false);
    // A new file in the folder of target, for writing what replaces target: created
    // under a name nobody else uses, with the permissions of target when it exists.
    // Returns false and sets errorText when it cannot.
    bool createTemporary(const QString &target);
    // Gives the file target's name, replacing target in one step; the file stays open.
    // Returns false and sets errorText when it cannot.
    bool renameOver(const QString &target);
    // Closes the file; false (and errorText) when the system reports a failed write.
    bool close();
    // Closes and deletes the file: a temporary that is no longer wanted.
    void discard();
    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return writable_; }
    const QString &errorText() const { return error_; }
    const QString &path() const { return path_; }

    enum class Lock { Shared, Exclusive };
    enum class LockResult { Granted, Busy };
    // The use lock: a read lock for shared use, a write lock for exclusive use, on one
    // byte far beyond any table's end. Non-blocking. A file system without locks grants it.
    LockResult lockUse(Lock kind);
    // Serialises writers that share a table (held for the few writes of one record).
    void lockWrites();
    void unlockWrites();
    // Takes the writers' lock only when nobody holds it; true then.
    bool tryLockWrites();

    std::int64_t size() const;
    // False at the end of the file (errorText empty) or on an error (errorText says which).
    bool readAt(std::int64_t offset, void *data, std::size_t size) const;
    bool writeAt(std::int64_t offset, const void *data, std::size_t size);
    // Writes over bytes the file already has. Where the mapping covers them this is a
    // store into the shared pages, with no system call and no change of the file's time
    // for each write; elsewhere it is writeAt(). A kill can stop the copy partway, so it
    // is for bytes that a mark guards (the index while the table says it is behind) or
    // for a single byte.
    bool overwrite(std::int64_t offset, const void *data, std::size_t size);
    // Copies size bytes at from in source to offset in this file, inside the system where
    // it can (no pass through our memory), else by reading and writing.
    bool copyFrom(const OsFile &source, std::int64_t from, std::int64_t offset, std::size_t size);
    bool truncate(std::int64_t size);
    bool sync();
    // Starts writing the file's changed pages to the disk without waiting, so that a
    // later sync() finds less to do.
    // With a size, only the pages of those bytes.
    void startWriteback(std::int64_t offset = 0, std::int64_t size = 0);
    // Which file it is (device and inode), with its size and the time of its last
    // change: a file renamed over the path is another file.
    struct Stamp {
        std::int64_t size = -1, sec = 0, nsec = 0;
        std::uint64_t device = 0, inode = 0;
        bool operator==(const Stamp &) const = default;
        bool sameFile(const Stamp &o) const { return inode != 0 && device == o.device && inode == o.inode; }
    };
    Stamp stamp() const;
    // The stamp of whatever file the path names now; an empty stamp when there is none.
    static Stamp stampOf(const QString &path);
    // Whether no name leads to the open file any more: another file was renamed over its
    // path, or it was deleted. One call on the open file, where a stamp of the path
    // looks the path up.
    bool unlinked() const;

    // The first `size` bytes of the file, mapped for reading (and, in a file open for
    // writing, for overwrite()). The pointer stays valid until the next map() that needs
    // more, or close(). Writes through writeAt() are visible in the mapping at once.
    const char *map(std::int64_t size);
    // Tells the system that the first `size` mapped bytes are about to be read from start
    // to end, so that they come in large steps rather than a page fault at a time.
    void adviseSequential(std::int64_t size) const;

private:
    void unmap();
    void knowSize(std::int64_t size) const { knownSize_ = std::max(knownSize_, size); }
    int fd_ = -1;
    bool writable_ = false;
    QString path_;
    mutable QString error_;
    char *map_ = nullptr;
    std::size_t mapSize_ = 0;
    bool mapWritable_ = false;
    // What the file is known to hold: past it a store into the mapping would be lost or
    // fault. Only our own truncate() lowers it; nothing of ours shrinks a file that
    // another program may be writing, except past the records it counts.
    mutable std::int64_t knownSize_ = 0;
};

// The text of an errno value, for messages.
QString systemError(int err);

// Holds the lock that serialises writers for one change.
class WriteGuard {
public:
    explicit WriteGuard(OsFile &f) : f_(f) { f_.lockWrites(); }
    ~WriteGuard() { f_.unlockWrites(); }
    WriteGuard(const WriteGuard &) = delete;
    WriteGuard &operator=(const WriteGuard &) = delete;
private:
    OsFile &f_;
};

} // namespace kv
