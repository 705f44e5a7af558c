#pragma once
// The main window: the viewer of the open catalogue with its count and navigator, the
// menus, the speed buttons or lettered buttons, and the last-files list. It only
// dispatches: every command is one Do procedure that calls the logic with the workspace
// or opens a feature's window, then shows what the command names (count, viewer).
#include "app/style/commandrow.h"
#include "app/style/styleddialog.h"
#include "app/display/colorconfig.h"
#include "app/display/mainlayout.h"
#include "app/workspace/cataloguesession.h"
#include "help/help.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace kv {

class CommandTable;
class RecordNavigator;
class TMyEdit;
class ViewerGrid;
class QuickFilterBar;

class TMain : public QMainWindow, public LookOwner, public CommandHost {
    Q_OBJECT
public:
    // The look every window the program opens takes.
    const Settings *lookSettings() const override { return &settings_; }
    // What the commands of the table ask of the window.
    Workspace &workspace() override { return ws_; }
    QWidget *commandWindow() override { return this; }
    // arguments: the command line after the program name ("/BROWSE" selects browse-only).
    explicit TMain(Workspace &workspace, const QStringList &arguments = {}, QWidget *parent = nullptr);
    ~TMain() override;

    // False when start-up could not make a catalogue to open: the program then ends
    // without a word.
    bool started() const { return started_; }
    bool browseOnly() const { return ws_.browseOnly(); }
    CatalogueSession &catalogues() { return catalogues_; }
    ViewerGrid *viewerGrid() const { return ViewerGrid_; }
    QuickFilterBar *quickFilterBar() const { return quickFilter_; }
    // The edit window, made at start-up and kept for the program's life.
    TMyEdit *editWindow() const { return editWindow_; }

    // The tip of the day; tests put their own in place before the window is shown.
    using TipWindow = std::function<TipsState(QWidget *parent, const TipsState &state)>;
    void setTipWindow(TipWindow tipWindow) { tipWindow_ = std::move(tipWindow); }

    // Commands, as the menus, buttons and shortcuts run them.
    void DoNew();
    void DoOpen();
    void OpenSaveFile(const QString &path);
    void DoUpdateDatabase();
    // The Backup and Restore windows.
    void DoBackup();
    void DoRestore();
    // The edit window in add, edit or copy mode, then the count.
    void DoAdd();
    void DoEdit();
    void DoCopy();
    void DoDelete();
    void DoImport();
    void DoExport();
    void DoSortOrder();
    void DoViewer();
    // The query search: the Search window, ending the search, and the End Search
    // controls and label following the search state.
    void DoSearch();
    void DoEndSearch();
    void EnableEndSearch();
    void DisableEndSearch();
    // Locate: the dialog (true when it found a record) and the next match.
    bool DoFind();
    bool DoFindNext();
    void DoSearchReplace();
    // One family's colours, or all windows' (the speed button "Color Setup").
    void DoColor(ColorTarget target);
    // "List Maintenance": the current lists made the defaults, or the defaults loaded.
    void MenuSaveDefaultsClick();
    void MenuLoadDefaultsClick();
    // The list editor for a catalogue list (its entries as the edit window offers them)
    // or for a program-wide list (read from its file).
    void EditAList(int listNumber);
    void EditSpecList(int listNumber);
    void DoPack();
    void DoRebuild();
    void DoHelp();
    void DoTips();
    void DoAbout();
    void DoReports();
    void DoExit();
    void DisplayCount() override;
    void SetViewerOptions();
    void SetButtonBar();
    void SetMenuLastFiles();
    void DoFileSpecific();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The command table: menus, both button bars, enabling and dispatch (mainmenus.cpp).
    std::vector<CommandRow> commandRows();
    void buildControls();
    void buildCommands();
    void buildKeyboardAccess();
    void refreshCommandStates();

    void FormCreate(const QStringList &arguments);
    void FormActivate();
    void FormResize();
    void connectWorkspace();
    void setButtonBarMode(int mode);
    void checkFormatMenus();
    void checkScreenSizeMenu();
    void chooseUserFont(FontRole role, const QString &title);
    // The user fonts and the main window's colour set.
    void applyMainLook();
    void showEditWindow(int mode);
    void showListEditor(int listNumber, const QStringList &entries);

    Workspace &ws_;
    CatalogueSession catalogues_;
    Settings &settings_;
    bool started_ = false;
    bool activatedOnce_ = false;
    TipWindow tipWindow_;
    CommandTable *commands_ = nullptr;

    QWidget *client_ = nullptr;
    QFrame *SpeedPanel = nullptr;
    QFrame *ViewerBevel = nullptr;
    QLabel *ViewerLabel = nullptr;
    QLabel *CountLabel = nullptr;
    QLabel *Count2Label = nullptr;
    QLabel *SearchOnLabel = nullptr;
    QLabel *NavigatorLabel = nullptr;
    RecordNavigator *MyNavigator = nullptr;
    ViewerGrid *ViewerGrid_ = nullptr;
    QuickFilterBar *quickFilter_ = nullptr;
    TMyEdit *editWindow_ = nullptr;
    std::array<QFrame *, 4> bevels_{}; // Bevel1 ... Bevel4
    std::vector<QPushButton *> letteredButtons_;
    std::array<QAction *, kLastFileCount> MenuLastFile{};
    QAction *MenuExitSep = nullptr;
    std::array<QAction *, 3> buttonBarItems_{};
    std::array<QAction *, 4> screenSizeItems_{};
    std::array<QAction *, 12> dateItems_{};
    QAction *leadingZerosItem_ = nullptr;
    std::array<QAction *, 2> currencyItems_{};
    std::array<QAction *, 2> numericItems_{};
};

} // namespace kv
