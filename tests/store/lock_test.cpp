// Exclusive and shared use, between table objects of one process and between processes.
#include "storetest.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kv;

namespace {
bool opens(const QString &path, bool exclusive)
{
    Table t;
    t.setPath(path);
    t.setExclusive(exclusive);
    try {
        t.open();
        return true;
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("in use by another program"))) << e.message().toStdString();
        return false;
    }
}

// A child process that opens the table and holds it until told to stop.
class Holder {
public:
    Holder(const QString &path, bool exclusive)
    {
        int ready[2], stop[2];
        if (::pipe(ready) != 0 || ::pipe(stop) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(stop[1]);
            char c = 'n';
            Table t;
            try {
                t.setPath(path);
                t.setExclusive(exclusive);
                t.open();
                c = 'y';
            } catch (...) {
            }
            (void)!::write(ready[1], &c, 1);
            (void)!::read(stop[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(stop[0]);
        stop_ = stop[1];
        char c = 'n';
        ok_ = ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
    }
    ~Holder()
    {
        if (pid_ > 0) {
            ::close(stop_);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool holding() const { return ok_; }
private:
    pid_t pid_ = -1;
    int stop_ = -1;
    bool ok_ = false;
};
} // namespace

TEST(Locks, WithinOneProcess)
{
    const QString path = newCatalogue();
    {
        Table shared;
        shared.setPath(path);
        shared.open();
        EXPECT_TRUE(opens(path, false));
        EXPECT_FALSE(opens(path, true));
    }
    {
        Table exclusive;
        exclusive.setPath(path);
        exclusive.setExclusive(true);
        exclusive.open();
        EXPECT_FALSE(opens(path, false));
        EXPECT_FALSE(opens(path, true));
    }
    EXPECT_TRUE(opens(path, true));
}

TEST(Locks, BetweenProcesses)
{
    const QString path = newCatalogue();
    {
        Holder other(path, false);
        ASSERT_TRUE(other.holding());
        EXPECT_TRUE(opens(path, false));
        EXPECT_FALSE(opens(path, true));
        Table t;
        t.setPath(path);
        EXPECT_THROW(t.pack(), DbError);
    }
    {
        Holder other(path, true);
        ASSERT_TRUE(other.holding());
        EXPECT_FALSE(opens(path, false));
        Table check; // a read-only table object is refused too
        check.setPath(path);
        check.setReadOnly(true);
        EXPECT_THROW(check.open(), DbError);
    }
    EXPECT_TRUE(opens(path, true));
}

TEST(Locks, TwoWritersSharingATableKeepEveryRecord)
{
    const QString path = newCatalogue();
    Table a, b;
    a.setPath(path);
    b.setPath(path);
    a.open();
    b.open();
    addRecords(a, {{{"Title", QStringLiteral("from a")}}});
    addRecords(b, {{{"Title", QStringLiteral("from b")}}});
    addRecords(a, {{{"Title", QStringLiteral("from a again")}}});
    b.refresh();
    EXPECT_EQ(walk(b, "Title"), QStringList({"from a", "from b", "from a again"}));
}
