#pragma once
// A window's own commands come before the editing keys of its boxes: Qt's line edits,
// combo boxes and spin boxes claim Ctrl+U, Ctrl+E, Ctrl+X and the like for themselves,
// which would wipe a typed title instead of running "Update & Exit".
class QApplication;
class QKeyEvent;
class QWidget;

namespace kv {

// True when key, pressed with Ctrl or Alt, is the shortcut of an enabled command of
// the window that holds widget.
bool isWindowCommandKey(const QWidget *widget, const QKeyEvent &key);

// Makes every window's command keys win over its boxes, program-wide. Installing twice
// changes nothing.
void installCommandKeys(QApplication &app);

} // namespace kv
