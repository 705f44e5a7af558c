// The main window's command table: every menu, menu item, speed button and lettered
// button, in menu order.
#include "app/ui/mainwindow.h"

#include "app/display/displayoptions.h"
#include "app/display/screensize.h"
#include "app/ui/commandtable.h"
#include "app/style/speedicons.h"
#include "app/ui/quickfilterbar.h"
#include "app/ui/undoactions.h"
#include "collection/ui/collectioncommands.h"
#include "base/dateformat.h"
#include "edit/picklists.h"
#include "reports/ui/reportscommand.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <set>

namespace kv {

namespace {

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }
QKeySequence shift(Qt::Key key) { return QKeySequence(Qt::SHIFT | key); }

CommandRow menuRow(const char *id, const char *caption, const char *parent, const char *subMenu,
                   bool separatorBefore = false)
{
    CommandRow row{id, QString::fromLatin1(caption), parent, {}, {}};
    row.subMenu = subMenu;
    row.separatorBefore = separatorBefore;
    return row;
}

const char *const kLastFileNames[kLastFileCount] = {"MenuLastFile1", "MenuLastFile2", "MenuLastFile3",
                                                    "MenuLastFile4", "MenuLastFile5"};
const char *const kDateItemNames[12] = {"MenuDateMDYSlash",   "MenuDateMDYDash",   "MenuDateMDYDot",
                                        "MenuDateDMYSlash",   "MenuDateDMYDash",   "MenuDateDMYDot",
                                        "MenuDateMDYSlashYr", "MenuDateMDYDashYr", "MenuDateMDYDotYr",
                                        "MenuDateDMYSlashYr", "MenuDateDMYDashYr", "MenuDateDMYDotYr"};

SpeedButtonSpec speed(const char *name, const char *hint, SpeedIcon icon, bool gapBefore = false)
{
    return {name, hint, speedIcon(icon), gapBefore};
}

} // namespace

std::vector<CommandRow> TMain::commandRows()
{
    using S = SpeedIcon;
    std::vector<CommandRow> rows;
    rows.reserve(128);
    const auto add = [&rows](CommandRow row) -> CommandRow & { return rows.emplace_back(std::move(row)); };
    const auto item = [&add](const char *id, const char *caption, const char *menu, QKeySequence key,
                             std::function<void()> run) -> CommandRow & {
        return add({id, QString::fromLatin1(caption), menu, key, std::move(run)});
    };

    add(menuRow(nullptr, "&File", "", "MenuFile"));
    item("MenuNew", "&New Database", "MenuFile", ctrl(Qt::Key_W), [this] { DoNew(); }).speed =
        speed("SpeedNew", "New Database", S::NewDatabase);
    item("MenuOpen", "&Open Database", "MenuFile", ctrl(Qt::Key_O), [this] { DoOpen(); }).speed =
        speed("SpeedOpen", "Open Database", S::OpenDatabase);
    item("MenuUpdateDatabase", "&Update Database", "MenuFile", ctrl(Qt::Key_Z), [this] { DoUpdateDatabase(); });
    CommandRow &backup = item("MenuBackup", "&Back Up Data", "MenuFile", ctrl(Qt::Key_B), [this] { DoBackup(); });
    backup.separatorBefore = backup.changesData = true;
    item("MenuRestore", "&Restore Data", "MenuFile", ctrl(Qt::Key_Y), [this] { DoRestore(); }).changesData = true;
    item("MenuPrint", "&Print", "MenuFile", ctrl(Qt::Key_P), [this] { DoReports(); }).separatorBefore = true;
    CommandRow &exit = item("MenuExit", "E&xit", "MenuFile", ctrl(Qt::Key_X), [this] { DoExit(); });
    exit.separatorBefore = true;
    exit.lettered = LetteredButtonSpec{"ButtonExit", "E&xit", {324, 46, 63, 26}, 10};
    for (int k = 0; k < kLastFileCount; ++k) {
        add({kLastFileNames[k], QStringLiteral("&%1").arg(k + 1), "MenuFile", {},
             [this, k] { OpenSaveFile(settings_.lastFiles[size_t(k)]); }});
    }

    add(menuRow(nullptr, "Rec&ords", "", "MenuRecords"));
    CommandRow &addRecord = item("MenuAdd", "&Add", "MenuRecords", ctrl(Qt::Key_A), [this] { DoAdd(); });
    addRecord.changesData = true;
    addRecord.speed = speed("SpeedAdd", "Add Record", S::AddRecord, true);
    addRecord.lettered = LetteredButtonSpec{"AddButton", "&Add", {12, 12, 75, 26}, 1};
    CommandRow &edit = item("MenuEdit", "&Edit", "MenuRecords", ctrl(Qt::Key_E), [this] { DoEdit(); });
    edit.speed = speed("SpeedEdit", "Edit Record", S::EditRecord);
    edit.lettered = LetteredButtonSpec{"EditButton", "&Edit", {88, 12, 75, 26}, 2};
    CommandRow &copy = item("MenuCopy", "&Copy", "MenuRecords", ctrl(Qt::Key_C), [this] { DoCopy(); });
    copy.changesData = true;
    copy.speed = speed("SpeedCopy", "Copy Record", S::CopyRecord);
    copy.lettered = LetteredButtonSpec{"CopyButton", "&Copy", {12, 46, 75, 26}, 3};
    CommandRow &del = item("MenuDelete", "&Delete", "MenuRecords", ctrl(Qt::Key_D), [this] { DoDelete(); });
    del.changesData = true;
    del.speed = speed("SpeedDelete", "Delete Record", S::DeleteRecord);
    del.lettered = LetteredButtonSpec{"DeleteButton", "&Delete", {88, 46, 75, 26}, 4};
    CommandRow &import = item("MenuImport", "&Import", "MenuRecords", ctrl(Qt::Key_M), [this] { DoImport(); });
    import.separatorBefore = import.changesData = true;
    import.speed = speed("SpeedImport", "Import Records", S::ImportRecords, true);
    item("MenuExport", "E&xport", "MenuRecords", ctrl(Qt::Key_T), [this] { DoExport(); }).speed =
        speed("SpeedExport", "Export Records", S::ExportRecords);
    for (CommandRow &row : undoCommandRows(ws_))
        add(std::move(row));

    add(menuRow(nullptr, "&Navigate", "", "MenuNavigate"));
    CommandRow &search = item("MenuSearch", "&Search (Query)", "MenuNavigate", ctrl(Qt::Key_S), [this] { DoSearch(); });
    search.speed = speed("SpeedSearch", "Search Records", S::SearchRecords, true);
    search.lettered = LetteredButtonSpec{"SearchButton", "&Search", {174, 12, 74, 26}, 5};
    CommandRow &end = item("MenuEndSearch", "&End Search", "MenuNavigate", ctrl(Qt::Key_I), [this] { DoEndSearch(); });
    end.speed = speed("SpeedEndSearch", "End Search", S::EndSearch);
    end.lettered = LetteredButtonSpec{"EndSearchButton", "E&nd Srch", {174, 46, 74, 26}, 6};
    end.available = [this] { return ws_.search().isOn(); };
    CommandRow &locate = item("MenuLocate", "&Locate", "MenuNavigate", ctrl(Qt::Key_L), [this] { DoFind(); });
    locate.separatorBefore = true;
    locate.speed = speed("SpeedLocate", "Locate Record", S::LocateRecord);
    item("MenuLocateNext", "Locate &Next", "MenuNavigate", ctrl(Qt::Key_N), [this] { DoFindNext(); }).speed =
        speed("SpeedLocateNext", "Locate Next Record", S::LocateNextRecord);

    add(reportsCommandRow(*this));
    CommandRow &viewer = item("MenuViewer", "&Viewer", "", ctrl(Qt::Key_V), [this] { DoViewer(); });
    viewer.changesData = true;
    viewer.speed = speed("SpeedViewer", "Viewer Configuration", S::ViewerConfiguration);
    viewer.lettered = LetteredButtonSpec{"ViewerButton", "&Viewer", {324, 12, 63, 26}, 8};

    add(menuRow(nullptr, "O&ptions", "", "MenuOptions"));
    item("MenuSortOrder", "Sort &Order", "MenuOptions", ctrl(Qt::Key_Q), [this] { DoSortOrder(); }).speed =
        speed("SpeedSortOrder", "Set Sorting Order", S::SortOrder, true);
    add(menuRow(nullptr, "Screen Si&ze", "MenuOptions", "MenuScreenSize", true));
    const struct {
        const char *name, *caption;
        int mode;
        Qt::Key key;
    } sizes[] = {{"N640x480", "640 x 480", 640, Qt::Key_F1},
                 {"N800x600", "800 x 600", 800, Qt::Key_F2},
                 {"N1024x768", "1024 x 768", 1024, Qt::Key_F3},
                 {"N1280x1024", "1280 x 1024", 1280, Qt::Key_F4}};
    for (const auto &s : sizes) {
        const int mode = s.mode;
        item(s.name, s.caption, "MenuOptions/MenuScreenSize", shift(s.key), [this, mode] {
            chooseScreenSize(settings_, ws_.prompt(), mode, primaryScreenSize());
            checkScreenSizeMenu();
        }).checkable = true;
    }
    add(menuRow(nullptr, "Screen &Access", "MenuOptions", "MenuScreenAccess"));
    const char *const accessNames[3] = {"MenuSpeedButtons", "MenuLetteredButtons", "MenuNoButtons"};
    const char *const accessCaptions[3] = {"&Speed Buttons", "&Lettered Buttons", "&None"};
    const Qt::Key accessKeys[3] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3};
    for (int i = 0; i < 3; ++i)
        item(accessNames[i], accessCaptions[i], "MenuOptions/MenuScreenAccess", ctrl(accessKeys[i]),
             [this, i] { setButtonBarMode(i + 1); }).checkable = true;
    add(menuRow(nullptr, "&Color", "MenuOptions", "MenuColor"));
    const struct {
        const char *name, *caption;
        Qt::Key key;
        ColorTarget target;
    } colors[] = {{"MenuMainColor", "&Main Window Color", Qt::Key_F4, ColorTarget::Main},
                  {"MenuEditColor", "&Edit Window Color", Qt::Key_F5, ColorTarget::Edit},
                  {"MenuSearchColor", "&Search Window Color", Qt::Key_F6, ColorTarget::Search},
                  {"MenuReportColor", "&Report Window Color", Qt::Key_F7, ColorTarget::Report},
                  {"MenuConfigureColor", "&Configure Window Color", Qt::Key_F8, ColorTarget::Configure}};
    for (const auto &c : colors) {
        const ColorTarget target = c.target;
        item(c.name, c.caption, "MenuOptions/MenuColor", ctrl(c.key), [this, target] { DoColor(target); });
    }
    // All windows is the command the speed button "Color Setup" runs too.
    item("MenuAllColor", "&ALL Windows Color", "MenuOptions/MenuColor", ctrl(Qt::Key_F9),
         [this] { DoColor(ColorTarget::AllWindows); })
        .speed = speed("SpeedColor", "Color Setup", S::ColorSetup);
    add(menuRow("MenuListMaintenance", "List &Maintenance", "MenuOptions", "ListMaintenanceMenu")).changesData = true;
    const char *const lists = "MenuOptions/ListMaintenanceMenu";
    item("MenuSaveDefaults", "Sa&ve As Defaults", lists, {}, [this] { MenuSaveDefaultsClick(); });
    item("MenuLoadDefaults", "Lo&ad In Defaults", lists, {}, [this] { MenuLoadDefaultsClick(); });
    const struct {
        const char *name, *caption;
        int list;
    } listItems[] = {{"MenuMaintainStars", "&Stars", 2},          {"MenuMaintainProducer", "&Producer", 1},
                     {"MenuMaintainDirector", "&Director", 3},    {"MenuMaintainReleasedBy", "&Released By", 4},
                     {"MenuMaintainRating", "Ra&ting", 5},        {"MenuMaintainCategory", "Cate&gory", 6},
                     {"MenuMaintainPersRating", "Perso&nal Rating", 11}, {"MenuMaintainPicture", "P&icture", 7},
                     {"MenuMaintainSound", "So&und", 8},          {"MenuMaintainFormat", "&Format", 9},
                     {"MenuMaintainRecSpeed", "R&ecord Speed", 12}, {"MenuMaintainContent", "&Content", 13},
                     {"MenuMaintainLaser", "&Laser Format", 10},  {"MenuMaintainOscars", "&Oscars", 14},
                     {"MenuMaintainCheckOut", "Chec&k Out Person", 15}, {"MenuMaintainWherePurch", "&Where Purchased", 16},
                     {"MenuMaintainMisc", "&Miscellaneous", 17}};
    for (const auto &l : listItems) {
        const int n = l.list;
        item(l.name, l.caption, lists, {}, [this, n] { isCatalogueList(n) ? EditAList(n) : EditSpecList(n); })
            .separatorBefore = &l == &listItems[0];
    }

    add(menuRow(nullptr, "C&urrency Format", "MenuOptions", "MenuCurrencyFormat", true));
    item("MenuCurrencyUS", "&U.S. Dollars", "MenuOptions/MenuCurrencyFormat", {},
         [this] { chooseCurrencyFormat(settings_, 1), checkFormatMenus(); }).checkable = true;
    item("MenuCurrencyWindows", "&Windows Setting", "MenuOptions/MenuCurrencyFormat", {},
         [this] { chooseCurrencyFormat(settings_, 2), checkFormatMenus(); }).checkable = true;
    add(menuRow(nullptr, "&Numeric Format", "MenuOptions", "MenuNumericFormat"));
    item("MenuNumericUS", "&U.S. Format", "MenuOptions/MenuNumericFormat", {},
         [this] { chooseNumericFormat(settings_, 1), checkFormatMenus(); }).checkable = true;
    item("MenuNumericWindows", "&Windows Setting", "MenuOptions/MenuNumericFormat", {},
         [this] { chooseNumericFormat(settings_, 2), checkFormatMenus(); }).checkable = true;
    add(menuRow(nullptr, "&Date Format", "MenuOptions", "MenuDateFormat"));
    for (int choice = 1; choice <= kDateChoiceCount; ++choice) {
        add({kDateItemNames[choice - 1], QString::fromLatin1(dateChoice(choice)->caption),
             "MenuOptions/MenuDateFormat", {}, [this, choice] {
                 if (chooseDateFormat(settings_, choice))
                     ws_.master().refresh();
                 checkFormatMenus();
             }}).checkable = true;
    }
    CommandRow &zeros = item("MenuDateLeadingZeros", "&Leading Zeros", "MenuOptions/MenuDateFormat", {}, [this] {
        toggleLeadingZeros(settings_);
        checkFormatMenus();
        ws_.master().refresh();
    });
    zeros.separatorBefore = zeros.checkable = true;
    item("MenuLabelFont", "&Label Font", "MenuOptions", shift(Qt::Key_F8),
         [this] { chooseUserFont(FontRole::Label, QStringLiteral("Label Font")); })
        .separatorBefore = true;
    item("MenuEditFont", "&Edit Font", "MenuOptions", shift(Qt::Key_F9),
         [this] { chooseUserFont(FontRole::Edit, QStringLiteral("Edit Font")); });
    item("MenuButtonFont", "&Button Font", "MenuOptions", shift(Qt::Key_F10),
         [this] { chooseUserFont(FontRole::Button, QStringLiteral("Button Font")); });

    add(menuRow(nullptr, "&Tools", "", "MenuTools"));
    item("MenuSearchReplace", "&Search and Replace", "MenuTools", ctrl(Qt::Key_F), [this] { DoSearchReplace(); })
        .changesData = true;
    item("MenuRebuild", "&Rebuild Indexes", "MenuTools", {}, [this] { DoRebuild(); });
    item("MenuPack", "&Pack Database", "MenuTools", {}, [this] { DoPack(); });
    for (CommandRow &row : collectionCommandRows(*this, [this] { DoEdit(); }))
        add(std::move(row));

    add(menuRow(nullptr, "&Help", "", "MenuHelp"));
    CommandRow &help = item("MenuContents", "&Contents", "MenuHelp", ctrl(Qt::Key_H), [this] { DoHelp(); });
    help.speed = speed("SpeedHelp", "Help", S::Help, true);
    help.lettered = LetteredButtonSpec{"HelpButton", "He&lp", {260, 46, 63, 26}, 9};
    item("MenuTips", "&Review \"Tips of the Day\"", "MenuHelp", {}, [this] { DoTips(); });
    item("MenuAbout", "&About", "MenuHelp", {}, [this] { DoAbout(); });

    // What walks the whole catalogue or the search result must not meet the filter box's
    // narrowing instead: the box is emptied first.
    const std::set<QByteArray> walkers = {"MenuUpdateDatabase", "MenuBackup", "MenuRestore", "MenuPrint",
                                          "MenuImport", "MenuExport", "MenuReports", "MenuSearchReplace",
                                          "MenuRebuild", "MenuPack"};
    for (CommandRow &row : rows) {
        if (row.id && walkers.count(QByteArray(row.id)))
            row.run = [this, run = std::move(row.run)] {
                quickFilter_->clear();
                run();
            };
    }
    return rows;
}

void TMain::buildCommands()
{
    commands_ = new CommandTable(commandRows(), this);
    commands_->buildMenus();
    commands_->buildSpeedButtons(SpeedPanel);
    letteredButtons_ = commands_->buildLetteredButtons(client_);

    QMenu *file = commands_->menu("MenuFile");
    file->setToolTipsVisible(true); // the last files' full paths
    for (int k = 0; k < kLastFileCount; ++k)
        MenuLastFile[size_t(k)] = commands_->action(kLastFileNames[k]);
    MenuExitSep = file->insertSeparator(MenuLastFile[0]);
    MenuExitSep->setObjectName(QStringLiteral("MenuExitSep"));
    const char *const sizes[4] = {"N640x480", "N800x600", "N1024x768", "N1280x1024"};
    for (size_t i = 0; i < 4; ++i)
        screenSizeItems_[i] = commands_->action(sizes[i]);
    const char *const access[3] = {"MenuSpeedButtons", "MenuLetteredButtons", "MenuNoButtons"};
    for (size_t i = 0; i < 3; ++i)
        buttonBarItems_[i] = commands_->action(access[i]);
    currencyItems_ = {commands_->action("MenuCurrencyUS"), commands_->action("MenuCurrencyWindows")};
    numericItems_ = {commands_->action("MenuNumericUS"), commands_->action("MenuNumericWindows")};
    for (int i = 0; i < kDateChoiceCount; ++i)
        dateItems_[size_t(i)] = commands_->action(kDateItemNames[i]);
    leadingZerosItem_ = commands_->action("MenuDateLeadingZeros");
    followUndoHistory(*commands_, ws_, [this] { refreshCommandStates(); });
}

} // namespace kv
