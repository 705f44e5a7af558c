#pragma once
// Work run in a child process: to write a table beside this one, or to be killed midway
// as a crash would stop it.
#include <QByteArray>
#include <functional>
#include <sys/types.h>

namespace kvtest {

// Runs work in a child process; what it writes to the pipe comes back from finish().
class Child {
public:
    explicit Child(const std::function<void(int out)> &work);
    // Waits for the child; its output, and its exit status in status.
    QByteArray finish(int *status);
private:
    pid_t pid_ = -1;
    int in_ = -1;
};

// Runs work in a child process that is killed (SIGKILL) just before the system call
// number `change` (from 1) among those that can change a file or a folder (writes,
// copies, renames, removals, syncs, creating opens) and the process's end, counted on the
// thread that runs work: the files are then as a crash at that moment leaves them, the
// stores made through a mapping before that call included. Its other threads run freely.
enum class Stopped { Killed, Finished, Untraceable };
Stopped killBeforeChange(const std::function<void()> &work, int change);

} // namespace kvtest
