#include "app/workspace/cataloguesession.h"

#include "workspacefixture.h"
#include "store/storetest.h"

#include "base/paths.h"
#include "app/settings/profilefile.h"

#include <QDir>
#include <QFileInfo>

using kv::Answer;
using kv::CatalogueSession;
using kv::Table;

namespace {

const QString kError = QStringLiteral("Error: ");

QString inProgramDir(const QString &name) { return kv::programDir() + QLatin1Char('/') + name; }

QString iniValue(const QString &ini, const char *section, const char *key)
{
    return kv::ProfileFile::read(ini).value(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString());
}

// A catalogue of (title, first star) records, in the test folder.
QString catalogueOf(const QString &name, const std::vector<std::pair<QString, QString>> &titlesAndStars)
{
    const QString path = newCatalogue(name);
    Table t;
    t.setPath(path);
    t.open();
    for (const auto &[title, star] : titlesAndStars)
        addRecords(t, {{{"Title", title}, {"Star1", star}}});
    return path;
}

// A catalogue whose titles are also their first stars.
QString catalogueWith(const QString &name, const QStringList &titles)
{
    std::vector<std::pair<QString, QString>> records;
    for (const QString &title : titles)
        records.emplace_back(title, title);
    return catalogueOf(name, records);
}

// The catalogue commands on a workspace of their own, answered by the scripted prompt.
struct Session : kvtest::WorkspaceFixture {
    CatalogueSession catalogues{workspace};
    kv::Table &master() { return workspace.master(); }
    const kv::CataloguePaths &paths() const { return workspace.paths(); }
    // Started on path, as the program starts with it as the last catalogue.
    void startOn(const QString &path)
    {
        settings = kv::Settings();
        settings.lastDatabase = path;
        ASSERT_TRUE(catalogues.openAtStartup());
    }
};

} // namespace

TEST(CatalogueSession, FirstStartMakesMasterAndCloseWritesBothSettingsFiles)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    ASSERT_TRUE(session.catalogues.openAtStartup());
    const QString master = inProgramDir(QStringLiteral("MASTER.DBF"));
    EXPECT_EQ(session.paths().path, master);
    EXPECT_TRUE(session.master().isOpen());
    EXPECT_EQ(session.master().indexName(), QStringLiteral("NewIndex")) << "default primary level Star1";
    EXPECT_TRUE(prompt.messages().isEmpty());

    ASSERT_TRUE(session.catalogues.writeAllSettings());
    EXPECT_TRUE(QFileInfo::exists(inProgramDir(QStringLiteral("MASTER.INI"))));
    EXPECT_EQ(iniValue(kv::programSettingsPath(), "Misc", "Last Database"), master);
}

TEST(CatalogueSession, ADeletedLastCatalogueFallsBackToMasterQuietly)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    session.settings.lastDatabase = kvtest::tempPath(QStringLiteral("GONE.DBF"));
    ASSERT_TRUE(session.catalogues.openAtStartup());
    EXPECT_EQ(session.paths().tableName, QStringLiteral("MASTER"));
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(CatalogueSession, AnInvalidLastCatalogueAsksForAnotherUntilOneIsChosen)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString good = catalogueWith(QStringLiteral("GOOD.DBF"), {QStringLiteral("Alien")});
    const QString v2 = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"), QStringLiteral("OLD.DBF"));
    session.settings.lastDatabase = v2;
    session.settings.lastFiles = {v2, good, QString(), QString(), QString()};
    prompt.answerFile(v2).answerFile(good); // an invalid choice asks again
    ASSERT_TRUE(session.catalogues.openAtStartup());
    const QString notCatalogue = kError + QString::fromLatin1(kv::kNotCatalogueMessage);
    EXPECT_EQ(prompt.messages(),
              (QStringList{notCatalogue, kError + QString::fromLatin1(kv::kLastInvalidMessage), notCatalogue}));
    EXPECT_TRUE(prompt.allAnswersUsed());
    EXPECT_EQ(session.paths().path, good);
    EXPECT_EQ(session.master().recordCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(kvtest::tempPath(QStringLiteral("OLD.INI"))))
        << "no settings file beside a file that never opened";
    EXPECT_EQ(session.settings.lastFiles, (std::array<QString, 5>{})) << "neither the bad nor the open one listed";
}

// A cancelled dialog is no trap: the default catalogue opens (made as on a first start),
// and when even that cannot be used the program ends with a word. The bad file is only read.
TEST(CatalogueSession, ACancelledDialogAtStartUpFallsBackToTheDefaultCatalogue)
{
    const QString fake = kvtest::tempPath(QStringLiteral("FAKE.DBF"));
    QByteArray random(700, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 31 + 7) % 253);
    random[0] = '\x04';
    kvtest::writeFile(fake, random);
    const QString master = kv::defaultCataloguePath();
    for (const bool masterUsable : {true, false}) {
        SCOPED_TRACE(masterUsable ? "default usable" : "default damaged");
        Session session;
        kvtest::ScriptedPrompt &prompt = session.prompt;
        QFile::remove(master);
        if (!masterUsable)
            kvtest::writeFile(master, "not a table");
        session.settings.lastDatabase = fake;
        session.settings.lastFiles = {fake, QString(), QString(), QString(), QString()};
        prompt.answerFile(QString());
        const bool started = session.catalogues.openAtStartup();
        EXPECT_TRUE(prompt.allAnswersUsed()) << "one dialog, then no loop";
        EXPECT_EQ(kvtest::readFile(fake), random);
        EXPECT_EQ(session.settings.lastFiles[0], QString());
        const QStringList messages = prompt.messages();
        ASSERT_GE(messages.size(), 2);
        EXPECT_TRUE(messages[0].contains(QStringLiteral("is not a dBASE table"))) << messages[0].toStdString();
        EXPECT_EQ(messages[1], kError + QString::fromLatin1(kv::kLastInvalidMessage));
        if (masterUsable) {
            ASSERT_TRUE(started);
            EXPECT_EQ(messages.size(), 2);
            EXPECT_EQ(session.paths().path, master);
            EXPECT_TRUE(session.master().isOpen());
            EXPECT_EQ(session.settings.lastDatabase, master);
        } else {
            EXPECT_FALSE(started);
            EXPECT_EQ(messages.back(),
                      kError + QString::fromLatin1(kv::kNoCatalogueMessage).arg(QDir::toNativeSeparators(master)));
            EXPECT_EQ(kvtest::readFile(master), QByteArray("not a table")) << "never replaced";
        }
    }
}

TEST(CatalogueSession, OpenChecksTheExtensionAndTheLayout)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("x")});
    const QString lower = catalogueWith(QStringLiteral("lower.dbf"), {QStringLiteral("y"), QStringLiteral("z")});
    session.startOn(a);
    int counts = 0;
    QObject::connect(&session.workspace, &kv::Workspace::countChanged, [&] { ++counts; });

    prompt.answerFile(kvtest::tempPath(QStringLiteral("A.db")));
    session.catalogues.doOpen();
    EXPECT_EQ(prompt.messages(), QStringList{kError + QStringLiteral("Invalid file type selected.")});
    EXPECT_EQ(session.paths().path, a);

    prompt.clear();
    prompt.answerFile(QString()); // cancelled
    session.catalogues.doOpen();
    EXPECT_EQ(session.paths().path, a);

    prompt.answerFile(lower);
    session.catalogues.doOpen();
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(session.paths().tableName, QStringLiteral("lower"));
    EXPECT_EQ(session.master().recordCount(), 2);
    EXPECT_EQ(counts, 3) << "the count is shown after every open, failed or cancelled too";
    ASSERT_EQ(prompt.shown().front().caption, QStringLiteral("Open Database File"));
}

TEST(CatalogueSession, LastFilesKeepThePreviousCataloguesMostRecentFirst)
{
    const QString a = QStringLiteral("/v/A.DBF"), b = QStringLiteral("/v/B.DBF"), c = QStringLiteral("/v/C.DBF");
    std::array<QString, 5> list{b, c};
    kv::updateLastFiles(list, a, b);
    EXPECT_EQ(list, (std::array<QString, 5>{a, c}));
    kv::updateLastFiles(list, a, a); // the open catalogue again
    EXPECT_EQ(list, (std::array<QString, 5>{a, c}));
    std::array<QString, 5> full{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                QStringLiteral("5")};
    kv::updateLastFiles(full, QStringLiteral("0"), QStringLiteral("9"));
    EXPECT_EQ(full, (std::array<QString, 5>{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                            QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(kv::lastFileCaption(2, QStringLiteral("/v/B.DBF")), QStringLiteral("&2   /v/B.DBF"));
}

// Two spellings of one file (here through a link to its folder) are one entry; two files
// of one name show as much of their folders as tells them apart; the caption doubles a
// name's "&" so it is no mnemonic.
TEST(CatalogueSession, LastFilesNameEachFileOnce)
{
    const QString videos = QFileInfo(newCatalogue(QStringLiteral("Tapes.DBF"))).absolutePath();
    const QString tapes = videos + QStringLiteral("/Tapes.DBF");
    const QString linked = videos + QStringLiteral("-link");
    ASSERT_TRUE(QFile::link(videos, linked));
    std::array<QString, 5> list{linked + QStringLiteral("/Tapes.DBF"), QStringLiteral("/v/C.DBF")};
    kv::updateLastFiles(list, QStringLiteral("/v/B.DBF"), tapes);
    EXPECT_EQ(list, (std::array<QString, 5>{QStringLiteral("/v/B.DBF"), QStringLiteral("/v/C.DBF")}));
    kv::updateLastFiles(list, tapes, QStringLiteral("/v/B.DBF"));
    EXPECT_EQ(list, (std::array<QString, 5>{tapes, QStringLiteral("/v/C.DBF")}));
    // The open catalogue again by its other spelling: once, at entry 1.
    kv::updateLastFiles(list, linked + QStringLiteral("/Tapes.DBF"), tapes);
    EXPECT_EQ(list, (std::array<QString, 5>{linked + QStringLiteral("/Tapes.DBF"), QStringLiteral("/v/C.DBF")}));

    EXPECT_EQ(kv::lastFileCaption(1, QStringLiteral("/v/Tom & Jerry.DBF")),
              QStringLiteral("&1   ") + QDir::toNativeSeparators(QStringLiteral("/v/Tom && Jerry.DBF")));
}

TEST(CatalogueSession, AnIndexThatMissesRecordsIsRebuiltAndTheUserIsTold)
{
    const QString path = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("b"), QStringLiteral("a")});
    {
        Session first; // builds the catalogue's sort tag
        first.startOn(path);
    }
    const QString mdx = kv::CataloguePaths::of(path).mdxPath;
    const QByteArray older = kvtest::readFile(mdx);
    ASSERT_FALSE(older.isEmpty());
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("c")}, {"Star1", QStringLiteral("c")}}});
    }
    kvtest::writeFile(mdx, older); // the index of two records beside three

    Session session;
    session.startOn(path);
    // At the latest the first change finds it, before it writes.
    session.workspace.attempt(
        [&] { addRecords(session.master(), {{{"Title", QStringLiteral("d")}, {"Star1", QStringLiteral("d")}}}); });
    ASSERT_EQ(session.prompt.messages().size(), 1) << session.prompt.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(session.prompt.messages().first().startsWith("Notice: "));
    EXPECT_TRUE(session.prompt.messages().first().endsWith("It was rebuilt from the records."))
        << session.prompt.messages().first().toStdString();
    EXPECT_EQ(column(session.master(), "Title"), (QStringList{"a", "b", "c", "d"}));
}

TEST(CatalogueSession, SwitchingKeepsEachCataloguesSettingsAndRebuildsItsOrder)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("b"), QStringLiteral("a")});
    const QString b = catalogueWith(QStringLiteral("B.DBF"), {QStringLiteral("d"), QStringLiteral("c")});
    session.startOn(a);
    QStringList saved, loaded, captions;
    QObject::connect(&session.workspace, &kv::Workspace::leavingCatalogue,
                     [&](const kv::CataloguePaths &old) { saved << old.basePath; });
    QObject::connect(&session.workspace, &kv::Workspace::enteringCatalogue,
                     [&](const kv::CataloguePaths &paths, bool isNew) { loaded << paths.basePath + (isNew ? "*" : ""); });
    QObject::connect(&session.workspace, &kv::Workspace::captionChanged,
                     [&](const QString &caption) { captions << caption; });
    session.settings.field(1).caption = QStringLiteral("Name of A");
    session.settings.lastFiles = {b, QStringLiteral("/v/C.DBF")};

    // B's settings ask for physical order.
    kv::ProfileFile ini;
    ini.setValue(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort"), QStringLiteral("0"));
    ASSERT_TRUE(ini.write(kvtest::tempPath(QStringLiteral("B.INI"))));

    session.catalogues.openSaveFile(b);
    EXPECT_EQ(iniValue(kvtest::tempPath(QStringLiteral("A.INI")), "Field Names", "Title"), QStringLiteral("Name of A"));
    EXPECT_EQ(saved, QStringList{kvtest::tempPath(QStringLiteral("A"))});
    EXPECT_EQ(loaded, QStringList{kvtest::tempPath(QStringLiteral("B"))});
    EXPECT_EQ(captions, QStringList{QStringLiteral("Kestrova Videos 97 (B)")});
    EXPECT_EQ(session.settings.field(1).caption, QStringLiteral("Title"));
    EXPECT_EQ(session.settings.lastFiles, (std::array<QString, 5>{a, QStringLiteral("/v/C.DBF")}));
    EXPECT_EQ(session.master().indexName(), QString());
    EXPECT_EQ(walk(session.master(), "Title"), (QStringList{QStringLiteral("d"), QStringLiteral("c")}));

    session.catalogues.openSaveFile(a);
    EXPECT_EQ(session.settings.field(1).caption, QStringLiteral("Name of A"));
    EXPECT_EQ(walk(session.master(), "Star1"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(CatalogueSession, ACatalogueWhoseIndexWasDeletedOpensWithItsTagRebuilt)
{
    Session session;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("y"), QStringLiteral("x")});
    const QString b = catalogueWith(QStringLiteral("B.DBF"), {QStringLiteral("q"), QStringLiteral("p")});
    session.startOn(a);
    ASSERT_FALSE(QFileInfo::exists(kv::mdxPathFor(b)));
    session.catalogues.openSaveFile(b);
    EXPECT_EQ(kvtest::readFile(b).at(28), 1);
    EXPECT_TRUE(QFileInfo::exists(kv::mdxPathFor(b)));
    EXPECT_EQ(walk(session.master(), "Star1"), (QStringList{QStringLiteral("p"), QStringLiteral("q")}));
}

TEST(CatalogueSession, ACatalogueInUseElsewhereOpensWithoutRebuildingItsOrder)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("y")});
    const QString b = catalogueWith(QStringLiteral("B.DBF"), {QStringLiteral("q"), QStringLiteral("p")});
    session.startOn(a);
    Table other;
    other.setPath(b);
    other.open();
    session.catalogues.openSaveFile(b);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_TRUE(session.master().isOpen());
    EXPECT_EQ(session.master().indexName(), QString()) << "B has no tag to use yet";
    EXPECT_FALSE(QFileInfo::exists(kv::mdxPathFor(b)));
    EXPECT_EQ(session.master().recordCount(), 2);
}

TEST(CatalogueSession, NewCatalogueStartsFromTheNewCatalogueSettingsAndRefusesAFileInUse)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("y")});
    const QString held = catalogueWith(QStringLiteral("HELD.DBF"), {QStringLiteral("keep me")});
    session.startOn(a);
    int defaults = 0;
    QObject::connect(&session.workspace, &kv::Workspace::enteringCatalogue,
                     [&](const kv::CataloguePaths &, bool isNew) { defaults += isNew ? 1 : 0; });

    Table other;
    other.setPath(held);
    other.open();
    const QByteArray before = kvtest::readFile(held);
    prompt.answerFile(held);
    session.catalogues.doNew();
    EXPECT_EQ(prompt.messages(), QStringList{kv::newTableInUseMessage(held).prepend(kError)});
    EXPECT_EQ(kvtest::readFile(held), before);
    EXPECT_EQ(session.paths().path, a);

    kv::ProfileFile inv;
    inv.setValue(QStringLiteral("Field Names"), QStringLiteral("Title"), QStringLiteral("Film"));
    ASSERT_TRUE(inv.write(kv::newCatalogueSettingsPath()));
    prompt.clear();
    const QString fresh = kvtest::tempPath(QStringLiteral("FRESH.DBF"));
    prompt.answerFile(fresh);
    session.catalogues.doNew();
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(session.paths().path, fresh);
    EXPECT_EQ(session.master().recordCount(), 0);
    EXPECT_EQ(session.settings.field(1).caption, QStringLiteral("Film"));
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(session.master().indexName(), QStringLiteral("NewIndex"));
}

TEST(CatalogueSession, OlderCataloguesAreOfferedForConversionSecondVersionFirst)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    ASSERT_TRUE(session.catalogues.openAtStartup());
    const QString v2 = inProgramDir(QStringLiteral("V2LOG.DBF"));
    const QString v1 = inProgramDir(QStringLiteral("VLOG.DBF"));
    ASSERT_TRUE(QFile::copy(kvtest::fixture(QStringLiteral("store/V2LOG.DBF")), v2));
    ASSERT_TRUE(QFile::copy(kvtest::fixture(QStringLiteral("store/VLOG.DBF")), v1));

    const auto question = [](const char *version, const char *file) {
        return QStringLiteral("Convert: A database from a previous version (%1) has been detected.  Would you like to "
                              "convert it now?  NOTE: After conversion the old file will be deleted.  You may wish "
                              "to make a copy of \"%2\" first.")
            .arg(QLatin1String(version), QLatin1String(file));
    };
    prompt.answer(Answer::No).answer(Answer::No);
    session.catalogues.checkForConversion();
    EXPECT_EQ(prompt.messages(), (QStringList{question("2.X", "V2LOG.DBF"), question("1.X", "VLOG.DBF")}));
    EXPECT_TRUE(QFileInfo::exists(v2));
    EXPECT_TRUE(QFileInfo::exists(v1));
    EXPECT_EQ(session.master().recordCount(), 0);

    prompt.clear();
    prompt.answer(Answer::Yes).answer(Answer::No);
    session.catalogues.checkForConversion();
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(v2));
    EXPECT_TRUE(QFileInfo::exists(v1));
    EXPECT_EQ(session.master().recordCount(), 3);

    prompt.clear();
    prompt.answer(Answer::Yes);
    session.catalogues.checkForConversion();
    EXPECT_EQ(prompt.messages(), QStringList{question("1.X", "VLOG.DBF")});
    EXPECT_FALSE(QFileInfo::exists(v1));
    EXPECT_EQ(session.master().recordCount(), 6);
}

TEST(CatalogueSession, SortLevelsAreRefusedWhileAnotherProgramHoldsTheCatalogue)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("b"), QStringLiteral("a")});
    session.startOn(a);
    int setups = 0;
    QObject::connect(&session.workspace, &kv::Workspace::viewerChanged, [&] { ++setups; });
    {
        Table other;
        other.setPath(a);
        other.open();
        EXPECT_EQ(session.catalogues.setSortLevels({1, 0, 0, 0}), CatalogueSession::SortOutcome::InUse);
    }
    EXPECT_EQ(prompt.messages(), QStringList{kError + QString::fromLatin1(kv::kSortInUseMessage)});
    EXPECT_EQ(session.settings.sortLevels, (kv::SortLevels{2, 0, 0, 0}));
    EXPECT_TRUE(session.master().isOpen());
    EXPECT_EQ(setups, 1);

    prompt.clear();
    EXPECT_EQ(session.catalogues.setSortLevels({1, 0, 11, 0}), CatalogueSession::SortOutcome::Applied);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(session.workspace.sortExpression(), QStringLiteral("Upper(Left(Title,40))+STR(Year,12,0)"));
    EXPECT_EQ(iniValue(session.paths().iniPath, "Sort Order", "Third Level Sort"), QStringLiteral("11"));
    EXPECT_TRUE(session.master().isOpen());
    EXPECT_FALSE(session.master().exclusive());
    EXPECT_EQ(walk(session.master(), "Title"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    EXPECT_EQ(session.catalogues.setSortLevels({0, 0, 0, 0}), CatalogueSession::SortOutcome::Applied);
    EXPECT_EQ(walk(session.master(), "Title"), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
}

TEST(CatalogueSession, PackAndRebuildAskFirstAndNoChangesNothing)
{
    Session session;
    kvtest::ScriptedPrompt &prompt = session.prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")});
    session.startOn(a);
    Table &m = session.master();
    m.first();
    m.deleteRecord(); // "a"
    prompt.answer(Answer::No).answer(Answer::No);
    session.catalogues.pack();
    session.catalogues.rebuildIndexes();
    ASSERT_EQ(prompt.messages().size(), 2);
    EXPECT_TRUE(prompt.messages()[0].startsWith(QStringLiteral("Confirm: Deleted items are not permanently removed")));
    EXPECT_TRUE(prompt.messages()[1].startsWith(QStringLiteral("Confirm: It is possible for your index files")));
    EXPECT_TRUE(m.isOpen());
    EXPECT_EQ(m.physicalCount(), 3u);

    prompt.clear();
    prompt.answer(Answer::Yes);
    session.catalogues.pack();
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(m.physicalCount(), 2u);
    EXPECT_EQ(walk(m, "Title"), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(CatalogueSession, UpdateDatabaseWritesTheSettingsAndRestartsTheSearch)
{
    Session session;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("a")});
    session.startOn(a);
    QStringList calls;
    session.workspace.search().start([](const kv::RecordRef &) { return false; });
    QObject::connect(&session.workspace, &kv::Workspace::searchChanged, [&](bool on) {
        calls << (!on ? QStringLiteral("end")
                      : session.master().isOpen() ? QStringLiteral("restart open") : QStringLiteral("restart closed"));
    });
    QObject::connect(&session.workspace, &kv::Workspace::viewerChanged, [&] { calls << QStringLiteral("viewer"); });
    session.settings.field(3).caption = QStringLiteral("Co-star");
    session.catalogues.updateDatabase();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("end"), QStringLiteral("restart closed"), QStringLiteral("viewer")}));
    EXPECT_EQ(iniValue(session.paths().iniPath, "Field Names", "Star2"), QStringLiteral("Co-star"));
    EXPECT_TRUE(session.master().isOpen());
    EXPECT_TRUE(session.workspace.search().isOn());
    EXPECT_EQ(session.master().recordCount(), 0) << "the search's filter is on again";
}

TEST(CatalogueSession, ASortOrderThatCannotBeSavedPutsTheOldOrderBackToo)
{
    Session session;
    const QString a = catalogueOf(QStringLiteral("A.DBF"), {{"a", "z"}, {"b", "y"}});
    // A folder where the settings file should be: the settings cannot be written.
    ASSERT_TRUE(QDir(kvtest::tempDir()).mkdir(QStringLiteral("A.INI")));
    session.startOn(a);
    const QString starOrder = kv::buildSortString({2, 0, 0, 0});

    EXPECT_EQ(session.catalogues.setSortLevels({1, 0, 0, 0}), CatalogueSession::SortOutcome::Failed);
    EXPECT_EQ(session.prompt.messages(), QStringList{kError + QString::fromLatin1(kv::kSortFailedMessage)});
    EXPECT_EQ(session.settings.sortLevels, (kv::SortLevels{2, 0, 0, 0}));
    EXPECT_EQ(session.workspace.sortExpression(), starOrder);
    ASSERT_TRUE(session.master().isOpen());
    EXPECT_FALSE(session.master().exclusive());
    EXPECT_EQ(session.master().indexExpression(QString::fromLatin1(kv::kSortTagName)), starOrder);
    EXPECT_EQ(walk(session.master(), "Title"), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
}

TEST(CatalogueSession, PackRebuildAndUpdateKeepTheCurrentRecord)
{
    Session session;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("c"), QStringLiteral("b"),
                                                              QStringLiteral("a"), QStringLiteral("d")});
    session.startOn(a);
    Table &m = session.master();
    m.first();
    m.deleteRecord(); // "a", record 3
    m.next();         // "c", record 1, now at place 1
    ASSERT_EQ(m.fieldText(QStringLiteral("Title")), QStringLiteral("c"));
    const auto current = [&] { return m.fieldText(QStringLiteral("Title")); };

    session.prompt.answer(Answer::Yes).answer(Answer::Yes);
    session.catalogues.pack();
    EXPECT_EQ(current(), QStringLiteral("c"));
    m.last(); // "d", record 4 before the pack, 3 after it
    session.catalogues.rebuildIndexes();
    EXPECT_EQ(current(), QStringLiteral("d"));
    m.prior();
    session.catalogues.updateDatabase();
    EXPECT_EQ(current(), QStringLiteral("c"));
    EXPECT_EQ(m.position(), 1);
    EXPECT_TRUE(session.prompt.allAnswersUsed());
}

TEST(CatalogueSession, StartUpKeepsAnExistingTagAndBuildsAMissingOne)
{
    Session session;
    const QString a = catalogueOf(QStringLiteral("A.DBF"), {{"b", "Zed"}, {"a", "Amy"}});
    {
        Table t;
        t.setPath(a);
        kv::applySortExpression(t, kv::buildSortString({1, 0, 0, 0}));
    }
    // An existing tag is used as it stands, even when the levels changed since (Star1 by default).
    session.startOn(a);
    EXPECT_EQ(session.master().indexExpression(QString::fromLatin1(kv::kSortTagName)), kv::buildSortString({1, 0, 0, 0}));
    EXPECT_EQ(walk(session.master(), "Title"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    session.master().close();

    // The .MDX deleted: recognition clears byte 28 of the table, start-up builds the tag again.
    ASSERT_TRUE(QFile::remove(kv::mdxPathFor(a)));
    ASSERT_NE(kvtest::readFile(a).at(28), 0);
    session.startOn(a);
    EXPECT_TRUE(QFileInfo::exists(kv::mdxPathFor(a)));
    EXPECT_EQ(session.master().indexExpression(QString::fromLatin1(kv::kSortTagName)), kv::buildSortString({2, 0, 0, 0}));
    EXPECT_EQ(walk(session.master(), "Star1"), (QStringList{QStringLiteral("Amy"), QStringLiteral("Zed")}));
    EXPECT_FALSE(session.master().exclusive());
    EXPECT_TRUE(session.prompt.messages().isEmpty());
}
