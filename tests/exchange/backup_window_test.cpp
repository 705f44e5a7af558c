#include "backuptest.h"

#include "app/ui/mainwindowfixture.h"
#include "exchange/restore.h"
#include "exchange/ui/backupwindow.h"
#include "exchange/ui/restorewindow.h"
#include "help/help.h"
#include "workspacefixture.h"

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTreeView>

using namespace kvtest;
using kv::ExchangeKind;

namespace {

struct OpenProgram : WorkspaceFixture {
    QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien")});
    QString out = folder(QStringLiteral("backup"));
    OpenProgram()
    {
        workspace.setPaths(kv::CataloguePaths::of(path));
        workspace.master().setPath(path);
        EXPECT_TRUE(workspace.openMaster());
    }
};

QStringList texts(QWidget &window)
{
    QStringList out{window.windowTitle()};
    for (auto *panel : window.findChildren<QGroupBox *>())
        out << panel->title();
    for (auto *radio : window.findChildren<QRadioButton *>())
        out << radio->text();
    for (auto *button : window.findChildren<QPushButton *>())
        out << button->text();
    return out;
}

QPushButton *cancelButton(QWidget &window) { return child<QPushButton>(&window, "CancelButton"); }

} // namespace

TEST(BackupWindows, CarryTheirTextsSizesAndHelp)
{
    OpenProgram p;
    kv::TMyBackup backup(p.workspace);
    backup.show();
    EXPECT_EQ(texts(backup), (QStringList{"Backup", "What To Back Up", "Where To Back Up To",
                                          "Current &Database (*.DBF)", "Data &Lists of Current Database (*.0xx)",
                                          "Config &File of Current Database (*.INI)",
                                          "Global &Report Definitions (*.URP)", "&Start Back Up", "&Cancel",
                                          "&Help"}));
    EXPECT_EQ(backup.size(), QSize(322, 393));
    EXPECT_TRUE(child<QPushButton>(&backup, "StartButton")->isDefault());
    EXPECT_EQ(kv::helpKeyword(&backup), QStringLiteral("Backup and Restore"));

    kv::TMyRestore restore(p.workspace);
    restore.show();
    EXPECT_EQ(texts(restore), (QStringList{"Restore", "What To Restore", "&Database File (*.DBF)",
                                           "Data &Lists of a Database (*.0xx)", "Config &File of a Database (*.INI)",
                                           "Global &Report Definitions (*.URP)", "&Start Restore", "&Cancel",
                                           "&Help"}));
    EXPECT_EQ(restore.size(), QSize(322, 195));
    EXPECT_EQ(restore.kind(), ExchangeKind::Table);
}

TEST(BackupWindow, OpensOnTheProgramFoldersDriveAndFolder)
{
    OpenProgram p;
    kv::TMyBackup backup(p.workspace);
    backup.setKind(ExchangeKind::Reports);
    backup.show();
    EXPECT_EQ(backup.kind(), ExchangeKind::Table) << "the table is chosen on show";
    auto *drives = child<QComboBox>(&backup, "DriveComboBox");
    ASSERT_GE(drives->count(), 1);
    EXPECT_EQ(drives->itemText(0).section(QLatin1Char(' '), 0, 0),
              QDir::toNativeSeparators(QStorageInfo(kv::programDir()).rootPath()));
    EXPECT_EQ(backup.folder(), kv::programDir());
}

TEST(BackupWindow, ARunThatCompletesTurnsCancelIntoCloseAndOneThatIsRefusedDoesNot)
{
    OpenProgram p;
    kv::TMyBackup backup(p.workspace);
    backup.show();
    backup.setFolder(tempDir()); // the catalogue's own folder
    child<QPushButton>(&backup, "StartButton")->click();
    EXPECT_EQ(p.prompt.messages(), QStringList{QStringLiteral("Error: ") + QString::fromLatin1(kv::kBackupIdenticalMessage)});
    EXPECT_EQ(cancelButton(backup)->text(), QStringLiteral("&Cancel"));

    backup.setFolder(p.out);
    EXPECT_EQ(backup.folder(), p.out);
    child<QPushButton>(&backup, "StartButton")->click();
    EXPECT_EQ(readFile(p.out + QStringLiteral("/MY.DBF")), readFile(p.path));
    EXPECT_EQ(cancelButton(backup)->text(), QStringLiteral("&Close"));
    EXPECT_TRUE(cancelButton(backup)->hasFocus());
    EXPECT_TRUE(backup.isVisible()) << "the window stays for another backup";
    cancelButton(backup)->click();
    EXPECT_FALSE(backup.isVisible());
}

TEST(RestoreWindow, AsksForTheSourceAndCancelStopsALongCopyKeepingTheOldFile)
{
    OpenProgram p;
    const QString mine = kv::programDir() + QStringLiteral("/QVRVID.URP");
    writeFile(mine, "the definitions in use");
    writeFile(p.out + QStringLiteral("/QVRVID.URP"), QByteArray(48 << 20, 'r'));
    kv::TMyRestore restore(p.workspace);
    restore.show();
    restore.setKind(ExchangeKind::Reports);

    p.prompt.answerFile(QString()); // the dialog cancelled: nothing happens
    p.prompt.answerFile(p.out + QStringLiteral("/QVRVID.URP"));
    child<QPushButton>(&restore, "StartButton")->click();
    // Pressed while the copy runs: the window keeps handling its buttons.
    QTimer::singleShot(0, cancelButton(restore), &QPushButton::click);
    child<QPushButton>(&restore, "StartButton")->click();

    ASSERT_EQ(p.prompt.shown().size(), 2u);
    EXPECT_EQ(p.prompt.shown()[1].kind, QStringLiteral("open"));
    EXPECT_EQ(p.prompt.shown()[1].caption, QStringLiteral("Restore URP File"));
    EXPECT_TRUE(p.prompt.messages().isEmpty());
    EXPECT_EQ(readFile(mine), QByteArray("the definitions in use"));
    EXPECT_TRUE(strays(mine).isEmpty());
    EXPECT_TRUE(restore.isVisible());
    EXPECT_EQ(cancelButton(restore)->text(), QStringLiteral("&Cancel"));
}

TEST(RestoreWindow, AFinishedRunWithMissingListsStillOffersClose)
{
    OpenProgram p;
    kv::TMyRestore restore(p.workspace);
    restore.show();
    restore.setKind(ExchangeKind::Lists);
    writeFile(p.out + QStringLiteral("/MY.001"), "x\r\n");
    p.prompt.answerFile(p.out + QStringLiteral("/MY.DBF"));
    child<QPushButton>(&restore, "StartButton")->click();
    EXPECT_EQ(p.prompt.messages().last(), QStringLiteral("Notice: ") + QString::fromLatin1(kv::kListsMissingMessage));
    EXPECT_EQ(cancelButton(restore)->text(), QStringLiteral("&Close"));
}

TEST(MainWindowBackup, TheFileMenuOpensBothWindowsAndARestoredTableIsCounted)
{
    ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    bool backupShown = false;
    whenShown<kv::TMyBackup>([&](kv::TMyBackup &) { backupShown = true; });
    child<QAction>(main.get(), "MenuBackup")->trigger();
    EXPECT_TRUE(backupShown);

    const QString source = catalogueOf(folder(QStringLiteral("b")) + QStringLiteral("/FILMS.DBF"),
                                       {QStringLiteral("Alien"), QStringLiteral("Brazil"), QStringLiteral("Zelig")});
    prompt.answerFile(source);
    whenShown<kv::TMyRestore>([](kv::TMyRestore &restore) {
        child<QPushButton>(&restore, "StartButton")->click();
        restore.reject();
    });
    child<QAction>(main.get(), "MenuRestore")->trigger();
    EXPECT_EQ(countText(*main), QStringLiteral("3"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestrova Videos 97 (FILMS)"));
}
