// Times the command-line companion on a large catalogue, each command a fresh process as
// a user runs it, against a plain read of the catalogue measured just before it.
//
//   kv-bench-cli [--cli PATH] [--file CATALOGUE.DBF] [--runs N]
//
// The catalogue (default /var/tmp/kv-bench/BENCH1000000.DBF) is only read; what is written
// goes to a temporary folder. --cli names another build of kestrova-cli, to compare.
#include "benchutil.h"

#include "app/settings/settings.h"
#include "store/catalogue.h"
#include "store/dbf/companion.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using kvbench::seconds;

struct Timing {
    std::vector<double> seconds, ratios;
};

// The seconds the command took, its standard output going nowhere; a negative figure
// when it could not run or ended with an exit status other than ok.
double timedRun(const QString &cli, const QStringList &args, QList<int> okStatus)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(cli, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || !okStatus.contains(p.exitCode()))
        return -1;
    return seconds(timer);
}

void printLine(const char *what, const Timing &t)
{
    if (t.seconds.empty() || *std::min_element(t.seconds.begin(), t.seconds.end()) < 0) {
        std::printf("  %-48s failed\n", what);
        return;
    }
    const auto [sLow, sHigh] = std::minmax_element(t.seconds.begin(), t.seconds.end());
    const auto [rLow, rHigh] = std::minmax_element(t.ratios.begin(), t.ratios.end());
    std::printf("  %-48s %6.3f to %6.3f s  %6.2f to %6.2f x plain read\n", what, *sLow, *sHigh, *rLow, *rHigh);
    std::fflush(stdout);
}

// An empty catalogue with the default sort tag, as a new catalogue of the program has.
void emptyCatalogue(const QString &path)
{
    QFile::remove(path);
    QFile::remove(kv::mdxPathFor(path));
    kv::Table t;
    kv::createMasterTable(t, path);
    t.setExclusive(true);
    t.open();
    kv::applySortExpression(t, kv::buildSortString(kv::Settings().sortLevels));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/../cli/kestrova-cli");
    QString file = QStringLiteral("/var/tmp/kv-bench/BENCH1000000.DBF");
    int runs = 3;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--cli"))
            cli = args[i + 1];
        else if (args[i] == QLatin1String("--file"))
            file = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }
    if (!QFileInfo::exists(cli) || !QFileInfo::exists(file)) {
        std::fprintf(stderr, "usage: kv-bench-cli [--cli PATH] [--file CATALOGUE.DBF] [--runs N]\n");
        return 2;
    }
    QTemporaryDir out;
    const QString text = out.filePath(QStringLiteral("EXPORT.TXT"));
    const QString target = out.filePath(QStringLiteral("IMPORTED.DBF"));
    kvbench::plainRead(file); // the page cache warm, as for a catalogue in use
    std::printf("%s\n%s, %.1f MB, best to worst of %d runs\n", qPrintable(cli), qPrintable(file),
                double(QFileInfo(file).size()) / 1e6, runs);

    struct Command {
        const char *what;
        QStringList args;
        QList<int> ok = {0};
        bool emptyTarget = false;
    };
    const std::vector<Command> commands = {
        {"export to delimited text", {QStringLiteral("export"), file, text}},
        {"export to delimited text in UTF-8",
         {QStringLiteral("export"), file, out.filePath(QStringLiteral("EXPORT8.TXT")), QStringLiteral("--encoding"),
          QStringLiteral("utf-8")}},
        {"list", {QStringLiteral("list"), file, QStringLiteral("--cp1252")}},
        {"list in physical order", {QStringLiteral("list"), file, QStringLiteral("--physical"), QStringLiteral("--cp1252")}},
        {"search KeyWords=zqxjv (nothing found)", {QStringLiteral("search"), file, QStringLiteral("KeyWords=zqxjv")},
         {0, 1}},
        {"report \"Title and Media Number Report\" --text",
         {QStringLiteral("report"), file, QStringLiteral("Title and Media Number Report"), QStringLiteral("--text"),
          out.filePath(QStringLiteral("REPORT.TXT"))}},
        {"import of the export (sort tag kept)",
         {QStringLiteral("import"), target, text, QStringLiteral("--skip-first")}, {0}, true},
    };
    Timing plain;
    for (int r = 0; r < runs; ++r)
        plain.seconds.push_back(kvbench::plainRead(file));
    plain.ratios.assign(plain.seconds.size(), 1.0);
    printLine("plain sequential read of the catalogue", plain);
    for (const Command &c : commands) {
        Timing t;
        for (int r = 0; r < runs; ++r) {
            if (c.emptyTarget)
                emptyCatalogue(target);
            const double base = kvbench::plainRead(file);
            const double s = timedRun(cli, c.args, c.ok);
            t.seconds.push_back(s);
            t.ratios.push_back(base > 0 ? s / base : 0);
        }
        printLine(c.what, t);
    }
    return 0;
}
