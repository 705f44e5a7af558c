#include "app/style/windowstyle.h"

#include "app/display/contrast.h"
#include "app/display/screensize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using kv::ColorRole;
using kv::FontRole;

namespace {

QFont userFont(const char *family, bool bold, bool italic)
{
    QFont f(QString::fromLatin1(family), 20);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Three fonts that differ from each other and from the designed fonts in face and
// style, all at size 20.
kv::Settings settingsWithFonts()
{
    kv::Settings s;
    s.font(FontRole::Label).font = userFont("Courier New", true, false);
    s.font(FontRole::Edit).font = userFont("Times New Roman", false, true);
    s.font(FontRole::Button).font = userFont("Liberation Mono", true, true);
    return s;
}

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

// Every colour of the set different, so a colour in the wrong role shows.
kv::ColorSet distinctColors(int shift = 0)
{
    kv::ColorSet set;
    for (int k = 0; k < kv::kColorRoleCount; ++k)
        set.colors[size_t(k)] = rgb((20 * k + shift) % 256, (200 - 10 * k + shift) % 256, (37 * k + 90 + shift) % 256);
    return set;
}

// A pixel of a control as its window shows it.
QColor pixelAt(QWidget *window, QWidget *control, QPoint p)
{
    return window->grab().toImage().pixelColor(control->mapTo(window, p));
}

} // namespace

TEST(WindowStyle, UserFontsChangeFaceAndStyleByKindOfControlButNotSize)
{
    QDialog window;
    auto *layout = new QVBoxLayout(&window);
    auto *label = new QLabel(QStringLiteral("Label"));
    auto *bigLabel = new QLabel(QStringLiteral("Big label"));
    QFont big = bigLabel->font();
    big.setPointSize(15);
    bigLabel->setFont(big);
    auto *edit = new QLineEdit;
    auto *masked = new QLineEdit;
    masked->setInputMask(QStringLiteral("99/99/99"));
    auto *combo = new QComboBox;
    auto *list = new QListWidget;
    auto *check = new QCheckBox(QStringLiteral("Check"));
    auto *radio = new QRadioButton(QStringLiteral("Radio"));
    auto *group = new QGroupBox(QStringLiteral("Group"));
    auto *inGroup = new QLabel(QStringLiteral("In group"));
    auto *groupEdit = new QLineEdit;
    (new QHBoxLayout(group))->addWidget(inGroup);
    group->layout()->addWidget(groupEdit);
    auto *stringGrid = new QTableWidget(2, 2);
    auto *viewer = new QTableView; // a data grid keeps its own font
    auto *button = new QPushButton(QStringLiteral("&Ok"));
    for (QWidget *w : std::initializer_list<QWidget *>{label, bigLabel, edit, masked, combo, list, check, radio, group,
                                                       stringGrid, viewer, button})
        layout->addWidget(w);
    QDialog child(&window); // another window: styles itself when shown
    auto *childLabel = new QLabel(QStringLiteral("Child"), &child);

    const QFont designed = window.font();
    const kv::Settings s = settingsWithFonts();
    kv::applyUserFonts(&window, s);

    const struct {
        QWidget *widget;
        FontRole role;
        int size;
    } cases[] = {
        {label, FontRole::Label, designed.pointSize()},  {bigLabel, FontRole::Label, 15},
        {list, FontRole::Label, designed.pointSize()},   {check, FontRole::Label, designed.pointSize()},
        {radio, FontRole::Label, designed.pointSize()},  {group, FontRole::Label, designed.pointSize()},
        {inGroup, FontRole::Label, designed.pointSize()}, {edit, FontRole::Edit, designed.pointSize()},
        {masked, FontRole::Edit, designed.pointSize()},  {groupEdit, FontRole::Edit, designed.pointSize()},
        {combo, FontRole::Edit, designed.pointSize()},   {stringGrid, FontRole::Edit, designed.pointSize()},
        {button, FontRole::Button, designed.pointSize()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.widget->metaObject()->className());
        const QFont &want = s.font(c.role).font;
        EXPECT_EQ(c.widget->font().family(), want.family());
        EXPECT_EQ(c.widget->font().bold(), want.bold());
        EXPECT_EQ(c.widget->font().italic(), want.italic());
        EXPECT_EQ(c.widget->font().pointSize(), c.size);
    }
    EXPECT_EQ(viewer->font(), designed);
    EXPECT_EQ(window.font(), designed);
    EXPECT_EQ(childLabel->font(), designed);

    // Back to plain fonts: the styles are set, not only added.
    kv::applyUserFonts(&window, kv::Settings());
    EXPECT_EQ(label->font().family(), QStringLiteral("Arial"));
    EXPECT_FALSE(label->font().bold());
    EXPECT_FALSE(edit->font().italic());
}

TEST(WindowStyle, ColorSetPaintsTheWindowItsBoxesAndTitles)
{
    QDialog window;
    window.resize(300, 400);
    auto *layout = new QVBoxLayout(&window);
    auto *major = new QLabel(QStringLiteral("Major"));
    kv::markTitle(major, kv::TitleKind::Major);
    auto *minor = new QLabel(QStringLiteral("Minor"));
    kv::markTitle(minor, kv::TitleKind::Minor);
    auto *plain = new QLabel(QStringLiteral("Plain"));
    auto *edit = new QLineEdit;
    auto *combo = new QComboBox;
    combo->addItem(QStringLiteral("Sample Text"));
    auto *list = new QListWidget;
    auto *radio = new QRadioButton(QStringLiteral("Radio"));
    auto *check = new QCheckBox(QStringLiteral("Check"));
    auto *grid = new QTableWidget(3, 2);
    auto *tabs = new QTabWidget;
    auto *page = new QWidget;
    auto *pageLabel = new QLabel(QStringLiteral("On a page"), page);
    kv::markTitle(pageLabel, kv::TitleKind::Minor);
    tabs->addTab(page, QStringLiteral("Page"));
    tabs->setMinimumHeight(80);
    for (QWidget *w : std::initializer_list<QWidget *>{major, minor, plain, edit, combo, list, radio, check, grid, tabs})
        layout->addWidget(w);
    layout->addStretch(1);

    kv::Settings s = settingsWithFonts();
    kv::applyUserFonts(&window, s);
    const QColor plainText = plain->palette().color(QPalette::WindowText);

    for (int shift : {0, 101}) { // a second set replaces the first
        SCOPED_TRACE(shift);
        const kv::ColorSet set = distinctColors(shift);
        kv::applyColorSet(&window, set);
        const auto color = [](QWidget *w, QPalette::ColorRole role) { return w->palette().color(role); };

        EXPECT_EQ(color(&window, QPalette::Window), set[ColorRole::MainBackground]);
        EXPECT_EQ(color(plain, QPalette::Window), set[ColorRole::MainBackground]);
        EXPECT_EQ(color(major, QPalette::WindowText), set[ColorRole::MajorTitle]);
        EXPECT_EQ(color(minor, QPalette::WindowText), set[ColorRole::MinorTitle]);
        // The desktop's text colour where it reads on the set's background (4.5:1).
        EXPECT_EQ(color(plain, QPalette::WindowText), kv::readableOn(plainText, set[ColorRole::MainBackground]));
        EXPECT_EQ(color(edit, QPalette::Base), set[ColorRole::EditBackground]);
        EXPECT_EQ(color(edit, QPalette::Text), set[ColorRole::EditText]);
        EXPECT_EQ(color(combo, QPalette::Button), set[ColorRole::ComboBackground]);
        EXPECT_EQ(color(combo, QPalette::ButtonText), set[ColorRole::ComboText]);
        EXPECT_EQ(color(combo->view(), QPalette::Base), set[ColorRole::ComboBackground]);
        EXPECT_EQ(color(combo->view(), QPalette::Text), set[ColorRole::ComboText]);
        EXPECT_EQ(color(list, QPalette::Base), set[ColorRole::ListBoxBackground]);
        EXPECT_EQ(color(list, QPalette::Text), set[ColorRole::ListBoxText]);
        EXPECT_EQ(color(radio, QPalette::Window), set[ColorRole::RadioBackground]);
        EXPECT_EQ(color(radio, QPalette::WindowText), set[ColorRole::RadioText]);
        EXPECT_EQ(color(check, QPalette::Window), set[ColorRole::CheckBackground]);
        EXPECT_EQ(color(check, QPalette::WindowText), set[ColorRole::CheckText]);

        // What is painted on the screen, not only what the palettes say.
        window.show();
        const QPoint corner(window.width() - 3, window.height() - 3);
        EXPECT_EQ(pixelAt(&window, &window, corner), set[ColorRole::MainBackground]);
        EXPECT_EQ(pixelAt(&window, edit, edit->rect().center()), set[ColorRole::EditBackground]);
        EXPECT_EQ(pixelAt(&window, list, list->rect().bottomRight() - QPoint(5, 5)), set[ColorRole::ListBoxBackground]);
        EXPECT_EQ(pixelAt(&window, check, check->rect().bottomRight() - QPoint(1, 1)), set[ColorRole::CheckBackground]);
        EXPECT_EQ(pixelAt(&window, radio, radio->rect().bottomRight() - QPoint(1, 1)), set[ColorRole::RadioBackground]);
        EXPECT_EQ(color(grid, QPalette::Base), set[ColorRole::EditBackground]) << "grids are typed into";
        EXPECT_EQ(color(grid, QPalette::Text), set[ColorRole::EditText]);
        EXPECT_EQ(pixelAt(&window, page, page->rect().bottomRight() - QPoint(2, 2)), set[ColorRole::MainBackground])
            << "a notebook page shows the window's background";
        EXPECT_EQ(color(pageLabel, QPalette::WindowText), set[ColorRole::MinorTitle]);
    }
    // Colours come by palette: the user's fonts stay.
    EXPECT_EQ(edit->font().family(), s.font(FontRole::Edit).font.family());
    EXPECT_EQ(major->font().family(), s.font(FontRole::Label).font.family());
}

// A disabled check box or edit box on a face of the stock disabled grey: its text is
// faded towards the face, never drawn in the face's own colour.
TEST(WindowStyle, DisabledTextStaysVisibleOnAnyBackground)
{
    QDialog window;
    auto *layout = new QVBoxLayout(&window);
    auto *check = new QCheckBox(QStringLiteral("Column Headers"));
    auto *edit = new QLineEdit(QStringLiteral("text"));
    layout->addWidget(check);
    layout->addWidget(edit);
    const QColor stockGrey = check->palette().color(QPalette::Disabled, QPalette::WindowText);
    kv::ColorSet set = distinctColors();
    set[ColorRole::CheckBackground] = stockGrey;
    set[ColorRole::CheckText] = rgb(0, 0, 0);
    set[ColorRole::EditBackground] = edit->palette().color(QPalette::Disabled, QPalette::Text);
    set[ColorRole::EditText] = rgb(255, 255, 255);
    kv::applyColorSet(&window, set);
    check->setEnabled(false);
    edit->setEnabled(false);

    const QColor checkText = check->palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor editText = edit->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_NE(checkText, stockGrey);
    EXPECT_EQ(checkText, rgb(stockGrey.red() / 2, stockGrey.green() / 2, stockGrey.blue() / 2));
    EXPECT_NE(editText, set[ColorRole::EditBackground]);
    // Enabled, they show the set's own text colours.
    EXPECT_EQ(check->palette().color(QPalette::Active, QPalette::WindowText), rgb(0, 0, 0));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), rgb(255, 255, 255));
}

namespace {

// A dialog as the program builds them: laid out, prepared when shown.
class LaidOutDialog : public QDialog {
public:
    explicit LaidOutDialog(const kv::Settings &s) : settings_(s)
    {
        auto *layout = new QVBoxLayout(this);
        label = new QLabel(QStringLiteral("A caption of some length"));
        layout->addWidget(label);
        layout->addWidget(new QLineEdit);
        layout->addWidget(new QPushButton(QStringLiteral("&Ok")));
        resize(260, 140);
    }
    QLabel *label;

protected:
    void showEvent(QShowEvent *e) override
    {
        QDialog::showEvent(e);
        kv::styleWindow(this, kv::WindowFamily::Configure, settings_);
    }

private:
    const kv::Settings &settings_;
};

QPoint screenCentre() { return QGuiApplication::primaryScreen()->availableGeometry().center(); }

} // namespace

TEST(WindowStyle, DialogsScaleByTheScreenFactorCentreAndTakeTheirFamilysLook)
{
    kv::Settings s = settingsWithFonts();
    s.colorSet(kv::WindowFamily::Configure) = distinctColors();
    const QFont designed = QDialog().font();

    for (int mode : {640, 800, 1024, 1280}) {
        SCOPED_TRACE(mode);
        s.windowSize = mode;
        const double factor = kv::screenFactor(mode);
        LaidOutDialog dialog(s);
        dialog.show();
        EXPECT_EQ(dialog.size(), kv::scaleSize(QSize(260, 140), factor));
        EXPECT_DOUBLE_EQ(dialog.label->font().pointSizeF(), designed.pointSizeF() * factor);
        EXPECT_EQ(dialog.label->font().family(), QStringLiteral("Courier New"));
        EXPECT_LE((dialog.frameGeometry().center() - screenCentre()).manhattanLength(), 2);
        EXPECT_EQ(dialog.palette().color(QPalette::Window), s.colorSet(kv::WindowFamily::Configure)[ColorRole::MainBackground]);

        // Shown again, it does not grow again.
        dialog.hide();
        dialog.show();
        EXPECT_EQ(dialog.size(), kv::scaleSize(QSize(260, 140), factor));
        EXPECT_DOUBLE_EQ(dialog.label->font().pointSizeF(), designed.pointSizeF() * factor);
    }
}

TEST(WindowStyle, HandPlacedDialogsScaleEveryPartsGeometry)
{
    kv::Settings s;
    s.windowSize = 800;
    QDialog dialog;
    dialog.setFixedSize(200, 100);
    auto *edit = new QLineEdit(&dialog);
    edit->setGeometry(10, 20, 101, 30);
    auto *group = new QGroupBox(QStringLiteral("Group"), &dialog);
    group->setGeometry(10, 55, 180, 40);
    auto *inGroup = new QCheckBox(QStringLiteral("Check"), group);
    inGroup->setGeometry(4, 15, 80, 17);
    auto *button = new QPushButton(QStringLiteral("&Ok"), &dialog);
    button->setGeometry(120, 20, 70, 25);
    button->setFixedWidth(70);

    kv::styleWindow(&dialog, kv::WindowFamily::Configure, s);

    EXPECT_EQ(dialog.size(), QSize(250, 125));
    EXPECT_EQ(dialog.minimumSize(), QSize(250, 125));
    EXPECT_EQ(edit->geometry(), QRect(13, 25, 126, 38));  // 12.5, 25, 126.25, 37.5
    EXPECT_EQ(group->geometry(), QRect(13, 69, 225, 50)); // 12.5, 68.75, 225, 50
    EXPECT_EQ(inGroup->geometry(), QRect(5, 19, 100, 21));
    EXPECT_EQ(button->geometry(), QRect(150, 25, 88, 31));
    EXPECT_EQ(button->maximumWidth(), 88);
    EXPECT_EQ(dialog.pos(), screenCentre() - QPoint(124, 62));
}

TEST(WindowStyle, RaisedDialogsStandTenPixelsHigherAndTheMainWindowKeepsItsSizeAndPlace)
{
    kv::Settings s = settingsWithFonts();
    s.windowSize = 800;
    s.colorSet(kv::WindowFamily::Main) = distinctColors();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();

    QDialog centred, raised;
    for (QDialog *d : {&centred, &raised})
        d->setFixedSize(200, 100);
    kv::styleWindow(&centred, kv::WindowFamily::Configure, s);
    kv::styleWindow(&raised, kv::WindowFamily::Configure, s, kv::Placement::CentredRaised);
    ASSERT_GT(centred.y() - area.top(), 10);
    EXPECT_EQ(raised.pos(), centred.pos() - QPoint(0, 10));

    // A dialog as high as the screen has no room above it to give.
    QDialog tall;
    tall.setFixedSize(200, kv::scaleLength(area.height(), 1 / 1.25));
    kv::styleWindow(&tall, kv::WindowFamily::Configure, s, kv::Placement::CentredRaised);
    EXPECT_LE(tall.y() - area.top(), 10);
    EXPECT_GE(tall.y(), area.top());

    QWidget main;
    auto *label = new QLabel(QStringLiteral("Video Viewer"), &main);
    main.setGeometry(30, 40, 300, 200);
    kv::styleWindow(&main, kv::WindowFamily::Main, s);
    EXPECT_EQ(main.geometry(), QRect(30, 40, 300, 200));
    EXPECT_EQ(label->font().pointSizeF(), QWidget().font().pointSizeF());
    EXPECT_EQ(label->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(main.palette().color(QPalette::Window), s.colorSet(kv::WindowFamily::Main)[ColorRole::MainBackground]);
}
