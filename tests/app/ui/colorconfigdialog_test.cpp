// The Color Configuration dialog on the offscreen platform, the colour dialog answered by
// the scripted prompt.
#include "app/ui/colorconfigdialog.h"

#include "app/display/colorconfig.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using kv::ColorRole;
using kv::ColorTarget;
using kv::TColorConfig;
using kv::WindowFamily;

namespace {

kv::ColorSet distinctColors(int shift)
{
    kv::ColorSet set;
    for (int k = 0; k < kv::kColorRoleCount; ++k)
        set.colors[size_t(k)] = QColor((19 * k + shift) % 256, (70 + 11 * k + shift) % 256, (230 - 9 * k) % 256);
    return set;
}

struct Fixture : kvtest::WorkspaceFixture {
    Fixture()
    {
        for (int family = 0; family < kv::kWindowFamilyCount; ++family)
            settings.colorSets[size_t(family)] = distinctColors(50 * family);
    }
};

template <typename T> T *child(const QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QColor color(const QWidget *w, QPalette::ColorRole role) { return w->palette().color(role); }

void choosePreset(const TColorConfig &dialog, const char *name)
{
    auto *presets = child<QComboBox>(dialog, "PresetList");
    const int entry = presets->findText(QString::fromLatin1(name));
    ASSERT_GT(entry, 0) << name;
    presets->setCurrentIndex(entry);
    Q_EMIT presets->activated(entry);
}

} // namespace

TEST(ColorConfigDialog, ShowsTheFamilysColoursInItsSamplesAboveTheMiddleOfTheScreen)
{
    Fixture f;
    const kv::ColorSet &edit = f.settings.colorSet(WindowFamily::Edit);
    TColorConfig dialog(f.workspace, ColorTarget::Edit);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TColorConfig"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Color Configuration"));
    dialog.show();

    EXPECT_EQ(dialog.workingSet(), edit);
    EXPECT_EQ(color(&dialog, QPalette::Window), edit[ColorRole::MainBackground]);
    for (const char *title : {"WindowLabel", "RadioLabel", "CheckLabel", "EditLabel", "ComboLabel", "ListLabel"})
        EXPECT_EQ(color(child<QLabel>(dialog, title), QPalette::WindowText), edit[ColorRole::MajorTitle]) << title;
    auto *presetLabel = child<QLabel>(dialog, "PresetLabel");
    EXPECT_EQ(presetLabel->text(), QStringLiteral("Predefined Color Combinations"));
    EXPECT_EQ(color(presetLabel, QPalette::WindowText), edit[ColorRole::MinorTitle]);
    EXPECT_EQ(color(child<QLineEdit>(dialog, "EditSample"), QPalette::Base), edit[ColorRole::EditBackground]);
    EXPECT_EQ(color(child<QLineEdit>(dialog, "EditSample"), QPalette::Text), edit[ColorRole::EditText]);
    EXPECT_EQ(color(child<QComboBox>(dialog, "ComboSample"), QPalette::Button), edit[ColorRole::ComboBackground]);
    EXPECT_EQ(color(child<QComboBox>(dialog, "PresetList"), QPalette::Button), edit[ColorRole::ComboBackground]);
    EXPECT_EQ(color(child<QRadioButton>(dialog, "RadioSample"), QPalette::Window), edit[ColorRole::RadioBackground]);
    EXPECT_EQ(color(child<QCheckBox>(dialog, "CheckSample"), QPalette::WindowText), edit[ColorRole::CheckText]);
    auto *list = child<QListWidget>(dialog, "ListSample");
    EXPECT_EQ(color(list, QPalette::Base), edit[ColorRole::ListBoxBackground]);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Sample Text"));

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int centredTop = area.top() + (area.height() - dialog.frameGeometry().height()) / 2;
    EXPECT_EQ(dialog.y(), centredTop - 10);

    const QStringList presets = kv::colorPresetEntries();
    auto *presetList = child<QComboBox>(dialog, "PresetList");
    ASSERT_EQ(presetList->count(), presets.size());
    for (int i = 0; i < presets.size(); ++i)
        EXPECT_EQ(presetList->itemText(i), presets.at(i));
}

TEST(ColorConfigDialog, EachButtonChangesItsColourThroughTheColourDialog)
{
    const struct {
        const char *button;
        const char *caption;
        ColorRole role;
        const char *dialogTitle;
    } buttons[] = {
        {"WindowBackgroundButton", "Background", ColorRole::MainBackground, "Window Background"},
        {"MajorTitlesButton", "Major Titles", ColorRole::MajorTitle, "Window Major Titles"},
        {"MinorTitlesButton", "Minor Titles", ColorRole::MinorTitle, "Window Minor Titles"},
        {"RadioTextButton", "Text", ColorRole::RadioText, "Radio Button Text"},
        {"RadioBackgroundButton", "Background", ColorRole::RadioBackground, "Radio Button Background"},
        {"CheckTextButton", "Text", ColorRole::CheckText, "Check Box Text"},
        {"CheckBackgroundButton", "Background", ColorRole::CheckBackground, "Check Box Background"},
        {"EditTextButton", "Text", ColorRole::EditText, "Edit Box Text"},
        {"EditBackgroundButton", "Background", ColorRole::EditBackground, "Edit Box Background"},
        {"ComboTextButton", "Text", ColorRole::ComboText, "Combo Box Text"},
        {"ComboBackgroundButton", "Background", ColorRole::ComboBackground, "Combo Box Background"},
        {"ListTextButton", "Text", ColorRole::ListBoxText, "List Box Text"},
        {"ListBackgroundButton", "Background", ColorRole::ListBoxBackground, "List Box Background"},
    };
    Fixture f;
    TColorConfig dialog(f.workspace, ColorTarget::Configure);
    dialog.show();
    kv::ColorSet expected = f.settings.colorSet(WindowFamily::Configure);
    int k = 0;
    for (const auto &b : buttons) {
        SCOPED_TRACE(b.button);
        auto *button = child<QPushButton>(dialog, b.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(b.caption));

        f.prompt.answerColor(std::nullopt); // cancelled: nothing changes
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(dialog.workingSet(), expected);

        const QColor chosen(255 - k, k * 7, 128);
        f.prompt.answerColor(chosen);
        QTest::mouseClick(button, Qt::LeftButton);
        expected[b.role] = chosen;
        EXPECT_EQ(dialog.workingSet(), expected);
        EXPECT_EQ(f.prompt.shown().back().kind, QStringLiteral("color"));
        EXPECT_EQ(f.prompt.shown().back().caption, QString::fromLatin1(b.dialogTitle));
        ++k;
    }
    // The samples show the new colours at once; the settings wait for Ok.
    EXPECT_EQ(color(&dialog, QPalette::Window), expected[ColorRole::MainBackground]);
    EXPECT_EQ(color(child<QRadioButton>(dialog, "RadioSample"), QPalette::WindowText), expected[ColorRole::RadioText]);
    EXPECT_EQ(color(child<QListWidget>(dialog, "ListSample"), QPalette::Base), expected[ColorRole::ListBoxBackground]);
    EXPECT_NE(f.settings.colorSet(WindowFamily::Configure), expected);
    EXPECT_TRUE(f.prompt.allAnswersUsed());
}

TEST(ColorConfigDialog, OkStoresIntoTheFamilyOrAllFiveAndCancelStoresNothing)
{
    {
        Fixture f;
        const kv::Settings before = f.settings;
        TColorConfig dialog(f.workspace, ColorTarget::Edit);
        dialog.show();
        choosePreset(dialog, "Christmas Season");
        EXPECT_EQ(color(child<QLineEdit>(dialog, "EditSample"), QPalette::Base), QColor(255, 0, 0));
        QTest::mouseClick(child<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        kv::Settings expected = before;
        expected.colorSet(WindowFamily::Edit) = kv::withColorPreset(before.colorSet(WindowFamily::Edit), 8);
        EXPECT_EQ(f.settings, expected);
    }
    {
        Fixture f;
        TColorConfig dialog(f.workspace, ColorTarget::AllWindows);
        dialog.show();
        EXPECT_EQ(dialog.workingSet(), f.settings.colorSet(WindowFamily::Main));
        choosePreset(dialog, "Wine");
        QTest::mouseClick(child<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
        for (const kv::ColorSet &set : f.settings.colorSets)
            EXPECT_EQ(set, dialog.workingSet());
    }
    {
        Fixture f;
        const kv::Settings before = f.settings;
        TColorConfig dialog(f.workspace, ColorTarget::AllWindows);
        dialog.show();
        choosePreset(dialog, "Wine");
        QTest::mouseClick(child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(f.settings, before);
    }
}

TEST(ColorConfigDialog, KeyboardChoosesAPresetEnterIsOkEscapeIsCancel)
{
    Fixture f;
    const kv::Settings before = f.settings;
    {
        TColorConfig dialog(f.workspace, ColorTarget::Main);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto *presets = child<QComboBox>(dialog, "PresetList");
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Down); // "Monochrome"
        EXPECT_EQ(dialog.workingSet()[ColorRole::MainBackground], QColor(255, 255, 255));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(f.settings, before);
    }
    TColorConfig dialog(f.workspace, ColorTarget::Main);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto *presets = child<QComboBox>(dialog, "PresetList");
    presets->setFocus();
    QTest::keyClick(presets, Qt::Key_Down);
    QTest::keyClick(presets, Qt::Key_Down); // "Gray Mist"
    QTest::keyClick(presets, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.settings.colorSet(WindowFamily::Main)[ColorRole::MainBackground], QColor(192, 192, 192));

    // Tab walks the colour buttons in the order of the rows.
    TColorConfig again(f.workspace, ColorTarget::Main);
    again.show();
    again.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
    child<QPushButton>(again, "WindowBackgroundButton")->setFocus();
    QStringList order;
    for (int i = 0; i < 15; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"WindowBackgroundButton", "MajorTitlesButton", "MinorTitlesButton",
                                  "RadioTextButton", "RadioBackgroundButton", "CheckTextButton",
                                  "CheckBackgroundButton", "EditTextButton", "EditBackgroundButton",
                                  "ComboTextButton", "ComboBackgroundButton", "ListTextButton",
                                  "ListBackgroundButton", "PresetList", "OkButton"}));
}
