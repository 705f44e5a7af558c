#pragma once
// Room for every caption: after a window takes the user's fonts and the screen factor,
// no label or button text is cut ("Partial Match at Beginnin").
class QWidget;

namespace kv {

// The width a label's or button's text needs in its font; 0 for other widgets and
// for labels that wrap their text.
int textRoom(const QWidget *control);

// Widens what the window shows cut: a hand-placed control grows, pushing what stands
// to its right along and widening the boxes and the window that hold it; a window laid
// out by a layout grows to the layout's minimum size.
void fitTexts(QWidget *window);

} // namespace kv
