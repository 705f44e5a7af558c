// kv-fuzz-files [--runs N] [--seed S] [--dir DIR]: the report definition and delimited
// line fuzzing of the test suite at any length, for a sanitizer build by hand.
#include "filefuzz.h"

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
    std::uint64_t runs = 100000;
    std::uint32_t seed = 20261211;
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
    const kvfuzz::FileFuzzCounts c = kvfuzz::runFileFuzz(dir, runs, seed);
    std::printf("%llu executions from seed %u in %.1f s: %llu definitions refused, %llu runs, %llu lines read\n",
                (unsigned long long)runs, seed, double(timer.elapsed()) / 1000.0, (unsigned long long)c.refused,
                (unsigned long long)c.runs, (unsigned long long)c.lines);
    return 0;
}
