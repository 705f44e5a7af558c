// The main window's commands: each one calls the logic with the workspace or opens a
// feature's window, then shows what the command names (count, viewer).
#include "app/ui/mainwindow.h"

#include "app/ui/colorconfigdialog.h"
#include "app/ui/commandtable.h"
#include "app/ui/sortorderdialog.h"
#include "app/ui/viewconfigdialog.h"
#include "app/workspace/records.h"
#include "edit/picklists.h"
#include "edit/ui/myedit.h"
#include "edit/ui/myeditbox.h"
#include "exchange/ui/backupwindow.h"
#include "exchange/ui/importformat.h"
#include "exchange/ui/myexport.h"
#include "exchange/ui/restorewindow.h"
#include "help/help.h"
#include "reports/ui/reportscommand.h"
#include "search/ui/mylocatedlg.h"
#include "search/ui/mysearch.h"
#include "search/ui/searchandreplace.h"

#include <QLabel>

namespace kv {

void TMain::refreshCommandStates()
{
    commands_->refresh(ws_.browseOnly(), buttonBarMode(settings_.buttonBar) == ButtonBarMode::LetteredButtons);
}

void TMain::DoNew() { catalogues_.doNew(); }
void TMain::DoOpen() { catalogues_.doOpen(); }
void TMain::OpenSaveFile(const QString &path) { catalogues_.openSaveFile(path); }
void TMain::DoUpdateDatabase() { catalogues_.updateDatabase(); }
void TMain::DoDelete() { deleteCurrentRecord(ws_, ws_.master()); }

void TMain::DoBackup()
{
    TMyBackup dialog(ws_, this);
    dialog.exec();
}

void TMain::DoRestore()
{
    TMyRestore dialog(ws_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::showEditWindow(int mode)
{
    editWindow_->setEditMode(EditMode(mode));
    editWindow_->exec();
    DisplayCount();
}

void TMain::DoAdd() { showEditWindow(int(EditMode::Add)); }
void TMain::DoEdit() { showEditWindow(int(EditMode::Edit)); }
void TMain::DoCopy() { showEditWindow(int(EditMode::Copy)); }

void TMain::DoImport()
{
    TImportFormat dialog(ws_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::DoExport()
{
    TMyExport dialog(ws_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::DoReports() { runReports(*this); }

void TMain::DoSortOrder()
{
    TMySortOrder dialog(ws_, catalogues_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::DoViewer()
{
    TViewConfig dialog(ws_, this);
    dialog.exec();
    SetViewerOptions();
}

void TMain::DoSearch()
{
    TMySearch dialog(ws_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::DoEndSearch()
{
    ws_.search().end();
    DisplayCount();
}

bool TMain::DoFind()
{
    TMyLocateDlg dialog(ws_.master(), ws_.locate(), ws_.prompt(), this);
    return dialog.Execute();
}

bool TMain::DoFindNext()
{
    return findNext(ws_.master(), ws_.locate(), ws_.prompt(), [this] { return DoFind(); });
}

void TMain::DoSearchReplace()
{
    TSearchAndReplace dialog(ws_, this);
    dialog.exec();
    DisplayCount();
}

void TMain::EnableEndSearch()
{
    SearchOnLabel->show();
    refreshCommandStates();
    DisplayCount();
}

void TMain::DisableEndSearch()
{
    SearchOnLabel->hide();
    refreshCommandStates();
    DisplayCount();
}

void TMain::DoColor(ColorTarget target)
{
    TColorConfig dialog(ws_, target, this);
    // The main window shows set 1; after another family's Ok it is painted as it was.
    if (dialog.exec() == QDialog::Accepted)
        applyMainLook();
}

void TMain::MenuSaveDefaultsClick() { saveListsAsDefaults(ws_.pickLists(), ws_.prompt()); }
void TMain::MenuLoadDefaultsClick() { loadListsFromDefaults(ws_.pickLists(), ws_.prompt()); }

void TMain::EditAList(int listNumber) { showListEditor(listNumber, ws_.pickLists().entries(listNumber)); }
void TMain::EditSpecList(int listNumber) { showListEditor(listNumber, readProgramWideList(listNumber)); }

void TMain::showListEditor(int listNumber, const QStringList &entries)
{
    TMyEditBox editor(ws_, listNumber, entries, this);
    editor.exec();
}

void TMain::DoPack() { catalogues_.pack(); }
void TMain::DoRebuild() { catalogues_.rebuildIndexes(); }
void TMain::DoHelp() { showHelp(this); }

void TMain::DoTips()
{
    if (!tipWindow_)
        return;
    const TipsState after = tipWindow_(this, {settings_.showTips, settings_.nextTip});
    settings_.showTips = after.showAtStartup;
    settings_.nextTip = after.nextTip;
}

void TMain::DoAbout() { showAbout(this); }
void TMain::DoExit() { close(); }

} // namespace kv
