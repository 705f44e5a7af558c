#include "backuptest.h"

#include "exchange/restore.h"
#include "exchange/commands/backuprun.h"
#include "workspacefixture.h"

#include "app/workspace/cataloguesession.h"
#include "base/paths.h"
#include "edit/picklists.h"

#include <QDir>
#include <QSignalSpy>

using namespace kvtest;
using kv::ExchangeKind;
using kv::ExchangeOutcome;

namespace {

QString msg(const char *caption, const QString &text) { return QString::fromLatin1(caption) + QStringLiteral(": ") + text; }
QString msg(const char *caption, const char *text) { return msg(caption, QString::fromLatin1(text)); }

QString inProgram(const QString &name) { return kv::programDir() + QLatin1Char('/') + name; }

// The open program on a catalogue sorted by title, and a backup folder.
struct Program : WorkspaceFixture {
    QString out = folder(QStringLiteral("backup"));
    QString path;
    explicit Program(const QString &catalogue)
        : path(catalogueOf(catalogue, {QStringLiteral("Old one"), QStringLiteral("Old two")}))
    {
        settings.sortLevels = {kv::fields::Title, 0, 0, 0};
        workspace.rebuildSortExpression();
        workspace.setPaths(kv::CataloguePaths::of(path));
        workspace.master().setPath(path);
        EXPECT_TRUE(workspace.openMaster());
    }
    QStringList shownTitles() { return walk(workspace.master(), "Title"); }
};

} // namespace

TEST(RestoreTable, TheRestoredCopyBecomesTheOpenCatalogueInTheCurrentOrder)
{
    Program p(tempPath(QStringLiteral("MY.DBF")));
    const QString source = catalogueOf(p.out + QStringLiteral("/FILMS.DBF"),
                                       {QStringLiteral("Zelig"), QStringLiteral("Alien"), QStringLiteral("Metropolis")});
    writeFile(inProgram(QStringLiteral("FILMS.MDX")), "an index of another table");
    QSignalSpy caption(&p.workspace, &kv::Workspace::captionChanged);

    const kv::RestoreResult r = kv::restore(p.workspace, ExchangeKind::Table, source);
    EXPECT_EQ(r.outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(r.written, QStringList{inProgram(QStringLiteral("FILMS.DBF"))});
    EXPECT_EQ(p.prompt.messages(),
              (QStringList{msg("Notice", kv::kRestoreDoneMessage),
                           msg("Notice", QString::fromLatin1(kv::kRestoredIsOpen)
                                             .arg(QDir::toNativeSeparators(inProgram(QStringLiteral("FILMS.DBF"))),
                                                  QDir::toNativeSeparators(p.path)))}));
    EXPECT_EQ(p.shownTitles(), (QStringList{QStringLiteral("Alien"), QStringLiteral("Metropolis"), QStringLiteral("Zelig")}));
    EXPECT_EQ(p.workspace.master().filePath(), inProgram(QStringLiteral("FILMS.DBF")));
    EXPECT_EQ(p.workspace.master().indexName(), QStringLiteral("NewIndex"));
    EXPECT_FALSE(p.workspace.master().exclusive());
    EXPECT_EQ(p.workspace.paths().tableName, QStringLiteral("FILMS"));
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_EQ(caption.last().at(0).toString(), QStringLiteral("Kestrova Videos 97 (FILMS)"));
    EXPECT_EQ(titlesOf(p.path).size(), 2) << "the catalogue left is untouched";
}

TEST(RestoreTable, AnotherCatalogueComesWithItsOwnSettingsAndListsAndTheOneLeftKeepsItsOwn)
{
    Program p(tempPath(QStringLiteral("MY.DBF")));
    p.settings.field(kv::fields::Title).caption = QStringLiteral("Mine");
    p.workspace.pickLists().list(1).setEntries({QStringLiteral("My producer")});
    kv::Settings theirs;
    theirs.sortLevels = {kv::fields::Year, 0, 0, 0};
    theirs.field(kv::fields::Title).caption = QStringLiteral("Theirs");
    ASSERT_TRUE(kv::writeSettings(inProgram(QStringLiteral("FILMS.INI")), kv::SettingsScope::Catalogue, theirs));
    writeFile(inProgram(QStringLiteral("FILMS.001")), "Their producer\r\n");
    writeFile(inProgram(QStringLiteral("FILMS.009")), "Their format\r\n"); // lists of its own
    const QString source = p.out + QStringLiteral("/FILMS.DBF");
    {
        kv::Table t;
        kv::createMasterTable(t, source);
        t.setPath(source);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("Later")}, {"Year", QStringLiteral("1990")}},
                       {{"Title", QStringLiteral("Earlier")}, {"Year", QStringLiteral("1950")}}});
    }
    EXPECT_EQ(kv::restore(p.workspace, ExchangeKind::Table, source).outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(p.shownTitles(), (QStringList{QStringLiteral("Earlier"), QStringLiteral("Later")})) << "by year";
    EXPECT_EQ(p.settings.field(kv::fields::Title).caption, QStringLiteral("Theirs"));
    EXPECT_EQ(p.workspace.pickLists().entries(1), QStringList{QStringLiteral("Their producer")});
    EXPECT_EQ(p.settings.lastDatabase, inProgram(QStringLiteral("FILMS.DBF")));
    EXPECT_EQ(p.settings.lastFiles[0], p.path);
    kv::Settings left;
    kv::readSettings(tempPath(QStringLiteral("MY.INI")), kv::SettingsScope::Catalogue, left);
    EXPECT_EQ(left.field(kv::fields::Title).caption, QStringLiteral("Mine"));
    EXPECT_EQ(readFile(tempPath(QStringLiteral("MY.001"))), QByteArray("My producer\r\n"));
}

TEST(RestoreTable, WithoutASortOrderTheRestoredTableHasNoTagAndReadsInFileOrder)
{
    Program p(tempPath(QStringLiteral("MY.DBF")));
    p.settings.sortLevels = {0, 0, 0, 0};
    p.workspace.rebuildSortExpression();
    const QString source = catalogueOf(p.out + QStringLiteral("/FILMS.DBF"), {QStringLiteral("Zelig"), QStringLiteral("Alien")});
    EXPECT_EQ(kv::restore(p.workspace, ExchangeKind::Table, source).outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(p.shownTitles(), (QStringList{QStringLiteral("Zelig"), QStringLiteral("Alien")}));
    EXPECT_TRUE(p.workspace.master().indexNames().isEmpty());
}

TEST(RestoreTable, RefusalsKeepTheOldCatalogueOpenAndCopyNothing)
{
    struct Case {
        const char *name;
        QString message;
    };
    const Case cases[] = {
        {"not a catalogue", msg("Error", kv::kNotCatalogueMessage)},
        {"the open catalogue itself", msg("Error", kv::kRestoreIdenticalMessage)},
        {"another program holds the copy it replaces", msg("Error", kv::kRestoreInUseMessage)},
        {"no room", msg("Error", kv::kRestoreNoRoomMessage)},
        {"disk full halfway", msg("Error", kv::kRestoreFailedMessage)},
        {"a copy cut short", msg("Error", kv::kRestoreFailedMessage) +
                                 QStringLiteral("\nThe table \"%1\" is damaged: its header counts 1 records but "
                                                "the file holds 0 whole ones.")},
    };
    for (const Case &c : cases) {
        const std::string name = c.name;
        SCOPED_TRACE(name);
        Program p(inProgram(QStringLiteral("MY.DBF")));
        p.workspace.search().start([](const kv::RecordRef &) { return true; });
        QString source = catalogueOf(p.out + QStringLiteral("/MY.DBF"), {QStringLiteral("New")});
        kv::CopyControl control;
        kv::Table other;
        std::optional<WriteLimit> limit;
        if (name == "not a catalogue") {
            kv::Table t;
            t.addFieldDef(QStringLiteral("NAME"), 'C', 10, 0);
            t.setPath(source);
            t.createTable();
        } else if (name == "the open catalogue itself") {
            source = p.path;
        } else if (name == "another program holds the copy it replaces") {
            other.setPath(p.path);
            other.open();
        } else if (name == "a copy cut short") {
            writeFile(source, readFile(source).chopped(10));
        } else if (name == "no room") {
            control = volumeWithFree(QFileInfo(source).size() - 1);
        } else {
            limit.emplace(QFileInfo(source).size() / 2);
        }
        const QByteArray before = readFile(p.path);
        const kv::RestoreResult r = kv::restore(p.workspace, ExchangeKind::Table, source, control);
        limit.reset();
        EXPECT_EQ(r.outcome, ExchangeOutcome::Stopped);
        EXPECT_TRUE(r.written.isEmpty());
        const QString expected = name == "a copy cut short" ? c.message.arg(QDir::toNativeSeparators(source)) : c.message;
        EXPECT_EQ(p.prompt.messages(), QStringList{expected});
        EXPECT_EQ(readFile(p.path), before);
        EXPECT_TRUE(strays(p.path).filter(QStringLiteral(".tmp")).isEmpty());
        EXPECT_EQ(p.shownTitles(), (QStringList{QStringLiteral("Old one"), QStringLiteral("Old two")}));
        EXPECT_FALSE(p.workspace.master().exclusive());
        EXPECT_FALSE(p.workspace.search().isOn()) << "a table restore ends the search";
    }
}

TEST(RestoreTable, ReplacingTheOpenCatalogueNeedsItAlone)
{
    Program p(inProgram(QStringLiteral("MY.DBF")));
    const QString source = catalogueOf(p.out + QStringLiteral("/MY.DBF"), {QStringLiteral("New")});
    EXPECT_EQ(kv::restore(p.workspace, ExchangeKind::Table, source).outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(p.shownTitles(), QStringList{QStringLiteral("New")});
    EXPECT_EQ(p.workspace.paths().path, p.path);
}

TEST(RestoreLists, EachMissingFileIsWarnedAboutAndTheListsAreLoadedAgain)
{
    Program p(inProgram(QStringLiteral("MY.DBF")));
    for (const char *ext : {"001", "003", "009"})
        writeFile(p.out + QStringLiteral("/MY.") + QLatin1String(ext), QByteArray("From backup ") + ext + "\r\n");
    const kv::RestoreResult r = kv::restore(p.workspace, ExchangeKind::Lists, p.out + QStringLiteral("/MY.DBF"));
    EXPECT_EQ(r.outcome, ExchangeOutcome::Completed);
    QStringList expected;
    for (const char *ext : {"002", "004", "005", "006", "007", "008", "010", "011", "012", "013", "015", "016"})
        expected << msg("Warning", kv::restoreMissingMessage(QStringLiteral("MY.") + QLatin1String(ext)));
    expected << msg("Notice", kv::kListsMissingMessage);
    EXPECT_EQ(p.prompt.messages(), expected);
    EXPECT_EQ(p.prompt.shown().front().caption, QStringLiteral("Warning"));
    EXPECT_EQ(r.written.size(), 3);
    EXPECT_EQ(p.workspace.pickLists().entries(1), QStringList{QStringLiteral("From backup 001")});
    EXPECT_EQ(p.workspace.pickLists().entries(9), QStringList{QStringLiteral("From backup 009")});
}

TEST(RestoreLists, AWholeSetIsRestoredWithoutWarnings)
{
    Program p(inProgram(QStringLiteral("MY.DBF")));
    for (int n = 1; n <= 16; ++n)
        writeFile(p.out + QStringLiteral("/MY.%1").arg(n, 3, 10, QLatin1Char('0')), "x\r\n");
    EXPECT_EQ(kv::restore(p.workspace, ExchangeKind::Lists, p.out + QStringLiteral("/MY.DBF")).written.size(), 15);
    EXPECT_EQ(p.prompt.messages(), QStringList{msg("Notice", kv::kListsRestoredMessage)});
}

TEST(RestoreSettings, TheOpenCatalogueTakesItsRestoredSettings)
{
    Program p(inProgram(QStringLiteral("MY.DBF")));
    kv::Settings saved;
    saved.field(kv::fields::Title).caption = QStringLiteral("Film");
    ASSERT_TRUE(kv::writeSettings(p.out + QStringLiteral("/MY.INI"), kv::SettingsScope::Catalogue, saved));
    QSignalSpy opened(&p.workspace, &kv::Workspace::catalogueOpened);
    const kv::RestoreResult r = kv::restore(p.workspace, ExchangeKind::Settings, p.out + QStringLiteral("/MY.DBF"));
    EXPECT_EQ(r.written, QStringList{inProgram(QStringLiteral("MY.INI"))});
    EXPECT_EQ(p.prompt.messages(), QStringList{msg("Notice", kv::kSettingsRestoredMessage)});
    EXPECT_EQ(p.settings.field(kv::fields::Title).caption, QStringLiteral("Film"));
    EXPECT_EQ(opened.size(), 1);
}

TEST(Restore, RefusalsAndMissingSourcesOfTheSmallerKinds)
{
    struct Case {
        ExchangeKind kind;
        bool fromProgramFolder;
        ExchangeOutcome outcome;
        QString message;
    };
    const Case cases[] = {
        {ExchangeKind::Settings, true, ExchangeOutcome::Stopped, msg("Error", kv::kRestoreIdenticalMessage)},
        {ExchangeKind::Reports, true, ExchangeOutcome::Stopped, msg("Error", kv::kRestoreIdenticalMessage)},
        {ExchangeKind::Settings, false, ExchangeOutcome::Missing,
         msg("Warning", kv::restoreMissingMessage(QStringLiteral("OTHER.INI")))},
        {ExchangeKind::Reports, false, ExchangeOutcome::Stopped, msg("Error", kv::kReportsMissingMessage)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind) * 10 + c.fromProgramFolder);
        Program p(tempPath(QStringLiteral("MY.DBF")));
        writeFile(inProgram(QStringLiteral("OTHER.INI")), "[Misc]\r\n");
        writeFile(inProgram(QStringLiteral("QVRVID.URP")), "definitions");
        const QString source = (c.fromProgramFolder ? kv::programDir() : p.out) + QStringLiteral("/OTHER.DBF");
        EXPECT_EQ(kv::restore(p.workspace, c.kind, source).outcome, c.outcome);
        EXPECT_EQ(p.prompt.messages(), QStringList{c.message});
        EXPECT_EQ(readFile(inProgram(QStringLiteral("QVRVID.URP"))), QByteArray("definitions"));
    }
}

TEST(RestoreReports, TheDefinitionsFileReplacesTheProgramsOwn)
{
    Program p(tempPath(QStringLiteral("MY.DBF")));
    writeFile(inProgram(QStringLiteral("QVRVID.URP")), "older");
    writeFile(p.out + QStringLiteral("/QVRVID.URP"), "restored");
    const kv::RestoreResult r = kv::restore(p.workspace, ExchangeKind::Reports, p.out + QStringLiteral("/QVRVID.URP"));
    EXPECT_EQ(r.outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(readFile(inProgram(QStringLiteral("QVRVID.URP"))), QByteArray("restored"));
    EXPECT_EQ(p.prompt.messages(), QStringList{msg("Notice", kv::kRestoreDoneMessage)});
}
