// Times a table backup of a large catalogue against `cp` of the same file on the same
// disk, and how long the window would wait between two of its progress steps.
//
//   kv-bench-backup [--file CATALOGUE.DBF] [--dir DIR]
//
// The catalogue (default /var/tmp/kv-viewer/BENCH1000000.DBF, about 1.2 GB) is first
// copied into DIR, and every figure copies that copy, so the original is only read.
#include "benchutil.h"
#include "exchange/backup.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

using kvbench::seconds;

void shell(const QString &command);

// Each figure starts with nothing of the others' left to write.
double timed(const std::function<void()> &work)
{
    shell(QStringLiteral("sync"));
    QElapsedTimer clock;
    clock.start();
    work();
    return seconds(clock);
}

void shell(const QString &command)
{
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        std::fprintf(stderr, "failed: %s\n", qPrintable(command));
}

QString quoted(const QString &path) { return QLatin1Char('\'') + path + QLatin1Char('\''); }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString file = QStringLiteral("/var/tmp/kv-viewer/BENCH1000000.DBF");
    QString dir = QStringLiteral("/var/tmp/kv-bench-backup");
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--file"))
            file = args[i + 1];
        else if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
    }
    for (const char *sub : {"src", "cp", "backup"})
        QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(sub));
    const QString name = QFileInfo(file).fileName();
    const QString source = dir + QStringLiteral("/src/") + name;
    if (QFileInfo(source).size() != QFileInfo(file).size())
        shell(QStringLiteral("cp %1 %2").arg(quoted(file), quoted(source)));
    const double mb = double(QFileInfo(source).size()) / (1 << 20);
    std::printf("backup of %s (%.0f MB)\n", qPrintable(source), mb);
    const double read = kvbench::plainRead(source);

    const QString cpTarget = dir + QStringLiteral("/cp/") + name;
    double cp = 1e9, cpSync = 1e9, copy = 1e9, backup = 1e9, firstStep = 0, longestStep = 0;
    for (int round = 0; round < 3; ++round) {
        QFile::remove(cpTarget);
        cp = std::min(cp, timed([&] { shell(QStringLiteral("cp %1 %2").arg(quoted(source), quoted(cpTarget))); }));
        copy = std::min(copy, timed([&] { kv::safeCopy(source, dir + QStringLiteral("/backup/") + name); }));
        QFile::remove(cpTarget);
        cpSync = std::min(cpSync, timed([&] {
                              shell(QStringLiteral("cp %1 %2 && sync %2").arg(quoted(source), quoted(cpTarget)));
                          }));

        // As the window runs it: the table held alone, progress painted between steps.
        kv::Table table;
        table.setPath(source);
        kv::SilentPrompt prompt;
        kv::CopyControl control;
        QElapsedTimer step;
        step.start();
        control.progress = [&](qint64 done, qint64) {
            // Before the first step the table is opened exclusively; then the copy runs.
            double &longest = done == 0 ? firstStep : longestStep;
            longest = std::max(longest, seconds(step));
            QCoreApplication::processEvents();
            step.restart();
            return true;
        };
        backup = std::min(backup, timed([&] {
                              kv::backupTable(table, kv::CataloguePaths::of(source), dir + QStringLiteral("/backup"),
                                              prompt, control);
                          }));
    }
    const auto line = [&](const char *what, double s) {
        std::printf("  %-40s %8.3f s  %6.1f MB/s  %5.2f x cp  %5.2f x cp+sync  %5.2f x plain read\n", what, s, mb / s,
                    s / cp, s / cpSync, s / read);
    };
    line("plain read", read);
    line("cp", cp);
    line("cp, then sync of the copy", cpSync);
    line("safe copy (temporary, flush, rename)", copy);
    line("table backup, as the window runs it", backup);
    std::printf("  wait before the first progress step (the table opened alone): %.0f ms\n", firstStep * 1000);
    std::printf("  longest wait between two progress steps: %.0f ms\n", longestStep * 1000);
    return 0;
}
