#include "osfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kv {

namespace {
// Far beyond any table's length, so no reader that maps or reads the file is blocked.
constexpr off_t kUseLockOffset = 0x7FFFFFF0;
constexpr off_t kWriteLockOffset = 0x7FFFFFF1;

struct flock oneByte(short type, off_t offset)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = 1;
    return fl;
}

int ofdLock(int fd, short type, off_t offset, bool wait)
{
    struct flock fl = oneByte(type, offset);
    int rc;
    do {
        rc = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl);
    } while (rc != 0 && errno == EINTR && wait);
    return rc == 0 ? 0 : errno;
}
} // namespace

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

OsFile::~OsFile() { close(); }

OsFile::OsFile(OsFile &&other) noexcept { *this = std::move(other); }

OsFile &OsFile::operator=(OsFile &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        writable_ = other.writable_;
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
        map_ = std::exchange(other.map_, nullptr);
        mapSize_ = std::exchange(other.mapSize_, 0);
        mapWritable_ = std::exchange(other.mapWritable_, false);
        knownSize_ = std::exchange(other.knownSize_, 0);
    }
    return *this;
}

bool OsFile::open(const QString &path, bool writable, bool create)
{
    close();
    path_ = path;
    const QByteArray native = QFile::encodeName(path);
    int flags = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    if (create)
        flags |= O_CREAT;
    fd_ = ::open(native.constData(), flags, 0666);
    if (fd_ < 0) {
        error_ = systemError(errno);
        return false;
    }
    struct stat st;
    const bool known = ::fstat(fd_, &st) == 0;
    if (known && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        error_ = systemError(EISDIR);
        return false;
    }
    knownSize_ = known ? st.st_size : 0;
    writable_ = writable;
    return true;
}

bool OsFile::createTemporary(const QString &target)
{
    close();
    const QByteArray targetName = QFile::encodeName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = target + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            struct stat old;
            if (::stat(targetName.constData(), &old) == 0)
                ::fchmod(fd_, old.st_mode & 07777);
            writable_ = true;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    error_ = systemError(errno);
    path_.clear(); // not ours to discard
    return false;
}

bool OsFile::renameOver(const QString &target)
{
    if (::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0) {
        error_ = systemError(errno);
        return false;
    }
    path_ = target;
    return true;
}

bool OsFile::close()
{
    unmap();
    bool closed = true;
    if (fd_ >= 0 && ::close(fd_) != 0) {
        error_ = systemError(errno);
        closed = false;
    }
    fd_ = -1;
    knownSize_ = 0;
    return closed;
}

void OsFile::discard()
{
    close();
    if (!path_.isEmpty())
        ::unlink(QFile::encodeName(path_).constData());
}

OsFile::LockResult OsFile::lockUse(Lock kind)
{
    // A read-only descriptor cannot hold a write lock, and a write-only one no read lock.
    const int err = ofdLock(fd_, kind == Lock::Shared ? F_RDLCK : F_WRLCK, kUseLockOffset, false);
    if (err == EAGAIN || err == EACCES)
        return LockResult::Busy;
    if (err == EBADF && kind == Lock::Exclusive) {
        // A file we may only read cannot carry a write lock: it is ours alone when nobody
        // holds any lock on it; then hold a read lock so that nobody takes it from us.
        struct flock fl = oneByte(F_WRLCK, kUseLockOffset);
        if (::fcntl(fd_, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK)
            return LockResult::Busy;
        const int again = ofdLock(fd_, F_RDLCK, kUseLockOffset, false);
        return again == EAGAIN || again == EACCES ? LockResult::Busy : LockResult::Granted;
    }
    return LockResult::Granted; // 0, or a file system without locks
}

void OsFile::lockWrites() { ofdLock(fd_, F_WRLCK, kWriteLockOffset, true); }
void OsFile::unlockWrites() { ofdLock(fd_, F_UNLCK, kWriteLockOffset, false); }
bool OsFile::tryLockWrites()
{
    const int err = ofdLock(fd_, F_WRLCK, kWriteLockOffset, false);
    return err != EAGAIN && err != EACCES;
}

std::int64_t OsFile::size() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return -1;
    knowSize(st.st_size);
    return st.st_size;
}

OsFile::Stamp OsFile::stamp() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return {};
    knowSize(st.st_size);
    return {st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

bool OsFile::unlinked() const
{
    struct stat st;
    return fd_ >= 0 && ::fstat(fd_, &st) == 0 && st.st_nlink == 0;
}

OsFile::Stamp OsFile::stampOf(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

bool OsFile::readAt(std::int64_t offset, void *data, std::size_t size) const
{
    char *p = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd_, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error_ = n < 0 ? systemError(errno) : QString();
            return false;
        }
        p += n;
        size -= size_t(n);
        offset += n;
    }
    return true;
}

bool OsFile::writeAt(std::int64_t offset, const void *data, std::size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error_ = systemError(n < 0 ? errno : ENOSPC);
            return false;
        }
        p += n;
        size -= size_t(n);
        offset += n;
        knowSize(offset);
    }
    return true;
}

bool OsFile::overwrite(std::int64_t offset, const void *data, std::size_t size)
{
    const std::int64_t end = offset + std::int64_t(size);
    if (!mapWritable_ || offset < 0 || end > knownSize_ || std::uint64_t(end) > mapSize_)
        return writeAt(offset, data, size);
    if (size == 4 && offset % 4 == 0) {
        // A count: one store, so that a kill leaves it whole.
        std::uint32_t value;
        std::memcpy(&value, data, 4);
        std::atomic_ref<std::uint32_t>(*reinterpret_cast<std::uint32_t *>(map_ + offset)).store(value, std::memory_order_relaxed);
    } else {
        std::memcpy(map_ + offset, data, size);
    }
    // What the caller does next (clearing a mark) must not reach the pages before this.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    return true;
}

bool OsFile::copyFrom(const OsFile &source, std::int64_t from, std::int64_t offset, std::size_t size)
{
    while (size > 0) {
        off_t in = from, out = offset;
        const ssize_t n = ::copy_file_range(source.fd_, &in, fd_, &out, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL))
            break; // another file system, or none that copies: by hand below
        if (n <= 0) {
            error_ = n < 0 ? systemError(errno) : QStringLiteral("the file to copy from ended early");
            return false;
        }
        from += n;
        offset += n;
        size -= std::size_t(n);
        knowSize(offset);
    }
    std::vector<char> buffer(std::min<std::size_t>(size, 1u << 20));
    while (size > 0) {
        const std::size_t part = std::min(size, buffer.size());
        if (!source.readAt(from, buffer.data(), part)) {
            error_ = source.errorText().isEmpty() ? QStringLiteral("the file to copy from ended early") : source.errorText();
            return false;
        }
        if (!writeAt(offset, buffer.data(), part))
            return false;
        from += std::int64_t(part);
        offset += std::int64_t(part);
        size -= part;
    }
    return true;
}

bool OsFile::truncate(std::int64_t size)
{
    if (::ftruncate(fd_, size) != 0) {
        error_ = systemError(errno);
        return false;
    }
    knownSize_ = size;
    return true;
}

bool OsFile::sync() { return ::fdatasync(fd_) == 0; }

void OsFile::startWriteback(std::int64_t offset, std::int64_t size)
{
    ::sync_file_range(fd_, offset, size, SYNC_FILE_RANGE_WRITE);
}

const char *OsFile::map(std::int64_t size)
{
    if (size <= 0)
        return nullptr;
    if (map_ && std::size_t(size) <= mapSize_)
        return map_;
    unmap();
    // Room to grow: pages past the end become readable as the file grows.
    const std::size_t want = std::size_t(size) + std::size_t(size) / 4 + (64u << 20);
    void *p = writable_ ? ::mmap(nullptr, want, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0) : MAP_FAILED;
    mapWritable_ = p != MAP_FAILED;
    if (p == MAP_FAILED) // a file system that cannot map for writing still maps for reading
        p = ::mmap(nullptr, want, PROT_READ, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) {
        error_ = systemError(errno);
        return nullptr;
    }
    map_ = static_cast<char *>(p);
    mapSize_ = want;
    return map_;
}

void OsFile::adviseSequential(std::int64_t size) const
{
    if (!map_ || size <= 0)
        return;
    const std::size_t bytes = std::min(std::size_t(size), mapSize_);
    ::madvise(map_, bytes, MADV_SEQUENTIAL);
#ifdef MADV_POPULATE_READ
    // Maps every page at once; a kernel without it reads ahead at least.
    if (::madvise(map_, bytes, MADV_POPULATE_READ) == 0)
        return;
#endif
    ::madvise(map_, bytes, MADV_WILLNEED);
}

void OsFile::unmap()
{
    if (map_)
        ::munmap(map_, mapSize_);
    map_ = nullptr;
    mapSize_ = 0;
    mapWritable_ = false;
}

} // namespace kv
