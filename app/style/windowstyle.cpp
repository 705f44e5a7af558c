#include "app/style/windowstyle.h"

#include "app/display/contrast.h"
#include "app/display/screensize.h"
#include "app/style/textfit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVariant>
#include <cmath>
#include <utility>
#include <vector>

namespace kv {

namespace {

// The factor a window was last scaled to.
const char kScaleProperty[] = "kvScaleFactor";
// How much higher a raised dialog stands than the middle of the screen.
constexpr int kRaise = 10;

// What a widget is to the fonts and colours of its window.
enum class Control {
    Container,   // plain parts that hold controls: walked into
    Opaque,      // something else, with insides of its own: left alone
    Label,
    GroupBox,    // styled, and walked into
    ListBox,
    CheckBox,
    RadioButton,
    EditBox,
    StringGrid,
    ComboBox,
    Button,
};

template <typename T> bool is(QWidget *w) { return qobject_cast<T *>(w) != nullptr; }

Control controlOf(QWidget *w)
{
    if (is<QGroupBox>(w))
        return Control::GroupBox;
    if (is<QLabel>(w))
        return Control::Label;
    if (is<QListView>(w))
        return Control::ListBox;
    if (is<QCheckBox>(w))
        return Control::CheckBox;
    if (is<QRadioButton>(w))
        return Control::RadioButton;
    if (is<QComboBox>(w))
        return Control::ComboBox;
    if (is<QTableWidget>(w))
        return Control::StringGrid;
    if (is<QTextBrowser>(w)) // a page to read, not a box to type in
        return Control::Opaque;
    if (is<QLineEdit>(w) || is<QAbstractSpinBox>(w) || is<QTextEdit>(w) || is<QPlainTextEdit>(w))
        return Control::EditBox;
    if (is<QPushButton>(w))
        return Control::Button;
    // Views and other composite widgets lay out their own insides.
    if (is<QAbstractScrollArea>(w) && !is<QScrollArea>(w))
        return Control::Opaque;
    return Control::Container;
}

// Visits the window's controls and the containers that hold them; child windows and
// the insides of controls are not visited.
template <typename F> void forEachControl(QWidget *parent, F &&visit)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow())
            continue;
        const Control control = controlOf(w);
        visit(w, control);
        if (control == Control::Container || control == Control::GroupBox)
            forEachControl(w, visit);
    }
}

const UserFont *fontFor(const Settings &s, Control control)
{
    switch (control) {
    case Control::Label:
    case Control::GroupBox:
    case Control::ListBox:
    case Control::CheckBox:
    case Control::RadioButton:
        return &s.font(FontRole::Label);
    case Control::EditBox:
    case Control::StringGrid:
    case Control::ComboBox:
        return &s.font(FontRole::Edit);
    case Control::Button:
        return &s.font(FontRole::Button);
    case Control::Container:
    case Control::Opaque:
        break;
    }
    return nullptr;
}

// Halfway between the text and its background: disabled text that still shows on any
// background colour a user picks (the stock grey disappears on a grey face).
QColor disabledText(const QColor &text, const QColor &background)
{
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}

// Background roles take the colour in every state; text roles take it when enabled and
// a faded one when disabled, so disabled controls still look disabled.
void paint(QWidget *w, std::initializer_list<QPalette::ColorRole> backgroundRoles, const QColor &background,
           std::initializer_list<QPalette::ColorRole> textRoles, const QColor &text)
{
    QPalette p = w->palette();
    for (QPalette::ColorRole role : backgroundRoles)
        p.setColor(role, background);
    for (QPalette::ColorRole role : textRoles) {
        p.setColor(QPalette::Active, role, text);
        p.setColor(QPalette::Inactive, role, text);
        if (background.isValid())
            p.setColor(QPalette::Disabled, role, disabledText(text, background));
    }
    w->setPalette(p);
}

void paintText(QWidget *w, const QColor &text)
{
    paint(w, {}, QColor(), {QPalette::WindowText}, text);
}

void paintBox(QWidget *w, const QColor &background, const QColor &text)
{
    paint(w, {QPalette::Base}, background, {QPalette::Text}, text);
}

// Radio buttons and check boxes fill their own background, which is drawn in the
// button role; their text is drawn in the window text role.
void paintButtonLike(QWidget *w, const QColor &background, const QColor &text)
{
    w->setAutoFillBackground(true);
    paint(w, {QPalette::Window, QPalette::Button}, background, {QPalette::WindowText, QPalette::ButtonText}, text);
}

int percentOf(double factor) { return int(std::lround(factor * 100)); }

bool hasLimitedSize(const QWidget *w)
{
    return w->minimumSize() != QSize(0, 0) || w->maximumWidth() < QWIDGETSIZE_MAX
           || w->maximumHeight() < QWIDGETSIZE_MAX;
}

QSize scaleLimit(QSize limit, double ratio)
{
    return QSize(limit.width() >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : scaleLength(limit.width(), ratio),
                 limit.height() >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : scaleLength(limit.height(), ratio));
}

QFont scaledFont(QFont font, double ratio)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * ratio);
    else if (font.pixelSize() > 0)
        font.setPixelSize(scaleLength(font.pixelSize(), ratio));
    return font;
}

} // namespace

void markTitle(QWidget *label, TitleKind kind)
{
    label->setProperty(kTitleProperty, kind == TitleKind::Major ? QStringLiteral("major") : QStringLiteral("minor"));
}

void applyUserFonts(QWidget *window, const Settings &s)
{
    forEachControl(window, [&](QWidget *w, Control control) {
        const UserFont *user = fontFor(s, control);
        if (!user)
            return;
        QFont f = w->font();
        f.setFamily(user->font.family());
        f.setBold(user->font.bold());
        f.setItalic(user->font.italic());
        w->setFont(f);
    });
}

void applyColorSet(QWidget *window, const ColorSet &colors)
{
    window->setAutoFillBackground(true);
    // Plain texts are drawn on the set's background, so the desktop's text colour (white
    // in a dark scheme) is taken only where it reads on it.
    const QColor background = colors[ColorRole::MainBackground];
    paint(window, {QPalette::Window}, background, {QPalette::WindowText},
          readableOn(QApplication::palette(window).color(QPalette::WindowText), background));
    // What stands on the window itself (menus, tool buttons, plain labels) keeps its text
    // colour, but when disabled it fades towards this background, not to the stock grey.
    {
        QPalette p = window->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(QPalette::Disabled, role, disabledText(p.color(QPalette::Active, role), background));
        window->setPalette(p);
    }

    forEachControl(window, [&](QWidget *w, Control control) {
        const QString title = w->property(kTitleProperty).toString();
        if (title == QLatin1String("major"))
            paintText(w, colors[ColorRole::MajorTitle]);
        else if (title == QLatin1String("minor"))
            paintText(w, colors[ColorRole::MinorTitle]);
        // A mark in a colour of its own (a warning red) is made to read on the background.
        if (const QVariant mark = w->property(kMarkColorProperty); mark.isValid())
            paintText(w, readableOn(QColor(mark.toString()), background));

        // A notebook's pages would stay in the style's pane colour: they take the window's.
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->widget(i)->setAutoFillBackground(true);
                paint(tabs->widget(i), {QPalette::Window}, colors[ColorRole::MainBackground], {}, QColor());
            }
        }
        switch (control) {
        case Control::EditBox:
        case Control::StringGrid: // typed into like a box, in the edit font
            paintBox(w, colors[ColorRole::EditBackground], colors[ColorRole::EditText]);
            break;
        case Control::ComboBox: {
            // A drop-down list draws as a button; an editable one and the list it
            // opens use the box colours.
            paint(w, {QPalette::Base, QPalette::Button}, colors[ColorRole::ComboBackground],
                  {QPalette::Text, QPalette::ButtonText}, colors[ColorRole::ComboText]);
            auto *combo = static_cast<QComboBox *>(w);
            paintBox(combo->view(), colors[ColorRole::ComboBackground], colors[ColorRole::ComboText]);
            break;
        }
        case Control::ListBox:
            paintBox(w, colors[ColorRole::ListBoxBackground], colors[ColorRole::ListBoxText]);
            break;
        case Control::RadioButton:
            paintButtonLike(w, colors[ColorRole::RadioBackground], colors[ColorRole::RadioText]);
            break;
        case Control::CheckBox:
            paintButtonLike(w, colors[ColorRole::CheckBackground], colors[ColorRole::CheckText]);
            break;
        default:
            break;
        }
    });
}

void scaleWindow(QWidget *window, double factor)
{
    const QVariant done = window->property(kScaleProperty);
    const int was = percentOf(done.isValid() ? done.toDouble() : 1.0);
    const int now = percentOf(factor);
    if (now == was || now <= 0)
        return;
    window->setProperty(kScaleProperty, factor);
    const double ratio = double(now) / double(was);

    // Fonts first, so layouts know the new room their controls need. A control
    // without a size of its own follows its parent, so only the window and the
    // controls that set a size are changed; all sizes are read before any is set.
    std::vector<std::pair<QWidget *, QFont>> fonts{{window, scaledFont(window->font(), ratio)}};
    std::vector<QWidget *> placed;
    forEachControl(window, [&](QWidget *w, Control) {
        if (w->font().resolveMask() & QFont::SizeResolved)
            fonts.emplace_back(w, scaledFont(w->font(), ratio));
        placed.push_back(w);
    });
    for (auto &[w, font] : fonts)
        w->setFont(font);

    // Designed sizes and, where no layout places them, positions.
    for (QWidget *w : placed) {
        if (hasLimitedSize(w)) {
            w->setMinimumSize(scaleLimit(w->minimumSize(), ratio));
            w->setMaximumSize(scaleLimit(w->maximumSize(), ratio));
        }
        if (!w->parentWidget()->layout()) {
            const QRect r = w->geometry();
            w->setGeometry(scaleLength(r.x(), ratio), scaleLength(r.y(), ratio), scaleLength(r.width(), ratio),
                           scaleLength(r.height(), ratio));
        }
    }

    const QSize size = scaleSize(window->size(), ratio);
    if (window->minimumSize() == window->maximumSize()) {
        window->setFixedSize(size);
    } else {
        if (window->layout())
            window->layout()->activate(); // the larger fonts raise the minimum size
        window->resize(size);
    }
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    const int x = area.x() + (area.width() - size.width()) / 2;
    const int y = area.y() + (area.height() - size.height()) / 2;
    window->move(std::max(x, area.x()), std::max(y, area.y()));
}

namespace {

constexpr char kAutoNameProperty[] = "kvAutoName";

QString plainCaption(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

// True when the control has no name of its own, or only one given here before.
bool mayName(const QWidget *w) { return w->accessibleName().isEmpty() || w->property(kAutoNameProperty).toBool(); }

void giveName(QWidget *w, const QString &name)
{
    if (name.isEmpty())
        return;
    w->setAccessibleName(name);
    w->setProperty(kAutoNameProperty, true);
}

} // namespace

void nameControls(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QWidget *buddy = label->buddy();
        if (!buddy || !mayName(buddy))
            continue;
        // Qt finds a label only among the control's siblings, and never for a grid.
        const bool found = buddy->parentWidget() == label->parentWidget() && !qobject_cast<QAbstractItemView *>(buddy);
        if (!found || buddy->property(kAutoNameProperty).toBool())
            giveName(buddy, plainCaption(label->text()));
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->text().isEmpty() || !mayName(button))
            continue;
        giveName(button, plainCaption(button->toolTip().isEmpty() ? button->statusTip() : button->toolTip()));
    }
    // A notebook is named by its pages.
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        if (!mayName(tabs))
            continue;
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i)
            pages << plainCaption(tabs->tabText(i));
        giveName(tabs, pages.join(QStringLiteral(", ")));
    }
    // An editable combo box's own edit line is named as the box.
    for (QComboBox *combo : window->findChildren<QComboBox *>())
        if (combo->lineEdit() && mayName(combo->lineEdit()))
            giveName(combo->lineEdit(), combo->accessibleName());
}

void styleWindow(QWidget *window, WindowFamily family, const Settings &s, Placement placement)
{
    applyUserFonts(window, s);
    if (family != WindowFamily::Main) {
        // Outside a show, a dialog that nobody has sized yet takes the size it will show with.
        if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized))
            window->adjustSize();
        scaleWindow(window, screenFactor(s.windowSize));
        fitTexts(window);
        centreOnScreen(window);
        const QScreen *screen = QGuiApplication::primaryScreen();
        const int top = screen ? screen->availableGeometry().top() : 0;
        if (placement == Placement::CentredRaised && window->y() - top > kRaise)
            window->move(window->x(), window->y() - kRaise);
    }
    applyColorSet(window, s.colorSet(family));
    nameControls(window);
}

} // namespace kv
