// kv-fuzz-store [--runs N] [--seed S] [--dir DIR]: the reader fuzzing of the test suite at
// any length, for a sanitizer build by hand.
#include "storefuzz.h"
#include "fuzzargs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const kvfuzz::FuzzArgs a = kvfuzz::fuzzArgs(app.arguments().mid(1), 20261210, temp.path());
    const std::uint64_t runs = a.runs;
    const std::uint32_t seed = a.seed;
    const QString dir = a.dir;
    QDir().mkpath(dir);
    QElapsedTimer timer;
    timer.start();
    const std::uint64_t read = kvfuzz::run(dir, kvfuzz::makeSeed(dir), runs, seed);
    std::printf("%llu executions from seed %u in %.1f s, %llu records read\n", (unsigned long long)runs, seed,
                double(timer.elapsed()) / 1000.0, (unsigned long long)read);
    return 0;
}
