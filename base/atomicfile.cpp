#include "atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {
QString systemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }
} // namespace

QString cannotWriteMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Unable to write %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

AtomicFile::AtomicFile(const QString &path) : path_(path) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::isOpen() const { return file_ && file_->isOpen(); }

bool AtomicFile::open()
{
    discard();
    error_.clear();
    // A link is written through: the file it leads to is replaced, the link stays.
    const QFileInfo info(path_);
    target_ = info.isSymLink() ? info.symLinkTarget() : path_;
    const QByteArray target = QFile::encodeName(target_);
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(systemReason(EISDIR));
    int fd = -1;
    if (exists && !S_ISREG(old.st_mode)) {
        // A device or a pipe (/dev/stdout, say) is written as it is: it cannot be replaced.
        fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return fail(systemReason(errno));
        return openDevice(fd);
    }
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary_ =
            target_ + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        fd = ::open(QFile::encodeName(temporary_).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int err = errno;
        temporary_.clear(); // not ours to remove
        return fail(systemReason(err));
    }
    // The new file keeps the access rights of the one it replaces.
    if (exists)
        ::fchmod(fd, old.st_mode & 07777);
    return openDevice(fd);
}

bool AtomicFile::openDevice(int fd)
{
    file_ = std::make_unique<QFile>();
    const QIODevice::OpenMode mode = temporary_.isEmpty() ? QIODevice::WriteOnly : QIODevice::ReadWrite;
    if (!file_->open(fd, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file_->errorString());
    }
    return true;
}

bool AtomicFile::write(const QByteArray &bytes)
{
    if (!isOpen())
        return fail(QStringLiteral("The file is not open."));
    if (file_->write(bytes) != bytes.size())
        return fail(file_->errorString());
    return true;
}

bool AtomicFile::commit()
{
    if (!isOpen())
        return fail(error_.isEmpty() ? QStringLiteral("The file is not open.") : error_);
    if (file_->error() != QFileDevice::NoError)
        return fail(file_->errorString());
    if (!file_->flush())
        return fail(file_->errorString());
    const bool replacing = !temporary_.isEmpty();
    if (replacing && ::fsync(file_->handle()) != 0)
        return fail(systemReason(errno));
    file_->close();
    if (file_->error() != QFileDevice::NoError)
        return fail(file_->errorString());
    if (replacing && ::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(target_).constData()) != 0)
        return fail(systemReason(errno));
    temporary_.clear();
    file_.reset();
    return true;
}

void AtomicFile::discard()
{
    if (file_)
        file_->close();
    file_.reset();
    if (!temporary_.isEmpty())
        ::unlink(QFile::encodeName(temporary_).constData());
    temporary_.clear();
}

bool AtomicFile::fail(const QString &reason)
{
    // The first reason is the one that tells what happened.
    if (error_.isEmpty())
        error_ = reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
    discard();
    return false;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    AtomicFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace kv
