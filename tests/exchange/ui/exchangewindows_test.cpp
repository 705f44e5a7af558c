// The import and export windows opened from the main window, on the offscreen platform,
// the prompt answering.
#include "exchange/ui/importformat.h"
#include "exchange/ui/myexport.h"
#include "exchange/ui/myimport.h"
#include "exchange/ui/restorewindow.h"

#include "app/ui/mainwindowfixture.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

struct Exchange {
    kvtest::ScriptedPrompt prompt;
    MainPtr main = startMain(prompt);
    kv::Workspace &ws = main->workspace();

    Exchange() { main->show(); }
    ~Exchange() { main->close(); }

    QString textFile(const char *name, const QByteArray &bytes)
    {
        const QString path = kvtest::tempPath(QString::fromLatin1(name));
        kvtest::writeFile(path, bytes);
        return path;
    }
    void addTitles(const QStringList &titles)
    {
        for (const QString &t : titles)
            ws.attempt([&] { addRecords(ws.master(), {{{"Title", t}}}); });
        ws.announceCount();
    }
    QStringList titles() { return column(ws.master(), "Title"); }
};

QStringList cells(QTableWidget *grid, int column, int rows)
{
    QStringList out;
    for (int r = 0; r < rows; ++r)
        out << grid->item(r, column)->text();
    return out;
}

void click(QWidget *window, const char *button) { QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton); }

TEST(ImportWindows, ATextFileWithTitlesIsImportedThroughBothWindows)
{
    Exchange x;
    const QString in = x.textFile("IN.TXT", "\"Name\",\"Lead, Star\"\r\n\"Heat\",\"Pacino\"\r\n\r\n\"Alien\",\"Weaver\"\r\n");
    x.prompt.answerFile(in);
    bool importShown = false;
    whenShown<kv::TImportFormat>([&](kv::TImportFormat &format) {
        EXPECT_EQ(format.windowTitle(), "Import Format");
        EXPECT_TRUE(child<QRadioButton>(&format, "AsciiButton")->isChecked());
        whenShown<kv::TMyImport>([&](kv::TMyImport &window) {
            importShown = true;
            EXPECT_EQ(window.windowTitle(), "Ascii Delimited Text Import");
            auto *grid = child<QTableWidget>(&window, "ImportGrid");
            EXPECT_EQ(grid->rowCount(), 40);
            EXPECT_EQ(cells(grid, 1, 3), (QStringList{"Name", "Lead, Star", "<EMPTY>"}));
            EXPECT_EQ(cells(grid, 2, 3), (QStringList{"Yes", "Yes", ""}));
            EXPECT_TRUE(child<QCheckBox>(&window, "SkipFirst")->isChecked());
            grid->setCurrentCell(0, 1);
            click(&window, "UpButton"); // row 1: nothing moves
            EXPECT_EQ(cells(grid, 1, 2), (QStringList{"Name", "Lead, Star"}));
            click(&window, "StartButton");
        });
        click(&format, "SelectFileButton");
    });
    child<QAction>(x.main.get(), "MenuImport")->trigger();
    EXPECT_TRUE(importShown);
    EXPECT_EQ(x.prompt.messages(), QStringList{"Ok: Import Complete."});
    EXPECT_EQ(x.titles(), (QStringList{"Heat", "Alien"})); // in the order of the first star
    EXPECT_EQ(countText(*x.main), "2");
}

TEST(ImportWindows, AFileThatIsNotDelimitedTextKeepsTheFormatDialogOpen)
{
    Exchange x;
    QByteArray wide = QByteArray("\"f\",").repeated(50) + "\"f\"\r\n";
    x.prompt.answerFile(x.textFile("WIDE.TXT", wide));
    whenShown<kv::TImportFormat>([&](kv::TImportFormat &format) {
        click(&format, "SelectFileButton");
        EXPECT_TRUE(format.isVisible());
        child<QRadioButton>(&format, "DbaseButton")->setChecked(true);
        click(&format, "CancelButton");
    });
    child<QAction>(x.main.get(), "MenuImport")->trigger();
    ASSERT_EQ(x.prompt.messages().size(), 1);
    EXPECT_TRUE(x.prompt.messages().first().endsWith("There are at least 10 more fields than are required by Kestrova."));
    EXPECT_EQ(x.ws.settings().importFileType, 2);
}

TEST(ImportWindows, TheCountMovesWhileImportingAndEscapeStopsKeepingTheRecords)
{
    Exchange x;
    const qint64 lines = 200000;
    const QString in = x.textFile("BIG.TXT", QByteArray("\"A title\",\"A star\"\r\n").repeated(lines));
    kv::TMyImport window(x.ws, kv::ImportKind::Text, in, {"A title", "A star"});
    child<QCheckBox>(&window, "SkipFirst")->setChecked(false);
    window.show();
    QString seenWhileRunning;
    QTimer::singleShot(0, [&] {
        seenWhileRunning = child<QLabel>(&window, "CountLabel")->text();
        EXPECT_TRUE(child<QPushButton>(&window, "CancelButton")->isEnabled());
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    click(&window, "StartButton");
    EXPECT_GT(seenWhileRunning.toLongLong(), 0);
    const qint64 kept = child<QLabel>(&window, "CountLabel")->text().toLongLong();
    EXPECT_LT(kept, lines);
    EXPECT_EQ(x.ws.master().recordCount(), kept);
    EXPECT_TRUE(window.isVisible()); // no "Import Complete." and the window stays
    EXPECT_TRUE(x.prompt.messages().isEmpty());
}

TEST(ExportWindow, FollowsTheSearchAndExportsTheWholeCatalogueWithTheSearchBackOnAfter)
{
    Exchange x;
    x.addTitles({"Heat", "Alien", "Aliens"});
    x.ws.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")).startsWith("Alien"); });
    ASSERT_EQ(x.ws.recordCount(), 2);
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    x.prompt.answerFile(out);
    whenShown<kv::TMyExport>([&](kv::TMyExport &window) {
        EXPECT_TRUE(child<QRadioButton>(&window, "SearchButton")->isEnabled());
        EXPECT_TRUE(child<QRadioButton>(&window, "SearchButton")->isChecked());
        auto *grid = child<QTableWidget>(&window, "ExportGrid");
        // Only the title goes out.
        for (int r = 1; r < 40; ++r)
            Q_EMIT grid->cellDoubleClicked(r, 1);
        child<QCheckBox>(&window, "FirstRow")->setChecked(false);
        child<QRadioButton>(&window, "EntireButton")->setChecked(true);
        click(&window, "StartButton");
    });
    child<QAction>(x.main.get(), "MenuExport")->trigger();
    EXPECT_EQ(x.prompt.messages(), QStringList{"Ok: Export Complete."});
    EXPECT_EQ(kvtest::readFile(out), "\"Heat\"\r\n\"Alien\"\r\n\"Aliens\"\r\n");
    EXPECT_TRUE(x.ws.search().isOn());
    EXPECT_EQ(x.ws.recordCount(), 2);
    EXPECT_FALSE(x.ws.settings().field(2).exported);
    EXPECT_FALSE(x.ws.settings().exportFirstRow);
}

TEST(ExportWindow, NoFieldsChosenWritesNothingAndTheOrderIsKeptForNextTime)
{
    Exchange x;
    x.addTitles({"Heat"});
    x.prompt.answer(kv::Answer::Yes);
    whenShown<kv::TMyExport>([&](kv::TMyExport &window) {
        EXPECT_FALSE(child<QRadioButton>(&window, "SearchButton")->isEnabled());
        EXPECT_TRUE(child<QRadioButton>(&window, "EntireButton")->isChecked());
        auto *grid = child<QTableWidget>(&window, "ExportGrid");
        for (int r = 0; r < 40; ++r)
            Q_EMIT grid->cellDoubleClicked(r, 1);
        click(&window, "StartButton");
        EXPECT_EQ(x.prompt.messages(), QStringList{"Error: No fields selected for export."});
        click(&window, "DefaultsButton");
        EXPECT_EQ(grid->item(5, 1)->text(), "Yes");
        grid->setCurrentCell(kv::fields::Year - 1, 0);
        for (int i = 0; i < kv::fields::Year - 1; ++i)
            click(&window, "UpButton");
        EXPECT_EQ(grid->item(0, 0)->text(), "Year");
        child<QRadioButton>(&window, "DbaseButton")->setChecked(true);
        EXPECT_FALSE(child<QCheckBox>(&window, "FirstRow")->isVisible());
        click(&window, "ExitButton");
    });
    child<QAction>(x.main.get(), "MenuExport")->trigger();
    ASSERT_EQ(x.prompt.shown().size(), 2u);
    EXPECT_EQ(x.prompt.shown()[1].caption, "Re-Order");
    EXPECT_EQ(x.prompt.shown()[1].text, "This will set the order of fields to the program defaults.  Continue?");
    EXPECT_EQ(x.ws.settings().field(kv::fields::Year).exportOrder, 1);
    EXPECT_EQ(x.ws.settings().exportFileType, 2);
    kv::TMyExport again(x.ws);
    EXPECT_EQ(child<QTableWidget>(&again, "ExportGrid")->item(0, 0)->text(), "Year");
    EXPECT_TRUE(child<QRadioButton>(&again, "DbaseButton")->isChecked());
}

} // namespace

namespace {

TEST(ImportWindows, ASpreadsheetCsvIsFoundSaidAndLinedUpByNames)
{
    Exchange x;
    const QString in = x.textFile("SHEET.CSV", "\"Year\",\"Title\"\r\n1995,M\xC3\xBCller\r\n,\"Say \"\"Hi\"\"\"\r\n");
    x.prompt.answerFile(in);
    whenShown<kv::TImportFormat>([&](kv::TImportFormat &format) {
        EXPECT_EQ(child<QComboBox>(&format, "EncodingBox")->currentText(), "Automatic");
        child<QComboBox>(&format, "FormatBox")->setCurrentIndex(2); // standard CSV, chosen
        whenShown<kv::TMyImport>([&](kv::TMyImport &window) {
            EXPECT_EQ(child<QLabel>(&window, "FoundLabel")->text(),
                      "Read as: standard CSV (fields separated by ','), UTF-8");
            click(&window, "MatchNamesButton");
            auto *grid = child<QTableWidget>(&window, "ImportGrid");
            EXPECT_EQ(grid->item(kv::fields::Title - 1, 1)->text(), "Title");
            EXPECT_EQ(grid->item(kv::fields::Year - 1, 1)->text(), "Year");
            click(&window, "StartButton");
        });
        click(&format, "SelectFileButton");
    });
    child<QAction>(x.main.get(), "MenuImport")->trigger();
    EXPECT_EQ(x.prompt.messages(), QStringList{"Ok: Import Complete."});
    EXPECT_EQ(column(x.ws.master(), "Title"), (QStringList{"Müller", "Say \"Hi\""}));
    EXPECT_EQ(column(x.ws.master(), "Year"), (QStringList{"1995", "0"}));
    EXPECT_EQ(x.ws.settings().importFormat, 2);
    EXPECT_EQ(x.ws.settings().importEncoding, 0);
}

TEST(ImportWindows, ABadValueLeavesTheCatalogueAsItWasAndTheWindowOpenForARetry)
{
    Exchange x;
    x.addTitles({"Before"});
    const QString in = x.textFile("IN.TXT", "\"A\",\"1.5\"\r\n\"B\",\"abc\"\r\n");
    kv::TMyImport window(x.ws, kv::ImportKind::Text, in, {"A", "1.5"});
    child<QCheckBox>(&window, "SkipFirst")->setChecked(false);
    window.show();
    // The second import field goes to List Price (row 28).
    auto *grid = child<QTableWidget>(&window, "ImportGrid");
    grid->setCurrentCell(1, 1);
    for (int i = 1; i < kv::fields::ListPrice - 1; ++i)
        click(&window, "DownButton");
    click(&window, "StartButton");
    ASSERT_EQ(x.prompt.messages().size(), 1);
    EXPECT_TRUE(x.prompt.messages().first().startsWith(
        "Error: Line 2, import field 2 \"1.5\" (into List Price): \"abc\" is not a number."))
        << x.prompt.messages().first().toStdString();
    EXPECT_EQ(x.titles(), QStringList{"Before"});
    EXPECT_EQ(child<QLabel>(&window, "CountLabel")->text(), "0");
    EXPECT_TRUE(window.isVisible());
    kvtest::writeFile(in, "\"A\",\"1.5\"\r\n\"B\",\"2\"\r\n");
    click(&window, "StartButton");
    EXPECT_EQ(x.titles().size(), 3);
}

TEST(ImportWindows, TheLastGridIsOfferedAgainForTheSameFirstLine)
{
    Exchange x;
    const QString in = x.textFile("IN.TXT", "\"A\",\"1.5\"\r\n\"B\",\"2\"\r\n");
    {
        kv::TMyImport window(x.ws, kv::ImportKind::Text, in, {"A", "1.5"});
        window.show();
        EXPECT_FALSE(child<QLabel>(&window, "FoundLabel")->text().contains("last time"));
        auto *grid = child<QTableWidget>(&window, "ImportGrid");
        grid->setCurrentCell(1, 1);
        for (int i = 1; i < kv::fields::ListPrice - 1; ++i)
            click(&window, "DownButton");
        click(&window, "StartButton");
    }
    ASSERT_EQ(x.prompt.messages(), QStringList{"Ok: Import Complete."});
    // Through the catalogue's settings file, as on the next day.
    const QString ini = kvtest::tempPath("SAVED.INI");
    ASSERT_TRUE(kv::writeSettings(ini, kv::SettingsScope::Catalogue, x.ws.settings()));
    kv::readSettings(ini, kv::SettingsScope::Catalogue, x.ws.settings());

    kv::TMyImport same(x.ws, kv::ImportKind::Text, in, {"A", "1.5"});
    auto *grid = child<QTableWidget>(&same, "ImportGrid");
    EXPECT_EQ(grid->item(kv::fields::ListPrice - 1, 1)->text(), "1.5");
    EXPECT_EQ(grid->item(1, 1)->text(), "<EMPTY>");
    EXPECT_TRUE(child<QLabel>(&same, "FoundLabel")->text().endsWith("\nFields lined up as last time."));

    kv::TMyImport other(x.ws, kv::ImportKind::Text, in, {"A", "1.50"});
    EXPECT_EQ(child<QTableWidget>(&other, "ImportGrid")->item(1, 1)->text(), "1.50");
    EXPECT_FALSE(child<QLabel>(&other, "FoundLabel")->text().contains("last time"));
}

TEST(ExportWindow, WritesUtf8WithAByteOrderMarkWhenChosenAndKeepsTheChoice)
{
    Exchange x;
    x.addTitles({QString::fromUtf8("Müller")});
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    x.prompt.answerFile(out);
    whenShown<kv::TMyExport>([&](kv::TMyExport &window) {
        auto *box = child<QComboBox>(&window, "EncodingBox");
        EXPECT_EQ(box->currentText(), "Windows-1252");
        box->setCurrentIndex(0);
        auto *grid = child<QTableWidget>(&window, "ExportGrid");
        for (int r = 1; r < 40; ++r)
            Q_EMIT grid->cellDoubleClicked(r, 1);
        child<QCheckBox>(&window, "FirstRow")->setChecked(false);
        child<QRadioButton>(&window, "DbaseButton")->setChecked(true);
        EXPECT_FALSE(box->isEnabled()); // a dBASE table has its own code page
        child<QRadioButton>(&window, "AsciiButton")->setChecked(true);
        click(&window, "StartButton");
    });
    child<QAction>(x.main.get(), "MenuExport")->trigger();
    EXPECT_EQ(kvtest::readFile(out), "\xEF\xBB\xBF\"M\xC3\xBCller\"\r\n");
    EXPECT_EQ(x.ws.settings().exportEncoding, 1);
}

} // namespace

namespace {

QString tapesIn(const char *folder, const QStringList &titles)
{
    const QString dir = kvtest::tempPath(QString::fromLatin1(folder));
    EXPECT_TRUE(QDir().mkpath(dir));
    return catalogueWith(QString::fromLatin1(folder) + QStringLiteral("/Tapes.DBF"), titles);
}

QStringList lastFiles(kv::TMain &main)
{
    QStringList out;
    for (const char *name : {"MenuLastFile1", "MenuLastFile2", "MenuLastFile3"}) {
        auto *item = child<QAction>(&main, name);
        if (item->isVisible())
            out << item->text() + QStringLiteral(" | ") + item->toolTip();
    }
    return out;
}

} // namespace

// A table restored from a backup folder becomes the copy in the program folder, under the
// same caption: the user is told which file is open now, and the last-files list shows
// each of the two Tapes.DBF once, by its path.
TEST(RestoreTable, SaysWhichCatalogueIsOpenAndListsEachFileOnce)
{
    const QString mine = tapesIn("videos", {QStringLiteral("Alien")});
    const QString backup = tapesIn("backup", {QStringLiteral("Alien"), QStringLiteral("Brazil")});
    const QString other = catalogueWith(QStringLiteral("OTHER.DBF"), {});
    setProgramValue("Last Database", mine);
    Exchange x;
    const QString restored = inProgramDir(QStringLiteral("Tapes.DBF"));

    x.prompt.answerFile(backup);
    whenShown<kv::TMyRestore>([](kv::TMyRestore &restore) {
        click(&restore, "StartButton");
        restore.reject();
    });
    child<QAction>(x.main.get(), "MenuRestore")->trigger();
    EXPECT_EQ(x.prompt.messages(),
              QStringList({QStringLiteral("Notice: Restore completed successfully."),
                           QStringLiteral("Notice: The restored database \"%1\" is now open in place of \"%2\", "
                                          "which is left as it was.")
                               .arg(QDir::toNativeSeparators(restored), QDir::toNativeSeparators(mine))}));
    EXPECT_EQ(x.ws.paths().path, restored);
    EXPECT_EQ(x.main->windowTitle(), QStringLiteral("Kestrova Videos 97 (Tapes)"));
    // A last-files entry as the menu shows it: its path, and the path again as its tip.
    const auto entry = [](int number, const QString &path) {
        return QStringLiteral("&%1   %2 | %2").arg(number).arg(QDir::toNativeSeparators(path));
    };

    x.prompt.answerFile(other);
    child<QAction>(x.main.get(), "MenuOpen")->trigger();
    EXPECT_EQ(lastFiles(*x.main),
              QStringList({entry(1, restored), entry(2, mine)}));
    // Back to the one in the program folder, then to the first one by another spelling of
    // its path: the file open is no entry of the list.
    child<QAction>(x.main.get(), "MenuLastFile1")->trigger();
    x.prompt.answerFile(QFileInfo(mine).absolutePath() + QStringLiteral("/./Tapes.DBF"));
    child<QAction>(x.main.get(), "MenuOpen")->trigger();
    EXPECT_EQ(lastFiles(*x.main), QStringList({entry(1, restored), entry(2, other)}));
}
