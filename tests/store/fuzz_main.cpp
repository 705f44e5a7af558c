// kv-fuzz-store [--runs N] [--seed S] [--dir DIR]: the reader fuzzing of the test suite at
// any length, for a sanitizer build by hand.
#include "storefuzz.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::uint64_t runs = 100000;
    std::uint32_t seed = 20261210;
    QTemporaryDir temp;
    QString dir = temp.path();
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toULongLong();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt();
        else if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
    }
    QDir().mkpath(dir);
    QElapsedTimer timer;
    timer.start();
    const std::uint64_t read = kvfuzz::run(dir, kvfuzz::makeSeed(dir), runs, seed);
    std::printf("%llu executions from seed %u in %.1f s, %llu records read\n", (unsigned long long)runs, seed,
                double(timer.elapsed()) / 1000.0, (unsigned long long)read);
    return 0;
}
