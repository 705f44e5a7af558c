#include "app/display/colorconfig.h"

#include <iterator>

namespace kv {

namespace {

struct Rgb {
    int r, g, b;
    QColor color() const { return QColor(r, g, b); }
};

struct ColorPreset {
    const char *name;
    Rgb mainBackground, majorTitle, minorTitle, editBackground, editText, radioText;
};

const ColorPreset kPresets[] = {
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
constexpr int kPresetCount = int(std::size(kPresets));

} // namespace

ColorSet startingColorSet(const Settings &s, ColorTarget target)
{
    return target == ColorTarget::AllWindows ? s.colorSet(WindowFamily::Main) : s.colorSet(WindowFamily(int(target)));
}

void storeColorSet(Settings &s, ColorTarget target, const ColorSet &edited)
{
    if (target == ColorTarget::AllWindows)
        s.colorSets.fill(edited);
    else
        s.colorSet(WindowFamily(int(target))) = edited;
}

QStringList colorPresetEntries()
{
    QStringList entries{QString()};
    for (const ColorPreset &p : kPresets)
        entries << QString::fromLatin1(p.name);
    return entries;
}

ColorSet withColorPreset(ColorSet set, int entry)
{
    if (entry < 1 || entry > kPresetCount)
        return set;
    const ColorPreset &p = kPresets[entry - 1];
    set[ColorRole::MainBackground] = p.mainBackground.color();
    set[ColorRole::MajorTitle] = p.majorTitle.color();
    set[ColorRole::MinorTitle] = p.minorTitle.color();
    set[ColorRole::EditBackground] = p.editBackground.color();
    set[ColorRole::EditText] = p.editText.color();
    set[ColorRole::RadioText] = p.radioText.color();

    set[ColorRole::ComboBackground] = set[ColorRole::ListBoxBackground] = set[ColorRole::EditBackground];
    set[ColorRole::ComboText] = set[ColorRole::ListBoxText] = set[ColorRole::EditText];
    set[ColorRole::RadioBackground] = set[ColorRole::CheckBackground] = set[ColorRole::MainBackground];
    set[ColorRole::CheckText] = set[ColorRole::RadioText];
    return set;
}

} // namespace kv
