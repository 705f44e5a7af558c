#include "edit/picklists.h"

#include "app/workspace/cataloguesession.h"
#include "app/workspace/lifecycle.h"
#include "base/atomicfile.h"
#include "base/codepage.h"
#include "base/paths.h"
#include "edit/listfile.h"
#include "resources/defaults.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

using kv::Answer;
using kv::PickLists;

namespace {

QString base(const QString &name) { return kvtest::tempPath(name); }
QString listFile(const QString &baseName, int n) { return kv::catalogueListPath(base(baseName), n); }

void writeList(const QString &path, const QByteArray &bytes) { kvtest::writeFile(path, bytes); }

QString catalogueWithNothing() { return newCatalogue(QStringLiteral("START.DBF")); }

QStringList delivered(int n) { return kv::parseListFile(kv::defaultListContents(kv::defaultListFileName(n))); }

struct Lists : kvtest::WorkspaceFixture {
    PickLists &lists = workspace.pickLists();
    Lists() { kv::installDefaultLists(kv::programDir()); }
};

TEST(PickLists, NamesFilesAndEntryLengths)
{
    EXPECT_EQ(kv::pickListName(1), QStringLiteral("Producer"));
    EXPECT_EQ(kv::pickListName(15), QStringLiteral("Checkout Person"));
    EXPECT_EQ(kv::pickListName(17), QStringLiteral("Miscellaneous"));
    EXPECT_TRUE(kv::pickListName(18).isEmpty());
    EXPECT_FALSE(kv::isCatalogueList(14));
    EXPECT_FALSE(kv::isCatalogueList(17));
    EXPECT_TRUE(kv::isCatalogueList(16));
    EXPECT_EQ(kv::pickListEntryLength(14), 110);
    EXPECT_EQ(kv::pickListEntryLength(12), 6);
    EXPECT_EQ(kv::catalogueListPath(QStringLiteral("/v/MASTER"), 1), QStringLiteral("/v/MASTER.001"));
    EXPECT_EQ(kv::catalogueListPath(QStringLiteral("/v/MASTER"), 16), QStringLiteral("/v/MASTER.016"));
}

TEST(PickLists, ACatalogueWithOnlyItsProducersGetsTheDefaults)
{
    Lists t;
    writeList(kv::defaultListPath(1), "Default Producer\r\n");
    writeList(listFile("A", 1), "Own Producer\r\n");
    writeList(listFile("A", 3), "Own Director\r\n");
    t.lists.LoadAllList(base("A"));
    EXPECT_EQ(t.lists.entries(1), QStringList{QStringLiteral("Default Producer")});
    for (int n = 2; n <= 16; ++n) {
        if (kv::isCatalogueList(n)) {
            EXPECT_EQ(t.lists.entries(n), delivered(n)) << n;
        }
    }
    t.lists.SaveAllLists(base("A"));
    EXPECT_EQ(kv::readListFile(listFile("A", 1)), QStringList{QStringLiteral("Default Producer")})
        << "the next save overwrites .001 with the defaults";
    EXPECT_TRUE(t.prompt.shown().empty());
}

TEST(PickLists, AnyOfTheFourTestFilesMakesTheCatalogueUseItsOwnLists)
{
    for (int test : {7, 8, 9, 10}) {
        Lists t;
        const QString name = QStringLiteral("C%1").arg(test);
        writeList(listFile(name, test), "Mine\r\n");
        writeList(listFile(name, 2), "Star A\r\nStar B\r\n");
        t.lists.LoadAllList(base(name));
        EXPECT_EQ(t.lists.entries(test), QStringList{QStringLiteral("Mine")}) << test;
        EXPECT_EQ(t.lists.entries(2), (QStringList{QStringLiteral("Star A"), QStringLiteral("Star B")})) << test;
        EXPECT_TRUE(t.lists.entries(1).isEmpty()) << "a missing file leaves its list empty";
        EXPECT_TRUE(t.lists.entries(16).isEmpty());
    }
}

TEST(PickLists, CompanionFilesInAnotherLetterCaseAreFound)
{
    Lists t;
    writeList(base("lower.010"), "Laser\r\n");
    t.lists.LoadAllList(base("LOWER"));
    EXPECT_EQ(t.lists.entries(10), QStringList{QStringLiteral("Laser")});
}

TEST(PickLists, SaveAllWritesTheFifteenCatalogueFilesAndLeavesTheProgramWideOnes)
{
    Lists t;
    t.lists.list(2).setEntries({QStringLiteral("Ané"), QStringLiteral("Bo")});
    t.lists.SaveAllLists(base("S"));
    EXPECT_EQ(kvtest::readFile(listFile("S", 2)), QByteArray("An\xe9\r\nBo\r\n"));
    for (int n = 1; n <= 17; ++n) {
        EXPECT_EQ(QFileInfo::exists(base("S") + QStringLiteral(".%1").arg(n, 3, 10, QLatin1Char('0'))),
                  kv::isCatalogueList(n))
            << n;
    }
    // A folder that is not there: nothing is written, and the user is told which file
    // and why, once for the fifteen.
    EXPECT_FALSE(t.lists.SaveAllLists(kvtest::tempPath(QStringLiteral("gone/S"))));
    EXPECT_EQ(t.prompt.messages(),
              QStringList{QStringLiteral("Error: ") +
                          kv::cannotWriteMessage(kv::catalogueListPath(kvtest::tempPath(QStringLiteral("gone/S")), 1),
                                                 QString::fromLocal8Bit(strerror(ENOENT)))});
    // A list file that cannot be replaced (a folder in its place): the others are written.
    t.prompt.clear();
    ASSERT_TRUE(QFile::remove(listFile("S", 6)));
    ASSERT_TRUE(QDir().mkpath(listFile("S", 6)));
    t.lists.list(2).setEntries({QStringLiteral("Cy")});
    EXPECT_FALSE(t.lists.SaveAllLists(base("S")));
    EXPECT_EQ(t.prompt.messages(),
              QStringList{QStringLiteral("Error: ") +
                          kv::cannotWriteMessage(listFile("S", 6), QString::fromLocal8Bit(strerror(EISDIR)))});
    EXPECT_EQ(kvtest::readFile(listFile("S", 2)), QByteArray("Cy\r\n"));
}

TEST(PickLists, TypedValuesAreAddedByExactCompare)
{
    Lists t;
    t.lists.list(1).setEntries({QStringLiteral("Paramount")});
    t.lists.list(6).setEntries({QStringLiteral("Drama"), QStringLiteral("  Word  ")});
    t.lists.list(2).setEntries({QStringLiteral("Cary Grant")});
    std::array<QString, 41> typed;
    typed[8] = QStringLiteral("Paramount");   // already there: not again
    typed[14] = QStringLiteral("drama");      // case counts
    typed[9] = QStringLiteral("   ");         // blank: nothing
    typed[13] = QStringLiteral("  PG  ");     // trimmed before it is added
    typed[3] = QStringLiteral("Grace Kelly"); // Star2
    typed[6] = QStringLiteral("Grace Kelly"); // Star5: the same star, added once
    typed[2] = QStringLiteral("Cary Grant");
    typed[7] = QStringLiteral("  New Star ");
    t.lists.list(5).setEntries({});
    t.lists.addTypedValues(typed);
    EXPECT_EQ(t.lists.entries(1), QStringList{QStringLiteral("Paramount")});
    EXPECT_EQ(t.lists.entries(6), (QStringList{QStringLiteral("Drama"), QStringLiteral("  Word  "),
                                               QStringLiteral("drama")}));
    EXPECT_EQ(t.lists.entries(5), QStringList{QStringLiteral("PG")});
    EXPECT_TRUE(t.lists.entries(3).isEmpty());
    EXPECT_EQ(t.lists.entries(2), (QStringList{QStringLiteral("Cary Grant"), QStringLiteral("Grace Kelly"),
                                               QStringLiteral("New Star")}));

    typed = {};
    typed[14] = QStringLiteral("Word"); // the bare word of a spaced entry is another entry
    t.lists.addTypedValues(typed);
    EXPECT_EQ(t.lists.entries(6).last(), QStringLiteral("Word"));
}

TEST(PickLists, SaveAsDefaultsAsksFirstAndNewCataloguesStartWithThoseLists)
{
    Lists t;
    kv::CatalogueSession session(t.workspace);
    t.settings.lastDatabase = catalogueWithNothing();
    ASSERT_TRUE(session.openAtStartup());
    const QByteArray oscars = kvtest::readFile(kv::defaultListPath(kv::kOscarList));
    t.lists.list(9).setEntries({QStringLiteral("Blu-ray")});

    t.prompt.answer(Answer::No);
    EXPECT_FALSE(kv::saveListsAsDefaults(t.lists, t.prompt));
    ASSERT_EQ(t.prompt.shown().size(), 1u);
    const kvtest::Shown &asked = t.prompt.shown().front();
    EXPECT_EQ(asked.caption, QStringLiteral("Warning"));
    EXPECT_EQ(asked.text, QString::fromLatin1(kv::kSaveDefaultsQuestion));
    EXPECT_EQ(asked.buttons, kv::Buttons::YesNo);
    EXPECT_EQ(asked.defaultAnswer, Answer::No);
    EXPECT_EQ(kv::readListFile(kv::defaultListPath(9)), delivered(9));

    t.prompt.answer(Answer::Yes);
    EXPECT_TRUE(kv::saveListsAsDefaults(t.lists, t.prompt));
    EXPECT_EQ(kv::readListFile(kv::defaultListPath(9)), QStringList{QStringLiteral("Blu-ray")});
    EXPECT_EQ(kvtest::readFile(kv::defaultListPath(kv::kOscarList)), oscars) << "program-wide lists untouched";

    t.lists.list(9).setEntries({QStringLiteral("changed since")});
    t.prompt.answerFile(kvtest::tempPath(QStringLiteral("NEW.DBF")));
    session.doNew();
    EXPECT_EQ(t.workspace.paths().tableName, QStringLiteral("NEW"));
    EXPECT_EQ(t.lists.entries(9), QStringList{QStringLiteral("Blu-ray")}) << "a new catalogue gets the defaults";
    EXPECT_EQ(kv::readListFile(listFile("START", 9)), QStringList{QStringLiteral("changed since")})
        << "the catalogue left keeps its lists";
}

TEST(PickLists, LoadInDefaultsReachesTheCatalogueFilesAtTheNextSave)
{
    Lists t;
    kv::CatalogueSession session(t.workspace);
    t.settings.lastDatabase = catalogueWithNothing();
    ASSERT_TRUE(session.openAtStartup());
    t.lists.list(5).setEntries({QStringLiteral("Mine")});
    t.lists.SaveAllLists(base("START"));

    t.prompt.answer(Answer::No);
    EXPECT_FALSE(kv::loadListsFromDefaults(t.lists, t.prompt));
    EXPECT_EQ(t.lists.entries(5), QStringList{QStringLiteral("Mine")});
    EXPECT_EQ(t.prompt.shown().back().text, QString::fromLatin1(kv::kLoadDefaultsQuestion));
    EXPECT_EQ(t.prompt.shown().back().defaultAnswer, Answer::No);

    t.prompt.answer(Answer::Yes);
    EXPECT_TRUE(kv::loadListsFromDefaults(t.lists, t.prompt));
    EXPECT_EQ(t.lists.entries(5), delivered(5));
    EXPECT_EQ(kv::readListFile(listFile("START", 5)), QStringList{QStringLiteral("Mine")}) << "not written yet";

    // Opening another catalogue is a save point.
    const QString other = newCatalogue(QStringLiteral("OTHER.DBF"));
    writeList(listFile("OTHER", 9), "Other Format\r\n");
    session.openSaveFile(other);
    EXPECT_EQ(kv::readListFile(listFile("START", 5)), delivered(5));
    EXPECT_EQ(t.lists.entries(9), QStringList{QStringLiteral("Other Format")}) << "the new catalogue's own lists";
    EXPECT_TRUE(t.lists.entries(5).isEmpty());
}

TEST(PickLists, StartUpLoadsTheLastCataloguesLists)
{
    kvtest::WorkspaceFixture f;
    kv::CatalogueSession session(f.workspace);
    const QString path = newCatalogue(QStringLiteral("LAST.DBF"));
    writeList(listFile("LAST", 8), "Stereo\r\nMono\r\n");
    f.settings.lastDatabase = path;
    kv::writeSettings(kv::programSettingsPath(), kv::SettingsScope::Program, f.settings);
    ASSERT_TRUE(kv::startProgram(f.workspace, session, {}, QSize(1920, 1080)));
    EXPECT_EQ(f.workspace.pickLists().entries(8), (QStringList{QStringLiteral("Stereo"), QStringLiteral("Mono")}));
}

} // namespace
