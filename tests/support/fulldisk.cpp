#include "fulldisk.h"

#include "testenv.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kvtest {

FullDisk::FullDisk(const QString &name) : dir_(tempPath(name))
{
    QDir().mkpath(dir_);
    const QByteArray where = QFile::encodeName(dir_);
    mounted_ = ::geteuid() == 0 && ::mount("kvfull", where.constData(), "tmpfs", 0, "size=256k") == 0;
}

FullDisk::~FullDisk()
{
    if (limited_) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(savedLimit_);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    if (mounted_)
        ::umount2(QFile::encodeName(dir_).constData(), MNT_DETACH);
}

void FullDisk::fill()
{
    if (mounted_) {
        const QByteArray filler = QFile::encodeName(path(QStringLiteral("filler")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        static const char block[4096] = {};
        while (fd >= 0 && ::write(fd, block, sizeof block) > 0) {
        }
        if (fd >= 0)
            ::close(fd);
        return;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    savedLimit_ = long(limit.rlim_cur);
    limit.rlim_cur = rlim_t(kSizeLimit);
    limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

QString FullDisk::reason() const { return QString::fromLocal8Bit(std::strerror(mounted_ ? ENOSPC : EFBIG)); }

} // namespace kvtest
