#pragma once
// How every window of the program takes the user's look: the label, edit and button
// fonts, the colour set of its window family, and for dialogs the screen size mode's
// scale and a place in the middle of the screen.
#include "app/settings/settings.h"

class QWidget;

namespace kv {

// Labels that are titles carry this property, "major" or "minor", and take the major
// or minor title colour of the colour set.
inline constexpr char kTitleProperty[] = "kvTitle";
enum class TitleKind { Major, Minor };
void markTitle(QWidget *label, TitleKind kind);

// A label drawn in a colour of its own ("#c00000") carries it in this property; the
// colour set's styling makes it read on the window's background.
inline constexpr char kMarkColorProperty[] = "kvMarkColor";

// Gives the window's controls the user's fonts: labels, list boxes, check boxes,
// radio buttons and group boxes the label font; edit boxes (masked and multi-line
// ones too), spin and date boxes, string grids (QTableWidget) and combo boxes the
// edit font; push buttons the button font. Only the face and bold/italic are taken;
// each control keeps its size and colour. Child windows are left to themselves, and
// so are the insides of composite controls (a combo box's list, a grid's editors).
void applyUserFonts(QWidget *window, const Settings &s);

// Paints the window in a colour set through palettes, so user fonts stay untouched:
// the window's background in the main background (its labels, group boxes and other
// plain parts show it too), title labels in the major or minor title colour, and edit
// boxes, combo boxes, list boxes, radio buttons and check boxes in their own
// background and text colours.
void applyColorSet(QWidget *window, const ColorSet &colors);

// Scales a window for the screen size mode's factor: every font, then the window's
// size and the designed geometry of its parts. Controls placed by a layout follow the
// layout; controls placed by hand (no layout in their parent) move and grow by the
// factor, and fixed or limited sizes scale with them. The window remembers its
// factor: scaling again to the same one changes nothing, to another one scales by
// the ratio between the two, so showing a dialog twice never grows it twice.
void scaleWindow(QWidget *window, double factor);

// Moves the window to the middle of the primary screen's available area, keeping its
// top-left corner on that screen.
void centreOnScreen(QWidget *window);

// Where a dialog goes when it is shown: the middle of the screen, or 10 pixels higher
// when that leaves more than 10 pixels above it.
enum class Placement { Centred, CentredRaised };

// Gives every control of the window that a screen reader would find without a name one:
// a control a label is the buddy of, where Qt cannot find that label beside it (the label
// outside the control's row, a grid), the label's text; a button that shows only an icon,
// its tooltip or status tip. Names given here are brought up to date each time, names the
// window gives itself are kept.
void nameControls(QWidget *window);

// What every window does when it is shown: the user fonts and the colour set of its
// family; a dialog (any family but the main window's) also takes the screen size mode's
// scale (s.windowSize) and its place on the screen. The main window keeps its size and
// place. Its controls are named for screen readers (nameControls).
void styleWindow(QWidget *window, WindowFamily family, const Settings &s, Placement placement = Placement::Centred);

} // namespace kv
