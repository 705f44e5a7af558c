#pragma once
// The Options menu's display choices: date, currency and numeric formats, screen size,
// the user fonts and colours. Each changes the settings and the program's current
// formats and says whether anything changed, so that the windows can follow (the viewer
// re-reads, the fonts are applied again).
#include "app/settings/settings.h"
#include "base/prompt.h"

#include <QSize>

namespace kv {

// A date format choice 1 ... 12; true when it differs from the one in use.
bool chooseDateFormat(Settings &settings, int choice);
bool toggleLeadingZeros(Settings &settings);
// 1 U.S., 2 the regional setting.
void chooseCurrencyFormat(Settings &settings, int format);
void chooseNumericFormat(Settings &settings, int format);
// A screen size mode (640, 800, 1024, 1280). A mode the screen cannot hold is refused
// with its message and changes nothing. True when the mode changed.
bool chooseScreenSize(Settings &settings, Prompt &prompt, int mode, QSize screen);
// A user font through the font dialog. The label, edit and button fonts take only the
// face and the style, their size stays; the viewer's and the report label's fonts take
// the whole font with its size and effects. True when a font was chosen.
bool chooseFont(Settings &settings, Prompt &prompt, FontRole role, const QString &title);
// A colour through the colour dialog; true when one was chosen.
bool chooseColor(QColor &color, Prompt &prompt, const QString &title);

} // namespace kv
