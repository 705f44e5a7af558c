// kv-fuzz-files [--runs N] [--seed S] [--dir DIR]: the report definition and delimited
// line fuzzing of the test suite at any length, for a sanitizer build by hand.
#include "filefuzz.h"
#include "fuzzargs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    // Report runs measure text with fonts, which needs a GUI application (offscreen).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir temp;
    const kvfuzz::FuzzArgs a = kvfuzz::fuzzArgs(app.arguments().mid(1), 20261211, temp.path());
    const std::uint64_t runs = a.runs;
    const std::uint32_t seed = a.seed;
    const QString dir = a.dir;
    QDir().mkpath(dir);
    QElapsedTimer timer;
    timer.start();
    const kvfuzz::FileFuzzCounts c = kvfuzz::runFileFuzz(dir, runs, seed);
    std::printf("%llu executions from seed %u in %.1f s: %llu definitions refused, %llu runs, %llu lines read\n",
                (unsigned long long)runs, seed, double(timer.elapsed()) / 1000.0, (unsigned long long)c.refused,
                (unsigned long long)c.runs, (unsigned long long)c.lines);
    return 0;
}
