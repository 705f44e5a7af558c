// The Color Configuration's rules, without a window.
#include "app/display/colorconfig.h"

#include <gtest/gtest.h>

using kv::ColorRole;
using kv::ColorSet;
using kv::ColorTarget;
using kv::WindowFamily;

namespace {

// Every colour of the set different, so that a colour in the wrong role shows.
ColorSet distinctColors(int shift)
{
    ColorSet set;
    for (int k = 0; k < kv::kColorRoleCount; ++k)
        set.colors[size_t(k)] = QColor((17 * k + shift) % 256, (90 + 13 * k + shift) % 256, (200 - 7 * k) % 256);
    return set;
}

kv::Settings settingsWithDistinctSets()
{
    kv::Settings s;
    for (int family = 0; family < kv::kWindowFamilyCount; ++family)
        s.colorSets[size_t(family)] = distinctColors(40 * family);
    return s;
}

} // namespace

TEST(ColorConfig, PresetsSetTheirSixColoursAndDeriveTheOthers)
{
    struct Rgb {
        int r, g, b;
    };
    const struct {
        const char *name;
        Rgb main, major, minor, editBack, editText, radioText;
    } presets[] = {
        {"Monochrome", {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}},
        {"Gray Mist", {192, 192, 192}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}},
        {"Midnight Black", {0, 0, 0}, {192, 192, 192}, {255, 255, 255}, {127, 127, 127}, {0, 0, 0}, {255, 255, 255}},
        {"Desert Sunset", {255, 255, 128}, {0, 0, 0}, {0, 0, 0}, {255, 255, 0}, {0, 0, 0}, {0, 0, 0}},
        {"Easter Pastel", {255, 128, 255}, {0, 0, 255}, {0, 0, 0}, {128, 0, 128}, {0, 255, 255}, {0, 0, 0}},
        {"Ocean Blue", {0, 255, 255}, {255, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 128}, {0, 0, 0}},
        {"Fiery Red", {255, 0, 0}, {0, 0, 128}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 0}},
        {"Christmas Season", {0, 255, 0}, {255, 255, 255}, {255, 0, 0}, {255, 0, 0}, {255, 255, 255}, {255, 0, 0}},
        {"Wine", {128, 0, 64}, {255, 0, 0}, {255, 0, 255}, {128, 0, 128}, {255, 0, 0}, {255, 0, 255}},
        {"More Pastels", {0, 255, 128}, {255, 0, 255}, {128, 0, 128}, {0, 255, 255}, {0, 0, 255}, {128, 0, 128}},
        {"Green Glow", {0, 0, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 0, 0}, {0, 255, 0}},
        {"Camouflage", {128, 128, 0}, {0, 128, 0}, {127, 127, 127}, {0, 128, 128}, {192, 192, 192}, {127, 127, 127}},
    };
    const QStringList entries = kv::colorPresetEntries();
    ASSERT_EQ(entries.size(), 13);
    EXPECT_EQ(entries.first(), QString()) << "the list starts with an empty entry";

    const ColorSet before = distinctColors(3);
    for (int i = 0; i < 12; ++i) {
        const auto &p = presets[i];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(entries.at(i + 1), QString::fromLatin1(p.name));
        const ColorSet set = kv::withColorPreset(before, i + 1);
        const auto color = [](Rgb c) { return QColor(c.r, c.g, c.b); };
        EXPECT_EQ(set[ColorRole::MainBackground], color(p.main));
        EXPECT_EQ(set[ColorRole::MajorTitle], color(p.major));
        EXPECT_EQ(set[ColorRole::MinorTitle], color(p.minor));
        EXPECT_EQ(set[ColorRole::EditBackground], color(p.editBack));
        EXPECT_EQ(set[ColorRole::EditText], color(p.editText));
        EXPECT_EQ(set[ColorRole::RadioText], color(p.radioText));
        EXPECT_EQ(set[ColorRole::ComboBackground], color(p.editBack));
        EXPECT_EQ(set[ColorRole::ListBoxBackground], color(p.editBack));
        EXPECT_EQ(set[ColorRole::ComboText], color(p.editText));
        EXPECT_EQ(set[ColorRole::ListBoxText], color(p.editText));
        EXPECT_EQ(set[ColorRole::RadioBackground], color(p.main));
        EXPECT_EQ(set[ColorRole::CheckBackground], color(p.main));
        EXPECT_EQ(set[ColorRole::CheckText], color(p.radioText));
    }
    for (int entry : {0, -1, 13})
        EXPECT_EQ(kv::withColorPreset(before, entry), before) << entry;
}

TEST(ColorConfig, OneFamilyOrAllWindowsStartFromTheirSetAndStoreInto)
{
    const kv::Settings original = settingsWithDistinctSets();
    const ColorSet edited = distinctColors(201);
    const struct {
        ColorTarget target;
        WindowFamily family;
    } families[] = {{ColorTarget::Main, WindowFamily::Main},       {ColorTarget::Edit, WindowFamily::Edit},
                    {ColorTarget::Search, WindowFamily::Search},   {ColorTarget::Report, WindowFamily::Report},
                    {ColorTarget::Configure, WindowFamily::Configure}};
    for (const auto &f : families) {
        SCOPED_TRACE(int(f.family));
        kv::Settings s = original;
        EXPECT_EQ(kv::startingColorSet(s, f.target), s.colorSet(f.family));
        kv::storeColorSet(s, f.target, edited);
        kv::Settings expected = original;
        expected.colorSet(f.family) = edited;
        EXPECT_EQ(s, expected) << "only that family's set changes";
    }

    kv::Settings s = original;
    EXPECT_EQ(kv::startingColorSet(s, ColorTarget::AllWindows), s.colorSet(WindowFamily::Main));
    kv::storeColorSet(s, ColorTarget::AllWindows, edited);
    for (const ColorSet &set : s.colorSets)
        EXPECT_EQ(set, edited);
}
