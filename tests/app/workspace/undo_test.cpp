// Undo and Redo of each kind of step, read back from the files with readers of their own:
// the table's bytes straight from the file, the index entries with the index file reader.
#include "app/workspace/records.h"

#include "app/workspace/cataloguesession.h"
#include "store/catalogue.h"
#include "store/index/mdx.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// A table and its index as the files hold them. The header's date of last change is
// left out: it is today's whichever write made it.
struct Files {
    QByteArray header;
    std::vector<QByteArray> records;
    std::vector<std::pair<std::vector<char>, std::vector<std::uint32_t>>> tags;
    bool operator==(const Files &) const = default;
};

Files readFiles(const QString &dbf)
{
    Files f;
    QFile file(dbf);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto u16 = [&](int at) { return int(std::uint8_t(bytes[at])) | int(std::uint8_t(bytes[at + 1])) << 8; };
    const quint32 count = quint32(std::uint8_t(bytes[4])) | quint32(std::uint8_t(bytes[5])) << 8 |
                          quint32(std::uint8_t(bytes[6])) << 16 | quint32(std::uint8_t(bytes[7])) << 24;
    const int headerLength = u16(8), recordLength = u16(10);
    f.header = bytes.left(headerLength);
    f.header.replace(1, 3, "\0\0\0", 3);
    for (quint32 r = 0; r < count; ++r)
        f.records.push_back(bytes.mid(headerLength + qsizetype(r) * recordLength, recordLength));
    kv::MdxFile mdx;
    mdx.open(kv::mdxPathFor(dbf), false);
    for (int t = 0; t < mdx.tagCount(); ++t) {
        auto &[keys, recnos] = f.tags.emplace_back();
        mdx.readEntries(t, keys, recnos);
    }
    return f;
}

// What Undo of a step that added records leaves: those records stay in the file, deleted,
// and so in the index; every record that was there before is as it was.
Files withAddedDeleted(Files after, std::size_t countBefore)
{
    for (std::size_t r = countBefore; r < after.records.size(); ++r)
        after.records[r][0] = '*';
    return after;
}

struct Undo : ::testing::Test {
    kvtest::WorkspaceFixture f;
    kv::Workspace &ws = f.workspace;
    kv::CatalogueSession catalogues{ws};
    QString path;

    void SetUp() override
    {
        path = newCatalogue();
        {
            kv::Table t;
            t.setPath(path);
            t.open();
            addRecords(t, {{{"Title", "Zulu"}, {"Category", "drama"}},
                           {{"Title", "Alpha"}, {"Category", "Comedy"}},
                           {{"Title", "Mike"}, {"Category", "Drama"}},
                           {{"Title", "Kilo"}, {"Category", "Western"}}});
        }
        f.settings.sortLevels = {1, 0, 0, 0};
        ws.rebuildSortExpression();
        kv::Table t;
        t.setPath(path);
        t.addIndex(QString::fromLatin1(kv::kSortTagName), ws.sortExpression());
        ws.setPaths(kv::CataloguePaths::of(path));
        ws.master().setPath(path);
        ws.master().setIndexName(QString::fromLatin1(kv::kSortTagName));
        ws.keepUndoHistory();
        ASSERT_TRUE(ws.openMaster());
    }
    kv::UndoHistory &history() { return *ws.undoHistory(); }
    void moveToTitle(const char *title)
    {
        ASSERT_TRUE(ws.master().locate(QStringLiteral("Title"), QString::fromLatin1(title), kv::Table::Match::Exact,
                                       false, true));
    }
    void editTitle(const char *title, const char *to)
    {
        moveToTitle(title);
        ws.master().edit();
        ws.master().setFieldText(QStringLiteral("Title"), QString::fromLatin1(to));
        kv::postRecord(ws, ws.master());
    }
};

TEST_F(Undo, EachKindOfStepComesBackByteForByteAndGoesAgainOnRedo)
{
    struct Case {
        const char *step;
        bool adds;
        std::function<void(Undo &)> run;
    };
    const QString importFile = kvtest::tempPath(QStringLiteral("IN.TXT"));
    {
        QFile in(importFile);
        ASSERT_TRUE(in.open(QIODevice::WriteOnly));
        in.write("\"Bravo\",\"Horror\"\r\n\"Echo\",\"Drama\"\r\n\"Yankee\",\"Comedy\"\r\n");
    }
    const std::vector<Case> cases = {
        {"Edit", false, [](Undo &u) { u.editTitle("Zulu", "Able"); }},
        // A record written twice in one step comes back from its second change to before the first.
        {"Retitle", false,
         [](Undo &u) {
             kv::UndoHistory::Step step(u.ws.undoHistory(), QStringLiteral("Retitle"));
             u.editTitle("Kilo", "Kilo Two");
             u.editTitle("Kilo Two", "Bravo");
         }},
        {"Add", true,
         [](Undo &u) {
             u.ws.master().append();
             u.ws.master().setFieldText(QStringLiteral("Title"), QStringLiteral("Lima"));
             kv::postRecord(u.ws, u.ws.master());
         }},
        {"Replace: 2 records", false,
         [](Undo &u) {
             kv::ReplaceCounters n;
             EXPECT_EQ(kv::replaceInMaster(u.ws, {14, QStringLiteral("drama"), QStringLiteral("Thriller"), false}, {}, n),
                       kv::ReplaceResult::Done);
             EXPECT_EQ(n.changed, 2);
         }},
        {"Delete", false,
         [](Undo &u) {
             u.moveToTitle("Mike");
             u.f.prompt.answer(kv::Answer::Yes);
             EXPECT_TRUE(kv::deleteCurrentRecord(u.ws, u.ws.master()));
         }},
        {"Import: 3 records", true,
         [&importFile](Undo &u) {
             kv::ImportRequest request;
             request.path = importFile;
             request.fieldCount = 2;
             request.map = kv::defaultImportMap(2);
             request.map[1] = 14; // the second column is the category
             EXPECT_EQ(kv::importIntoMaster(u.ws, request, nullptr).imported, 3);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        history().clear();
        const Files before = readFiles(path);
        const QStringList titlesBefore = column(ws.master(), "Title");
        c.run(*this);
        const Files after = readFiles(path);
        ASSERT_NE(after, before);
        ASSERT_EQ(history().undoName(), QString::fromLatin1(c.step));

        ASSERT_TRUE(kv::undoLastStep(ws));
        const Files undone = readFiles(path);
        EXPECT_EQ(undone, c.adds ? withAddedDeleted(after, before.records.size()) : before);
        EXPECT_EQ(column(ws.master(), "Title"), titlesBefore);
        EXPECT_EQ(ws.master().indexProblem(), QString());
        EXPECT_FALSE(history().canUndo());
        EXPECT_EQ(history().redoName(), QString::fromLatin1(c.step));

        ASSERT_TRUE(kv::redoLastStep(ws));
        EXPECT_EQ(readFiles(path), after);
        EXPECT_EQ(history().undoName(), QString::fromLatin1(c.step));
        EXPECT_FALSE(history().canRedo());
    }
    EXPECT_EQ(f.prompt.messages().filter(QStringLiteral("Error")), QStringList());
}

TEST_F(Undo, AStepWhoseRecordAnotherCopyChangedIsRefusedNamingTheRecordAndChangesNothing)
{
    editTitle("Alpha", "Oscar");
    editTitle("Kilo", "Papa");
    // Another program sharing the file edits the record of the last step.
    {
        kv::Table other;
        other.setPath(path);
        other.open();
        ASSERT_TRUE(other.locate(QStringLiteral("Title"), QStringLiteral("Papa"), kv::Table::Match::Exact, false, true));
        other.edit();
        other.setFieldText(QStringLiteral("Category"), QStringLiteral("Musical"));
        other.post();
    }
    const Files theirs = readFiles(path);
    f.prompt.clear();
    EXPECT_FALSE(kv::undoLastStep(ws));
    EXPECT_EQ(f.prompt.messages(),
              QStringList{"Error: Record 4 (\"Papa\") was changed by another user since: \"Undo Edit\" is not possible."});
    EXPECT_EQ(readFiles(path), theirs);
    EXPECT_EQ(history().undoName(), QStringLiteral("Edit"));
    EXPECT_FALSE(history().canRedo());
}

TEST_F(Undo, ARecordStillBeingEditedIsWrittenAsAStepOfItsOwnAndTakenBackFirst)
{
    editTitle("Alpha", "Oscar");
    const Files oscar = readFiles(path);
    moveToTitle("Kilo");
    ws.master().edit();
    ws.master().setFieldText(QStringLiteral("Title"), QStringLiteral("Papa"));
    ASSERT_TRUE(kv::undoLastStep(ws));
    EXPECT_EQ(readFiles(path), oscar);
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Kilo", "Mike", "Oscar", "Zulu"}));
    ASSERT_TRUE(kv::undoLastStep(ws));
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Alpha", "Kilo", "Mike", "Zulu"}));
}

TEST_F(Undo, ARunThatAddedNothingIsNoStep)
{
    const QString importFile = kvtest::tempPath(QStringLiteral("BAD.TXT"));
    {
        QFile in(importFile);
        ASSERT_TRUE(in.open(QIODevice::WriteOnly));
        in.write("\"Bravo\",\"\"\r\n\"Echo\",\"13/45/1997\"\r\n");
    }
    kv::ImportRequest request;
    request.path = importFile;
    request.fieldCount = 2;
    request.map = kv::defaultImportMap(2);
    request.map[1] = 35; // the purchase date
    const Files before = readFiles(path);
    EXPECT_THROW(kv::importIntoMaster(ws, request, nullptr), kv::DbError);
    EXPECT_EQ(readFiles(path), before);
    kv::ReplaceCounters n;
    EXPECT_EQ(kv::replaceInMaster(ws, {14, QStringLiteral("Musical"), QStringLiteral("Opera"), false}, {}, n),
              kv::ReplaceResult::Done);
    EXPECT_FALSE(history().canUndo());
}

TEST_F(Undo, PackAndAnotherCatalogueClearTheHistoryAndSaySo)
{
    editTitle("Alpha", "Oscar");
    ASSERT_TRUE(kv::undoLastStep(ws));
    f.prompt.clear();
    f.prompt.answer(kv::Answer::Yes);
    catalogues.pack();
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(history().canRedo());
    EXPECT_EQ(history().clearedBecause(), QString::fromLatin1(kv::kHistoryClearedByPack));
    EXPECT_EQ(f.prompt.messages().size(), 1) << "the pack's question alone";

    editTitle("Alpha", "Oscar");
    EXPECT_EQ(history().clearedBecause(), QString());
    Q_EMIT ws.leavingCatalogue(ws.paths());
    EXPECT_FALSE(history().canUndo());
    EXPECT_EQ(history().clearedBecause(), QString::fromLatin1(kv::kHistoryClearedBySwitch));
}

} // namespace
