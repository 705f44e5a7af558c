#pragma once
// A row of buttons reached from the keyboard as a toolbar is: each button takes the focus
// from the keyboard (never from a click, so the grid keeps it), Left and Right (Home, End)
// move along the row, Return presses the button as Space does.
class QAbstractButton;
class QString;
class QWidget;

namespace kv {

// The bar is named for screen readers and shown as a tool bar.
void makeKeyboardBar(QWidget *bar, const QString &name);
// The first button of the bar that can be pressed now; nullptr when none can.
QAbstractButton *firstBarButton(QWidget *bar);

} // namespace kv
