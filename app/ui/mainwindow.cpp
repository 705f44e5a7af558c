#include "app/ui/mainwindow.h"

#include "app/display/displayoptions.h"
#include "app/display/screensize.h"
#include "app/workspace/lifecycle.h"
#include "app/workspace/records.h"
#include "base/dateformat.h"
#include "base/paths.h"
#include "app/ui/colorconfigdialog.h"
#include "app/ui/navigator.h"
#include "app/ui/sortorderdialog.h"
#include "app/ui/speedicons.h"
#include "app/ui/undoactions.h"
#include "app/ui/viewconfigdialog.h"
#include "app/ui/viewergrid.h"
#include "app/ui/keyboardbar.h"
#include "app/ui/windowstyle.h"
#include "edit/ui/myedit.h"
#include "edit/ui/myeditbox.h"
#include "exchange/ui/importformat.h"
#include "exchange/ui/myexport.h"
#include "exchange/ui/backupwindow.h"
#include "exchange/ui/restorewindow.h"
#include "reports/ui/myreport.h"
#include "help/help.h"
#include "search/ui/mylocatedlg.h"
#include "search/ui/mysearch.h"
#include "search/ui/searchandreplace.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace kv {

namespace {

constexpr int kSpeedPanelHeight = 31;
constexpr char kHelpKeyword[] = "Main Window";
const char *const kDateItemNames[12] = {"MenuDateMDYSlash",   "MenuDateMDYDash",   "MenuDateMDYDot",
                                        "MenuDateDMYSlash",   "MenuDateDMYDash",   "MenuDateDMYDot",
                                        "MenuDateMDYSlashYr", "MenuDateMDYDashYr", "MenuDateMDYDotYr",
                                        "MenuDateDMYSlashYr", "MenuDateDMYDashYr", "MenuDateDMYDotYr"};

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame *makeBevel(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setLineWidth(1);
    return frame;
}

void placeTop(QWidget *w, int top) { w->move(w->x(), top); }

} // namespace

TMain::TMain(Workspace &workspace, const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent)
    , ws_(workspace)
    , catalogues_(workspace)
    , settings_(workspace.settings())
    , tipWindow_(&showTipOfTheDay)
{
    setObjectName(QStringLiteral("Main"));
    setWindowIcon(applicationIcon());
    setHelpKeyword(this, QLatin1String(kHelpKeyword));
    buildControls();
    buildMenus();
    buildSpeedButtons();
    buildLetteredButtons();
    buildKeyboardAccess();
    connectWorkspace();
    FormCreate(arguments);
}

TMain::~TMain() = default;

// ---------------------------------------------------------------- controls

void TMain::buildControls()
{
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("Client"));
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    ViewerBevel = makeBevel(client_, "ViewerBevel");
    ViewerLabel = makeLabel(client_, "ViewerLabel", QString());
    QFont heading = ViewerLabel->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    heading.setBold(true);
    ViewerLabel->setFont(heading);
    markTitle(ViewerLabel, TitleKind::Major);

    CountLabel = makeLabel(client_, "CountLabel", QStringLiteral("0"));
    Count2Label = makeLabel(client_, "Count2Label", QStringLiteral("Videos"));
    for (QLabel *l : {CountLabel, Count2Label}) {
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(12, 0, 70, 15);
    }
    QFont bold = CountLabel->font();
    bold.setBold(true);
    CountLabel->setFont(bold);

    SearchOnLabel = makeLabel(client_, "SearchOnLabel", QStringLiteral("SEARCH ON"));
    SearchOnLabel->setFont(bold);
    SearchOnLabel->setProperty(kMarkColorProperty, QStringLiteral("#c00000"));
    SearchOnLabel->resize(90, 16);
    SearchOnLabel->hide();

    NavigatorLabel = makeLabel(client_, "NavigatorLabel", QStringLiteral("Navigation Controls"));
    NavigatorLabel->setAlignment(Qt::AlignCenter);
    NavigatorLabel->setGeometry(400, 20, 221, 20);
    markTitle(NavigatorLabel, TitleKind::Minor);

    ViewerGrid_ = new ViewerGrid(ws_, client_);
    ViewerGrid_->setTable(&ws_.master());
    connect(ViewerGrid_, &ViewerGrid::editRequested, this, [this] { run(Cmd::Edit); });

    MyNavigator = new RecordNavigator(ws_, client_);
    MyNavigator->setObjectName(QStringLiteral("MyNavigator"));
    MyNavigator->setTable(&ws_.master());
    connect(MyNavigator, &RecordNavigator::clicked, this, &TMain::DisplayCount);
    // An insert or edit the navigator starts, or a cancel, changes what the grid shows.
    connect(MyNavigator, &RecordNavigator::clicked, ViewerGrid_, &ViewerGrid::syncWithTable);

    SpeedPanel = new QFrame(client_);
    SpeedPanel->setObjectName(QStringLiteral("SpeedPanel"));
    SpeedPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SpeedPanel->setGeometry(0, 0, 640, kSpeedPanelHeight);

    bevels_ = {makeBevel(client_, "Bevel1"), makeBevel(client_, "Bevel2"), makeBevel(client_, "Bevel3"),
               makeBevel(client_, "Bevel4")};
    bevels_[0]->setGeometry(4, 4, 390, 78);
    bevels_[1]->setGeometry(8, 8, 158, 70);
    bevels_[2]->setGeometry(170, 8, 82, 70);
    bevels_[3]->setGeometry(256, 8, 134, 70);
    MyNavigator->raise();
}

void TMain::connectWorkspace()
{
    connect(&ws_, &Workspace::captionChanged, this, &QWidget::setWindowTitle);
    connect(&ws_, &Workspace::viewerChanged, this, &TMain::SetViewerOptions);
    connect(&ws_, &Workspace::catalogueOpened, this, &TMain::DoFileSpecific);
    connect(&ws_, &Workspace::lastFilesChanged, this, &TMain::SetMenuLastFiles);
    connect(&ws_, &Workspace::countChanged, this, &TMain::DisplayCount);
    connect(&ws_, &Workspace::searchChanged, this, [this](bool on) { on ? EnableEndSearch() : DisableEndSearch(); });
}

QAction *TMain::addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                        std::function<void()> run)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

QAction *TMain::addCommandItem(QMenu *menu, Cmd cmd, const char *name, const QString &caption,
                               const QKeySequence &shortcut)
{
    QAction *action = addItem(menu, name, caption, shortcut, [this, cmd] { run(cmd); });
    commands_[cmd].menu = action;
    return action;
}

void TMain::buildMenus()
{
    for (Cmd c : {Cmd::Add, Cmd::Copy, Cmd::Delete, Cmd::Backup, Cmd::Restore, Cmd::Viewer, Cmd::Import,
                  Cmd::ListMaintenance, Cmd::SearchReplace})
        commands_[c].changesData = true;

    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    addCommandItem(file, Cmd::New, "MenuNew", QStringLiteral("&New Database"), QKeySequence(Qt::CTRL | Qt::Key_W));
    addCommandItem(file, Cmd::Open, "MenuOpen", QStringLiteral("&Open Database"), QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommandItem(file, Cmd::UpdateDatabase, "MenuUpdateDatabase", QStringLiteral("&Update Database"),
                   QKeySequence(Qt::CTRL | Qt::Key_Z));
    file->addSeparator();
    addCommandItem(file, Cmd::Backup, "MenuBackup", QStringLiteral("&Back Up Data"), QKeySequence(Qt::CTRL | Qt::Key_B));
    addCommandItem(file, Cmd::Restore, "MenuRestore", QStringLiteral("&Restore Data"),
                   QKeySequence(Qt::CTRL | Qt::Key_Y));
    file->addSeparator();
    addCommandItem(file, Cmd::Print, "MenuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    addCommandItem(file, Cmd::Exit, "MenuExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));
    file->setToolTipsVisible(true); // the last files' full paths
    MenuExitSep = file->addSeparator();
    MenuExitSep->setObjectName(QStringLiteral("MenuExitSep"));
    for (int k = 0; k < kLastFileCount; ++k) {
        const QByteArray name = "MenuLastFile" + QByteArray::number(k + 1);
        MenuLastFile[size_t(k)] = addItem(file, name.constData(), QStringLiteral("&%1").arg(k + 1), QKeySequence(),
                                          [this, k] { OpenSaveFile(settings_.lastFiles[size_t(k)]); });
    }

    QMenu *records = bar->addMenu(QStringLiteral("Rec&ords"));
    records->setObjectName(QStringLiteral("MenuRecords"));
    addCommandItem(records, Cmd::Add, "MenuAdd", QStringLiteral("&Add"), QKeySequence(Qt::CTRL | Qt::Key_A));
    addCommandItem(records, Cmd::Edit, "MenuEdit", QStringLiteral("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E));
    addCommandItem(records, Cmd::Copy, "MenuCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addCommandItem(records, Cmd::Delete, "MenuDelete", QStringLiteral("&Delete"), QKeySequence(Qt::CTRL | Qt::Key_D));
    records->addSeparator();
    addCommandItem(records, Cmd::Import, "MenuImport", QStringLiteral("&Import"), QKeySequence(Qt::CTRL | Qt::Key_M));
    addCommandItem(records, Cmd::Export, "MenuExport", QStringLiteral("E&xport"), QKeySequence(Qt::CTRL | Qt::Key_T));
    records->addSeparator();
    addUndoActions(records, ws_);

    QMenu *navigate = bar->addMenu(QStringLiteral("&Navigate"));
    navigate->setObjectName(QStringLiteral("MenuNavigate"));
    addCommandItem(navigate, Cmd::Search, "MenuSearch", QStringLiteral("&Search (Query)"),
                   QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommandItem(navigate, Cmd::EndSearch, "MenuEndSearch", QStringLiteral("&End Search"),
                   QKeySequence(Qt::CTRL | Qt::Key_I));
    navigate->addSeparator();
    addCommandItem(navigate, Cmd::Locate, "MenuLocate", QStringLiteral("&Locate"), QKeySequence(Qt::CTRL | Qt::Key_L));
    addCommandItem(navigate, Cmd::LocateNext, "MenuLocateNext", QStringLiteral("Locate &Next"),
                   QKeySequence(Qt::CTRL | Qt::Key_N));

    QAction *reports = bar->addAction(QStringLiteral("&Reports"));
    reports->setObjectName(QStringLiteral("MenuReports"));
    reports->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(reports, &QAction::triggered, this, [this] { run(Cmd::Reports); });
    commands_[Cmd::Reports].menu = reports;
    QAction *viewer = bar->addAction(QStringLiteral("&Viewer"));
    viewer->setObjectName(QStringLiteral("MenuViewer"));
    viewer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(viewer, &QAction::triggered, this, [this] { run(Cmd::Viewer); });
    commands_[Cmd::Viewer].menu = viewer;
    // Menu-bar actions only fire their shortcuts when the window owns them too.
    addAction(reports);
    addAction(viewer);

    QMenu *options = bar->addMenu(QStringLiteral("O&ptions"));
    options->setObjectName(QStringLiteral("MenuOptions"));
    addCommandItem(options, Cmd::SortOrder, "MenuSortOrder", QStringLiteral("Sort &Order"),
                   QKeySequence(Qt::CTRL | Qt::Key_Q));
    options->addSeparator();

    QMenu *screen = options->addMenu(QStringLiteral("Screen Si&ze"));
    screen->setObjectName(QStringLiteral("MenuScreenSize"));
    const struct {
        const char *name;
        const char *caption;
        int mode;
        Qt::Key key;
    } sizes[] = {{"N640x480", "640 x 480", 640, Qt::Key_F1},
                 {"N800x600", "800 x 600", 800, Qt::Key_F2},
                 {"N1024x768", "1024 x 768", 1024, Qt::Key_F3},
                 {"N1280x1024", "1280 x 1024", 1280, Qt::Key_F4}};
    for (size_t i = 0; i < 4; ++i) {
        const int mode = sizes[i].mode;
        screenSizeItems_[i] = addItem(screen, sizes[i].name, QString::fromLatin1(sizes[i].caption),
                                      QKeySequence(Qt::SHIFT | sizes[i].key), [this, mode] {
                                          chooseScreenSize(settings_, ws_.prompt(), mode, primaryScreenSize());
                                          checkScreenSizeMenu();
                                      });
        screenSizeItems_[i]->setCheckable(true);
    }

    QMenu *access = options->addMenu(QStringLiteral("Screen &Access"));
    access->setObjectName(QStringLiteral("MenuScreenAccess"));
    const char *const accessNames[3] = {"MenuSpeedButtons", "MenuLetteredButtons", "MenuNoButtons"};
    const char *const accessCaptions[3] = {"&Speed Buttons", "&Lettered Buttons", "&None"};
    const Qt::Key accessKeys[3] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3};
    for (int i = 0; i < 3; ++i) {
        buttonBarItems_[size_t(i)] = addItem(access, accessNames[i], QString::fromLatin1(accessCaptions[i]),
                                             QKeySequence(Qt::CTRL | accessKeys[i]),
                                             [this, i] { setButtonBarMode(i + 1); });
        buttonBarItems_[size_t(i)]->setCheckable(true);
    }

    QMenu *color = options->addMenu(QStringLiteral("&Color"));
    color->setObjectName(QStringLiteral("MenuColor"));
    const struct {
        const char *name;
        const char *caption;
        Qt::Key key;
        ColorTarget target;
    } colors[] = {{"MenuMainColor", "&Main Window Color", Qt::Key_F4, ColorTarget::Main},
                  {"MenuEditColor", "&Edit Window Color", Qt::Key_F5, ColorTarget::Edit},
                  {"MenuSearchColor", "&Search Window Color", Qt::Key_F6, ColorTarget::Search},
                  {"MenuReportColor", "&Report Window Color", Qt::Key_F7, ColorTarget::Report},
                  {"MenuConfigureColor", "&Configure Window Color", Qt::Key_F8, ColorTarget::Configure}};
    for (const auto &c : colors) {
        const ColorTarget target = c.target;
        addItem(color, c.name, QString::fromLatin1(c.caption), QKeySequence(Qt::CTRL | c.key),
                [this, target] { DoColor(target); });
    }
    // All windows is the command the speed button "Color Setup" runs too.
    addCommandItem(color, Cmd::ColorSetup, "MenuAllColor", QStringLiteral("&ALL Windows Color"),
                   QKeySequence(Qt::CTRL | Qt::Key_F9));

    QMenu *lists = options->addMenu(QStringLiteral("List &Maintenance"));
    lists->setObjectName(QStringLiteral("ListMaintenanceMenu"));
    lists->menuAction()->setObjectName(QStringLiteral("MenuListMaintenance"));
    commands_[Cmd::ListMaintenance].menu = lists->menuAction();
    addItem(lists, "MenuSaveDefaults", QStringLiteral("Sa&ve As Defaults"), QKeySequence(),
            [this] { MenuSaveDefaultsClick(); });
    addItem(lists, "MenuLoadDefaults", QStringLiteral("Lo&ad In Defaults"), QKeySequence(),
            [this] { MenuLoadDefaultsClick(); });
    lists->addSeparator();
    const struct {
        const char *name;
        const char *caption;
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
    for (const auto &item : listItems) {
        const int n = item.list;
        addItem(lists, item.name, QString::fromLatin1(item.caption), QKeySequence(),
                [this, n] { isCatalogueList(n) ? EditAList(n) : EditSpecList(n); });
    }

    options->addSeparator();
    QMenu *currency = options->addMenu(QStringLiteral("C&urrency Format"));
    currency->setObjectName(QStringLiteral("MenuCurrencyFormat"));
    currencyItems_[0] = addItem(currency, "MenuCurrencyUS", QStringLiteral("&U.S. Dollars"), QKeySequence(),
                                [this] { chooseCurrencyFormat(settings_, 1), checkFormatMenus(); });
    currencyItems_[1] = addItem(currency, "MenuCurrencyWindows", QStringLiteral("&Windows Setting"), QKeySequence(),
                                [this] { chooseCurrencyFormat(settings_, 2), checkFormatMenus(); });
    QMenu *numeric = options->addMenu(QStringLiteral("&Numeric Format"));
    numeric->setObjectName(QStringLiteral("MenuNumericFormat"));
    numericItems_[0] = addItem(numeric, "MenuNumericUS", QStringLiteral("&U.S. Format"), QKeySequence(),
                               [this] { chooseNumericFormat(settings_, 1), checkFormatMenus(); });
    numericItems_[1] = addItem(numeric, "MenuNumericWindows", QStringLiteral("&Windows Setting"), QKeySequence(),
                               [this] { chooseNumericFormat(settings_, 2), checkFormatMenus(); });
    for (QAction *a : {currencyItems_[0], currencyItems_[1], numericItems_[0], numericItems_[1]})
        a->setCheckable(true);

    QMenu *date = options->addMenu(QStringLiteral("&Date Format"));
    date->setObjectName(QStringLiteral("MenuDateFormat"));
    for (int choice = 1; choice <= kDateChoiceCount; ++choice) {
        QAction *a = addItem(date, kDateItemNames[choice - 1], QString::fromLatin1(dateChoice(choice)->caption),
                             QKeySequence(), [this, choice] {
                                 if (chooseDateFormat(settings_, choice))
                                     ws_.master().refresh();
                                 checkFormatMenus();
                             });
        a->setCheckable(true);
        dateItems_[size_t(choice - 1)] = a;
    }
    date->addSeparator();
    leadingZerosItem_ = addItem(date, "MenuDateLeadingZeros", QStringLiteral("&Leading Zeros"), QKeySequence(),
                                [this] {
                                    toggleLeadingZeros(settings_);
                                    checkFormatMenus();
                                    ws_.master().refresh();
                                });
    leadingZerosItem_->setCheckable(true);

    options->addSeparator();
    addItem(options, "MenuLabelFont", QStringLiteral("&Label Font"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
            [this] { chooseUserFont(FontRole::Label, QStringLiteral("Label Font")); });
    addItem(options, "MenuEditFont", QStringLiteral("&Edit Font"), QKeySequence(Qt::SHIFT | Qt::Key_F9),
            [this] { chooseUserFont(FontRole::Edit, QStringLiteral("Edit Font")); });
    addItem(options, "MenuButtonFont", QStringLiteral("&Button Font"), QKeySequence(Qt::SHIFT | Qt::Key_F10),
            [this] { chooseUserFont(FontRole::Button, QStringLiteral("Button Font")); });

    QMenu *tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("MenuTools"));
    addCommandItem(tools, Cmd::SearchReplace, "MenuSearchReplace", QStringLiteral("&Search and Replace"),
                   QKeySequence(Qt::CTRL | Qt::Key_F));
    addCommandItem(tools, Cmd::Rebuild, "MenuRebuild", QStringLiteral("&Rebuild Indexes"), QKeySequence());
    addCommandItem(tools, Cmd::Pack, "MenuPack", QStringLiteral("&Pack Database"), QKeySequence());

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    addCommandItem(help, Cmd::Help, "MenuContents", QStringLiteral("&Contents"), QKeySequence(Qt::CTRL | Qt::Key_H));
    addCommandItem(help, Cmd::Tips, "MenuTips", QStringLiteral("&Review \"Tips of the Day\""), QKeySequence());
    addCommandItem(help, Cmd::About, "MenuAbout", QStringLiteral("&About"), QKeySequence());
}

void TMain::buildSpeedButtons()
{
    const struct {
        Cmd cmd;
        SpeedIcon icon;
        const char *name;
        const char *hint;
        bool gapBefore;
    } buttons[] = {
        {Cmd::New, SpeedIcon::NewDatabase, "SpeedNew", "New Database", false},
        {Cmd::Open, SpeedIcon::OpenDatabase, "SpeedOpen", "Open Database", false},
        {Cmd::Add, SpeedIcon::AddRecord, "SpeedAdd", "Add Record", true},
        {Cmd::Edit, SpeedIcon::EditRecord, "SpeedEdit", "Edit Record", false},
        {Cmd::Copy, SpeedIcon::CopyRecord, "SpeedCopy", "Copy Record", false},
        {Cmd::Delete, SpeedIcon::DeleteRecord, "SpeedDelete", "Delete Record", false},
        {Cmd::Import, SpeedIcon::ImportRecords, "SpeedImport", "Import Records", true},
        {Cmd::Export, SpeedIcon::ExportRecords, "SpeedExport", "Export Records", false},
        {Cmd::Search, SpeedIcon::SearchRecords, "SpeedSearch", "Search Records", true},
        {Cmd::EndSearch, SpeedIcon::EndSearch, "SpeedEndSearch", "End Search", false},
        {Cmd::Locate, SpeedIcon::LocateRecord, "SpeedLocate", "Locate Record", false},
        {Cmd::LocateNext, SpeedIcon::LocateNextRecord, "SpeedLocateNext", "Locate Next Record", false},
        {Cmd::Reports, SpeedIcon::Reports, "SpeedReports", "Reports", true},
        {Cmd::Viewer, SpeedIcon::ViewerConfiguration, "SpeedViewer", "Viewer Configuration", false},
        {Cmd::SortOrder, SpeedIcon::SortOrder, "SpeedSortOrder", "Set Sorting Order", true},
        {Cmd::ColorSetup, SpeedIcon::ColorSetup, "SpeedColor", "Color Setup", false},
        {Cmd::Help, SpeedIcon::Help, "SpeedHelp", "Help", true},
    };
    int x = 4;
    for (const auto &b : buttons) {
        if (b.gapBefore)
            x += 4;
        auto *button = new QToolButton(SpeedPanel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setIcon(speedIcon(b.icon));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setGeometry(x, 4, 23, 23);
        button->setFocusPolicy(Qt::NoFocus);
        x += 23;
        const Cmd cmd = b.cmd;
        connect(button, &QToolButton::clicked, this, [this, cmd] { run(cmd); });
        commands_[cmd].speed = button;
    }
}

// The speed buttons and the navigator are tool bars the keyboard reaches: F10 goes to the
// speed buttons (to the navigator when they are not shown), Ctrl+Tab from the grid to the
// speed buttons, the navigator and back; the arrows move along a bar.
void TMain::buildKeyboardAccess()
{
    ViewerLabel->setBuddy(ViewerGrid_); // the grid's name for screen readers
    makeKeyboardBar(SpeedPanel, QStringLiteral("Speed Buttons"));
    makeKeyboardBar(MyNavigator, QStringLiteral("Navigation Controls"));
    const auto enterBar = [](QWidget *bar) {
        QAbstractButton *button = firstBarButton(bar);
        if (button)
            button->setFocus(Qt::TabFocusReason);
        return button != nullptr;
    };
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this, enterBar] { enterBar(SpeedPanel) || enterBar(MyNavigator); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this, [this, enterBar] {
        QWidget *const places[] = {ViewerGrid_, SpeedPanel, MyNavigator};
        const QWidget *focus = QApplication::focusWidget();
        int at = 0;
        for (int i = 0; i < 3; ++i)
            if (focus && (focus == places[i] || places[i]->isAncestorOf(focus)))
                at = i;
        for (int step = 1; step <= 3; ++step) {
            QWidget *place = places[(at + step) % 3];
            if (place == ViewerGrid_) {
                ViewerGrid_->setFocus(Qt::TabFocusReason);
                return;
            }
            if (enterBar(place))
                return;
        }
    });
}

void TMain::buildLetteredButtons()
{
    const struct {
        Cmd cmd;
        const char *name;
        const char *caption;
        QRect geometry;
    } buttons[] = {
        {Cmd::Add, "AddButton", "&Add", {12, 12, 75, 26}},
        {Cmd::Edit, "EditButton", "&Edit", {88, 12, 75, 26}},
        {Cmd::Copy, "CopyButton", "&Copy", {12, 46, 75, 26}},
        {Cmd::Delete, "DeleteButton", "&Delete", {88, 46, 75, 26}},
        {Cmd::Search, "SearchButton", "&Search", {174, 12, 74, 26}},
        {Cmd::EndSearch, "EndSearchButton", "E&nd Srch", {174, 46, 74, 26}},
        {Cmd::Reports, "ReportButton", "&Reports", {260, 12, 63, 26}},
        {Cmd::Viewer, "ViewerButton", "&Viewer", {324, 12, 63, 26}},
        {Cmd::Help, "HelpButton", "He&lp", {260, 46, 63, 26}},
        {Cmd::Exit, "ButtonExit", "E&xit", {324, 46, 63, 26}},
    };
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), client_);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.geometry);
        const Cmd cmd = b.cmd;
        connect(button, &QPushButton::clicked, this, [this, cmd] { run(cmd); });
        commands_[cmd].lettered = button;
        letteredButtons_.push_back(button);
    }
}

// ---------------------------------------------------------------- commands

bool TMain::commandEnabled(Cmd cmd) const
{
    const auto it = commands_.find(cmd);
    if (it == commands_.end())
        return true;
    const Command &c = it->second;
    if (cmd == Cmd::EndSearch && !ws_.search().isOn())
        return false;
    return !(ws_.browseOnly() && c.changesData);
}

void TMain::refreshCommandStates()
{
    for (auto &[cmd, c] : commands_) {
        const bool on = commandEnabled(cmd);
        if (c.menu) {
            c.menu->setEnabled(on);
            c.menu->setProperty("kvBrowseLocked", ws_.browseOnly() && c.changesData);
        }
        if (c.speed) {
            c.speed->setEnabled(on);
            c.speed->setProperty("kvBrowseLocked", ws_.browseOnly() && c.changesData);
        }
        if (c.lettered) {
            // Lettered buttons are only usable while they are the button bar.
            c.lettered->setEnabled(on && buttonBarMode(settings_.buttonBar) == ButtonBarMode::LetteredButtons);
            c.lettered->setProperty("kvBrowseLocked", ws_.browseOnly() && c.changesData);
        }
    }
}

void TMain::run(Cmd cmd)
{
    if (!commandEnabled(cmd))
        return;
    switch (cmd) {
    case Cmd::New: DoNew(); break;
    case Cmd::Open: DoOpen(); break;
    case Cmd::UpdateDatabase: DoUpdateDatabase(); break;
    case Cmd::Backup: DoBackup(); break;
    case Cmd::Restore: DoRestore(); break;
    case Cmd::Exit: DoExit(); break;
    case Cmd::Add: DoAdd(); break;
    case Cmd::Edit: DoEdit(); break;
    case Cmd::Copy: DoCopy(); break;
    case Cmd::Delete: DoDelete(); break;
    case Cmd::Import: DoImport(); break;
    case Cmd::Export: DoExport(); break;
    case Cmd::SortOrder: DoSortOrder(); break;
    case Cmd::Viewer: DoViewer(); break;
    case Cmd::Search: DoSearch(); break;
    case Cmd::EndSearch: DoEndSearch(); break;
    case Cmd::Locate: DoFind(); break;
    case Cmd::LocateNext: DoFindNext(); break;
    case Cmd::SearchReplace: DoSearchReplace(); break;
    case Cmd::ColorSetup: DoColor(ColorTarget::AllWindows); break;
    case Cmd::Rebuild: DoRebuild(); break;
    case Cmd::Pack: DoPack(); break;
    case Cmd::Help: DoHelp(); break;
    case Cmd::Tips: DoTips(); break;
    case Cmd::About: DoAbout(); break;
    case Cmd::Print:
    case Cmd::Reports: DoReports(); break;
    default: break; // the windows of the other commands come with later versions
    }
}

void TMain::DoNew() { catalogues_.doNew(); }
void TMain::DoOpen() { catalogues_.doOpen(); }
void TMain::OpenSaveFile(const QString &path) { catalogues_.openSaveFile(path); }
void TMain::DoUpdateDatabase() { catalogues_.updateDatabase(); }
void TMain::DoDelete() { deleteCurrentRecord(ws_, ws_.master()); }

void TMain::DoBackup()
{
    TMyBackup dialog(ws_, this);
    dialog.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
    dialog.exec();
}

void TMain::DoRestore()
{
    TMyRestore dialog(ws_, this);
    dialog.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
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
    dialog.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
    dialog.setImportStyler([this](QWidget *window) {
        styleWindow(window, WindowFamily::Configure, settings_, Placement::CentredRaised);
    });
    dialog.exec();
    DisplayCount();
}

void TMain::DoExport()
{
    TMyExport dialog(ws_, this);
    dialog.setStyler([this](QWidget *window) {
        styleWindow(window, WindowFamily::Configure, settings_, Placement::CentredRaised);
    });
    dialog.exec();
    DisplayCount();
}

void TMain::DoReports()
{
    TMyReport dialog(ws_, [this](QWidget *window) { styleWindow(window, WindowFamily::Report, settings_); }, this);
    dialog.exec();
    DisplayCount();
}

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
    dialog.setStyler([this](QWidget *window, bool raised) {
        styleWindow(window, WindowFamily::Search, settings_, raised ? Placement::CentredRaised : Placement::Centred);
    });
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
    dialog.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
    return dialog.Execute();
}

bool TMain::DoFindNext()
{
    return findNext(ws_.master(), ws_.locate(), ws_.prompt(), [this] { return DoFind(); });
}

void TMain::DoSearchReplace()
{
    TSearchAndReplace dialog(ws_, this);
    dialog.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
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
    editor.setStyler([this](QWidget *window) { styleWindow(window, WindowFamily::Configure, settings_); });
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

void TMain::DisplayCount()
{
    CountLabel->setText(QString::number(ws_.recordCount()));
    MyNavigator->updateButtons();
}

void TMain::SetViewerOptions()
{
    ViewerGrid_->setTable(&ws_.master());
    ViewerGrid_->setViewerOptions(settings_);
}

void TMain::SetButtonBar()
{
    const ButtonBarMode mode = buttonBarMode(settings_.buttonBar);
    for (int i = 0; i < 3; ++i)
        buttonBarItems_[size_t(i)]->setChecked(i + 1 == int(mode));
    const MainLayout l = mainLayout(mode, client_->width(), client_->height());
    SpeedPanel->setVisible(l.speedPanel);
    SpeedPanel->setEnabled(l.speedPanel);
    for (QFrame *bevel : bevels_)
        bevel->setVisible(l.letteredButtons);
    for (QPushButton *b : letteredButtons_)
        b->setVisible(l.letteredButtons);
    NavigatorLabel->setVisible(l.navigatorLabel);
    placeTop(NavigatorLabel, l.navigatorLabelTop);
    MyNavigator->setGeometry(l.navigator.left(), l.navigator.top(), l.navigator.width(), 25);
    placeTop(SearchOnLabel, l.searchOnLabelTop);
    placeTop(CountLabel, l.countLabelTop);
    placeTop(Count2Label, l.count2LabelTop);
    refreshCommandStates();
    FormResize();
}

void TMain::FormResize()
{
    const int w = client_->width(), h = client_->height();
    const MainLayout l = mainLayout(buttonBarMode(settings_.buttonBar), w, h);
    ViewerBevel->setGeometry(3, l.viewerBevelTop, l.viewerBevelWidth, l.viewerBevelHeight);
    ViewerLabel->adjustSize();
    ViewerLabel->move(centredLeft(w, ViewerLabel->width()), l.viewerLabelTop);
    ViewerGrid_->setGeometry(7, l.viewerGridTop, l.viewerGridWidth, l.viewerGridHeight);
    // In mode 3 it follows the right edge; in every mode it narrows to stay inside.
    MyNavigator->setGeometry(l.navigator.left(), MyNavigator->y(), l.navigator.width(), MyNavigator->height());
    SpeedPanel->resize(w, kSpeedPanelHeight);
    SearchOnLabel->move(w - SearchOnLabel->width() - 12, SearchOnLabel->y());
}

void TMain::setButtonBarMode(int mode)
{
    settings_.buttonBar = mode;
    SetButtonBar();
}

void TMain::SetMenuLastFiles()
{
    bool any = false;
    for (const QString &path : settings_.lastFiles)
        any = any || !path.isEmpty();
    MenuExitSep->setVisible(any);
    for (int k = 0; k < kLastFileCount; ++k) {
        const QString &path = settings_.lastFiles[size_t(k)];
        QAction *item = MenuLastFile[size_t(k)];
        item->setVisible(any && !path.isEmpty());
        if (!path.isEmpty()) {
            item->setText(lastFileCaption(k + 1, path));
            item->setToolTip(QDir::toNativeSeparators(path));
        }
    }
}

void TMain::applyMainLook()
{
    styleWindow(client_, WindowFamily::Main, settings_);
    FormResize(); // the heading takes the room of its new font
}

void TMain::DoFileSpecific()
{
    applyMainLook();
    SetViewerOptions();
    DisplayCount();
}

// ---------------------------------------------------------------- formats and looks

void TMain::checkFormatMenus()
{
    for (int i = 0; i < kDateChoiceCount; ++i)
        dateItems_[size_t(i)]->setChecked(settings_.dateFormat == i + 1);
    leadingZerosItem_->setChecked(settings_.dateLeadingZeros);
    for (int i = 0; i < 2; ++i) {
        currencyItems_[size_t(i)]->setChecked(settings_.currencyFormat == i + 1);
        numericItems_[size_t(i)]->setChecked(settings_.numericFormat == i + 1);
    }
}

void TMain::chooseUserFont(FontRole role, const QString &title)
{
    if (chooseFont(settings_, ws_.prompt(), role, title))
        applyMainLook();
}

void TMain::checkScreenSizeMenu()
{
    for (size_t i = 0; i < 4; ++i)
        screenSizeItems_[i]->setChecked(kWindowSizeModes[i] == settings_.windowSize);
}

// ---------------------------------------------------------------- life cycle

void TMain::FormCreate(const QStringList &arguments)
{
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    ViewerLabel->setText(QStringLiteral("Video Viewer"));
    started_ = startProgram(ws_, catalogues_, arguments, primaryScreenSize());
    if (!started_)
        return;
    editWindow_ = new TMyEdit(ws_, this);
    editWindow_->setStyler([this](QWidget *window) {
        styleWindow(window, WindowFamily::Edit, settings_, Placement::CentredRaised);
    });
    // The Oscar dialog takes the user fonts, the screen size and the middle of the
    // screen, and keeps its own colours.
    editWindow_->setOscarStyler([this](QWidget *window) {
        applyUserFonts(window, settings_);
        scaleWindow(window, screenFactor(settings_.windowSize));
        centreOnScreen(window);
    });
    move(settings_.mainWindowLeft, settings_.mainWindowTop);
    resize(settings_.mainWindowWidth, settings_.mainWindowHeight);
    checkFormatMenus();
    SetButtonBar();
    checkScreenSizeMenu();
    SetMenuLastFiles();
    if (ws_.browseOnly())
        MyNavigator->setVisibleButtons(4);
    refreshCommandStates();
    DisplayCount();
}

void TMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && started_) {
        DoFileSpecific();
        // A desktop without a window manager never activates the window; the first
        // showing then stands in for the first activation.
        QTimer::singleShot(0, this, [this] {
            if (!activatedOnce_)
                FormActivate();
        });
    }
}

void TMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMain::FormActivate()
{
    MyNavigator->setTable(&ws_.master());
    if (activatedOnce_)
        return;
    activatedOnce_ = true;
    if (settings_.showTips)
        DoTips();
}

void TMain::closeEvent(QCloseEvent *event)
{
    closeProgram(ws_, catalogues_, QRect(x(), y(), width(), height()), started_);
    event->accept();
}

bool TMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kv
