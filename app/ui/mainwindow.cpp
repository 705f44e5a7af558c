// The main window's life cycle: its controls and their layout in the three button bar
// modes, start-up, activation and close. Its commands are in maincommands.cpp, their
// table in mainmenus.cpp.
#include "app/ui/mainwindow.h"

#include "app/display/displayoptions.h"
#include "app/display/screensize.h"
#include "app/style/windowstyle.h"
#include "app/ui/commandtable.h"
#include "app/ui/quickfilterbar.h"
#include "app/ui/keyboardbar.h"
#include "app/ui/navigator.h"
#include "app/ui/viewergrid.h"
#include "app/workspace/lifecycle.h"
#include "base/dateformat.h"
#include "base/paths.h"
#include "edit/ui/myedit.h"
#include "help/help.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace kv {

namespace {

constexpr int kSpeedPanelHeight = 31;
constexpr char kHelpKeyword[] = "Main Window";

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
    buildCommands();
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
    connect(ViewerGrid_, &ViewerGrid::editRequested, this, [this] { commands_->run("MenuEdit"); });
    quickFilter_ = new QuickFilterBar(ws_, this, client_);

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
    quickFilter_->placeBeside(ViewerLabel, CountLabel->geometry().right() + 10);
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
