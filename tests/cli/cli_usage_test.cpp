// What both programs say about themselves: --help, --version, a command's usage, and the
// refusal of an option where a file, a value or a criterion belongs.
#include "cli/usage/programdoc.h"
#include "testenv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using kvtest::runCli;

namespace {

struct Case {
    QStringList args;
    int exitCode;
    const char *out;  // what standard output begins with (not checked when empty)
    const char *err;  // the first line on standard error (not checked when empty)
};

// program: empty for kestrova-cli.
void expectCases(const QString &program, const std::vector<Case> &cases)
{
    for (const Case &c : cases) {
        const kvtest::ProcessResult r = program.isEmpty() ? runCli(c.args) : kvtest::run(program, c.args);
        const std::string line = c.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << line << "\n" << r.err.toStdString();
        if (*c.out) {
            EXPECT_TRUE(r.out.startsWith(c.out)) << line << "\n" << r.out.toStdString();
        }
        if (*c.err) {
            EXPECT_EQ(r.err.split('\n').first(), QByteArray(c.err)) << line;
        }
        if (c.exitCode == 0) {
            EXPECT_TRUE(r.err.isEmpty()) << line << "\n" << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.out.isEmpty()) << line << "\n" << r.out.toStdString();
        }
    }
}

TEST(CliUsage, HelpVersionAndOptionsWhereAFileOrValueBelongs)
{
    const QString db = kvtest::tempPath(QStringLiteral("V.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    expectCases(QString(), {
        {{"--version"}, 0, "kestrova-cli " KV_VERSION "\n", ""},
        {{"--help"}, 0, "Usage: kestrova-cli COMMAND [ARGUMENTS]\n", ""},
        {{"help"}, 0, "Usage: kestrova-cli COMMAND [ARGUMENTS]\n", ""},
        {{"help", "list"}, 0, "Usage: kestrova-cli list FILE.DBF [--physical] [--utf8|--cp1252]\n", ""},
        {{"list", "--help"}, 0, "Usage: kestrova-cli list FILE.DBF [--physical] [--utf8|--cp1252]\n", ""},
        {{"list", db, "--help"}, 0, "Usage: kestrova-cli list FILE.DBF [--physical] [--utf8|--cp1252]\n", ""},
        {{"reports", "--help"}, 0, "Usage: kestrova-cli reports\n", ""},
        {{"help", "nothing"}, 2, "", "Unknown command \"nothing\"."},
        {{"help", "list", "sort"}, 2, "", "Usage: kestrova-cli help [COMMAND]"},
        {{"--versions"}, 2, "", "Unknown option \"--versions\"."},
        {{}, 2, "", "Usage: kestrova-cli COMMAND [ARGUMENTS]"},
        {{"list", "--physcal", db}, 2, "", "Unknown option \"--physcal\"."},
        {{"check", "--help.DBF"}, 2, "", "Unknown option \"--help.DBF\"."},
        {{"search", db, "--utf", "Title=A"}, 2, "", "Unknown option \"--utf\"."},
        {{"import", db, "in.txt", "--encoding", "--format"}, 2, "",
         "--encoding needs auto|utf-8|cp1252|cp850, not the option \"--format\"."},
        {{"export", db, "--names", "--utf8"}, 2, "", "Unknown option \"--utf8\"."},
        {{"index", db, "--none"}, 0, "", ""},
    });
    // A lone "--" ends the options: the word after it is a file name.
    const kvtest::ProcessResult r = runCli({"check", "--", "--help.DBF"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--help.DBF")) << r.err.toStdString();
}

TEST(CliUsage, TheDesktopProgramAnswersWithoutOpeningAWindow)
{
    expectCases(QStringLiteral(KV_VIDEOS_PATH), {
        {{"--version"}, 0, "kestrova-videos " KV_VERSION "\n", ""},
        {{"--help"}, 0, "Usage: kestrova-videos [/BROWSE] [FILE.DBF]\n", ""},
        {{"--helpme"}, 2, "", "Unknown option \"--helpme\"."},
        {{"/BROWSE", "A.DBF", "B.DBF"}, 2, "", "Only one catalogue can be opened: \"B.DBF\" is one too many."},
    });
    // Nothing was made: no program folder, no catalogue.
    EXPECT_FALSE(QFileInfo::exists(kvtest::tempDir() + QStringLiteral("/../data/kestrova-videos")));
}

TEST(CliUsage, DesktopCommandLine)
{
    const struct {
        QStringList args;
        bool browse;
        const char *file;
        bool error;
    } cases[] = {
        {{}, false, "", false},
        {{"/browse"}, true, "", false},
        {{"/BrOwSe", "x/FILMS.DBF"}, true, "x/FILMS.DBF", false},
        {{"FILMS.DBF"}, false, "FILMS.DBF", false},
        {{"FILMS.DBF", "/BROWSE"}, false, "", true}, // the switch counts only first
        {{"/browser"}, false, "/browser", false},    // a longer word is no switch
        {{"-x"}, false, "", true},
    };
    for (const auto &c : cases) {
        const kvdoc::VideosArguments parsed = kvdoc::videosArguments(c.args);
        EXPECT_EQ(parsed.browseOnly, c.browse) << c.args.join(' ').toStdString();
        EXPECT_EQ(!parsed.error.isEmpty(), c.error) << c.args.join(' ').toStdString();
        if (!c.error) {
            EXPECT_EQ(parsed.file, QString::fromUtf8(c.file)) << c.args.join(' ').toStdString();
        }
    }
}

} // namespace
