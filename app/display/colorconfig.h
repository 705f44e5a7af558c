#pragma once
// The rules of the Color Configuration: which colour set it edits, the predefined colour
// combinations, and where Ok puts the edited copy.
#include "app/settings/settings.h"

#include <QStringList>

namespace kv {

// What the dialog was opened for: one window family's set (in the order of
// WindowFamily), or all five at once.
enum class ColorTarget { Main, Edit, Search, Report, Configure, AllWindows };

// The set the dialog starts from: the family's own, the main window's for all windows.
ColorSet startingColorSet(const Settings &s, ColorTarget target);

// Ok: the edited set becomes the family's set, or every family's set.
void storeColorSet(Settings &s, ColorTarget target, const ColorSet &edited);

// The entries of "Predefined Color Combinations": an empty one, then the twelve presets.
QStringList colorPresetEntries();

// The set after choosing entry 1 ... 12 of that list: the preset's main background,
// titles, edit box colours and radio text, and the colours derived from them (combo and
// list boxes as the edit box, radio and check backgrounds as the main background, the
// check text as the radio text). The empty entry 0, or any other number, changes nothing.
ColorSet withColorPreset(ColorSet set, int entry);

} // namespace kv
