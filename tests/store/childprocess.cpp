#include "childprocess.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/syscall.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kvtest {

Child::Child(const std::function<void(int out)> &work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        try {
            work(fds[1]);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    in_ = fds[0];
}

QByteArray Child::finish(int *status)
{
    QByteArray out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(in_, buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    ::close(in_);
    ::waitpid(pid_, status, 0);
    return out;
}

namespace {

constexpr int kCannotTrace = 4;

bool changesFiles(const __ptrace_syscall_info &call)
{
    const auto nr = long(call.entry.nr);
    if (nr == SYS_openat)
        return (call.entry.args[2] & (O_CREAT | O_TRUNC)) != 0;
    static const long changing[] = {
        SYS_write, SYS_pwrite64, SYS_writev, SYS_pwritev, SYS_pwritev2, SYS_copy_file_range, SYS_sendfile,
        SYS_fallocate, SYS_ftruncate, SYS_truncate, SYS_renameat, SYS_renameat2, SYS_linkat, SYS_unlinkat,
        SYS_mkdirat, SYS_fsync, SYS_fdatasync, SYS_sync_file_range, SYS_msync, SYS_fchmod, SYS_exit_group,
#ifdef SYS_rename
        SYS_rename, SYS_link, SYS_unlink, SYS_mkdir, SYS_rmdir, SYS_open, SYS_creat,
#endif
    };
    return std::find(std::begin(changing), std::end(changing), nr) != std::end(changing);
}

void killAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

Stopped killBeforeChange(const std::function<void()> &work, int change)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(kCannotTrace);
        ::raise(SIGSTOP); // the parent starts watching from here
        try {
            work();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    if (pid < 0)
        return Stopped::Untraceable;
    if (::waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status) ||
        ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
        if (!WIFEXITED(status) && !WIFSIGNALED(status))
            killAndReap(pid);
        return Stopped::Untraceable;
    }
    int seen = 0, signal = 0;
    for (;;) {
        if (::ptrace(PTRACE_SYSCALL, pid, nullptr, signal) != 0) {
            killAndReap(pid);
            return Stopped::Untraceable;
        }
        signal = 0;
        if (::waitpid(pid, &status, 0) != pid || WIFEXITED(status) || WIFSIGNALED(status))
            return Stopped::Finished;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status); // the child's own signals go on to it
            continue;
        }
        __ptrace_syscall_info call{};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof call, &call) <= 0) {
            killAndReap(pid);
            return Stopped::Untraceable;
        }
        if (call.op == PTRACE_SYSCALL_INFO_ENTRY && changesFiles(call) && ++seen == change) {
            killAndReap(pid);
            return Stopped::Killed;
        }
    }
}

} // namespace kvtest
