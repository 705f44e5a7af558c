#pragma once
// The screen size modes of the Options menu. A mode names the screen a dialog was
// meant for; dialogs scale themselves by its factor, and a mode needs a screen at
// least as large as its own.
#include <QSize>
#include <QString>

namespace kv {

inline constexpr int kDefaultWindowSize = 640;
// The modes, smallest first.
inline constexpr int kWindowSizeModes[] = {640, 800, 1024, 1280};

// 1.0, 1.25, 1.6 or 2.0; 1.0 for a value that is not a mode.
double screenFactor(int mode);
// The smallest screen the mode needs; an empty size when any screen will do (640) or
// when the value is not a mode.
QSize minimumScreenSize(int mode);
bool isWindowSizeMode(int mode);
// True when the screen is at least as large as the mode needs. False for a value that
// is not a mode.
bool screenSupports(int mode, QSize screen);
// The mode to start with: the stored one, or 640 (silently) when the stored value is
// not a mode or the screen is too small for it.
int startupWindowSize(int storedMode, QSize screen);
// The refusal shown when a mode is chosen that the screen cannot hold
// ("Your current screen resolution does not support 800 x 600 pixels."); empty for
// 640 and for a value that is not a mode.
QString screenSizeRefusedMessage(int mode);

// A length scaled by a factor as whole percent: length * round(factor * 100) / 100,
// rounded to the nearest pixel.
int scaleLength(int length, double factor);
QSize scaleSize(QSize size, double factor);

// The size of the primary screen; 640 x 480 when there is none.
QSize primaryScreenSize();

} // namespace kv
