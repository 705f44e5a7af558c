#include "app/ui/colorconfigdialog.h"

#include "app/display/displayoptions.h"
#include "app/style/windowstyle.h"
#include "help/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace kv {

namespace {

const char kSampleText[] = "Sample Text";

// A colour button: the colour of the working set it changes.
struct ColorButton {
    const char *objectName;
    const char *caption;
    ColorRole role;
};

const ColorButton kWindowButtons[] = {
    {"WindowBackgroundButton", "Background", ColorRole::MainBackground},
    {"MajorTitlesButton", "Major Titles", ColorRole::MajorTitle},
    {"MinorTitlesButton", "Minor Titles", ColorRole::MinorTitle},
};

// A group of controls with a sample and its text and background buttons.
struct SampleGroup {
    const char *title;
    const char *name; // prefix of the object names
    ColorRole text;
    ColorRole background;
};

const SampleGroup kGroups[] = {
    {"Radio Button", "Radio", ColorRole::RadioText, ColorRole::RadioBackground},
    {"Check Box", "Check", ColorRole::CheckText, ColorRole::CheckBackground},
    {"Edit Box", "Edit", ColorRole::EditText, ColorRole::EditBackground},
    {"Combo Box", "Combo", ColorRole::ComboText, ColorRole::ComboBackground},
    {"List Box", "List", ColorRole::ListBoxText, ColorRole::ListBoxBackground},
};

QString latin1(const char *text) { return QString::fromLatin1(text); }

QLabel *makeTitle(QWidget *parent, const QString &name, const QString &text, TitleKind kind)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    markTitle(label, kind);
    return label;
}

QWidget *makeSample(QWidget *parent, int group)
{
    const QString sample = latin1(kSampleText);
    QWidget *w = nullptr;
    switch (group) {
    case 0: w = new QRadioButton(sample, parent); break;
    case 1: w = new QCheckBox(sample, parent); break;
    case 2: w = new QLineEdit(sample, parent); break;
    case 3: {
        auto *combo = new QComboBox(parent);
        combo->addItem(sample);
        w = combo;
        break;
    }
    default: {
        auto *list = new QListWidget(parent);
        list->addItems({sample, sample});
        list->setFixedHeight(2 * list->fontMetrics().height() + 4 * list->frameWidth() + 4);
        w = list;
        break;
    }
    }
    // Samples to look at; the keyboard goes from button to button.
    w->setFocusPolicy(Qt::NoFocus);
    w->setObjectName(latin1(kGroups[group].name) + QStringLiteral("Sample"));
    return w;
}

} // namespace

TColorConfig::TColorConfig(Workspace &workspace, ColorTarget target, QWidget *parent)
    : QDialog(parent), ws_(workspace), target_(target), working_(startingColorSet(workspace.settings(), target))
{
    setObjectName(QStringLiteral("TColorConfig"));
    setWindowTitle(QStringLiteral("Color Configuration"));
    setModal(true);
    setHelpKeyword(this, QStringLiteral("Colors"));

    const auto addButton = [this](QLayout *layout, const QString &name, const QString &caption, ColorRole role,
                                  const QString &title) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, role, title] { chooseColorOf(role, title); });
        layout->addWidget(button);
    };

    auto *grid = new QGridLayout;
    grid->addWidget(makeTitle(this, QStringLiteral("WindowLabel"), QStringLiteral("Window"), TitleKind::Major), 0, 0);
    auto *windowButtons = new QHBoxLayout;
    for (const ColorButton &b : kWindowButtons)
        addButton(windowButtons, latin1(b.objectName), latin1(b.caption), b.role,
                  QStringLiteral("Window ") + latin1(b.caption));
    windowButtons->addStretch(1);
    grid->addLayout(windowButtons, 0, 1, 1, 2);

    for (int g = 0; g < int(std::size(kGroups)); ++g) {
        const SampleGroup &group = kGroups[g];
        const QString name = latin1(group.name), title = latin1(group.title);
        grid->addWidget(makeTitle(this, name + QStringLiteral("Label"), title, TitleKind::Major), g + 1, 0);
        grid->addWidget(makeSample(this, g), g + 1, 1);
        auto *buttons = new QHBoxLayout;
        addButton(buttons, name + QStringLiteral("TextButton"), QStringLiteral("Text"), group.text,
                  title + QStringLiteral(" Text"));
        addButton(buttons, name + QStringLiteral("BackgroundButton"), QStringLiteral("Background"), group.background,
                  title + QStringLiteral(" Background"));
        grid->addLayout(buttons, g + 1, 2);
    }
    grid->setColumnStretch(1, 1);

    auto *presetLabel = makeTitle(this, QStringLiteral("PresetLabel"), QStringLiteral("Predefined Color Combinations"),
                                  TitleKind::Minor);
    PresetList = new QComboBox(this);
    PresetList->setObjectName(QStringLiteral("PresetList"));
    PresetList->addItems(colorPresetEntries());
    PresetList->setMaxVisibleItems(PresetList->count());
    presetLabel->setBuddy(PresetList);
    connect(PresetList, &QComboBox::activated, this, &TColorConfig::PresetListChange);
    auto *presets = new QHBoxLayout;
    presets->addWidget(presetLabel);
    presets->addWidget(PresetList, 1);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    connect(OkButton, &QPushButton::clicked, this, &TColorConfig::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TColorConfig::CancelButtonClick);
    auto *closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(OkButton);
    closing->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(presets);
    layout->addStretch(1);
    layout->addLayout(closing);
}

void TColorConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TColorConfig::FormShow()
{
    styleWindow(this, WindowFamily::Configure, ws_.settings(), Placement::CentredRaised);
    paintSamples();
}

// The whole dialog is the sample: its background, titles, boxes and buttons take the
// colours being edited.
void TColorConfig::paintSamples() { applyColorSet(this, working_); }

void TColorConfig::chooseColorOf(ColorRole role, const QString &title)
{
    if (chooseColor(working_[role], ws_.prompt(), title))
        paintSamples();
}

void TColorConfig::PresetListChange(int entry)
{
    working_ = withColorPreset(working_, entry);
    paintSamples();
}

void TColorConfig::OkButtonClick()
{
    storeColorSet(ws_.settings(), target_, working_);
    accept();
}

void TColorConfig::CancelButtonClick() { reject(); }

} // namespace kv
