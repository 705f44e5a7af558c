#pragma once
// Help, tips and about: what the Help menu and every Help button open.
#include <QIcon>
#include <QString>

class QApplication;
class QWidget;

namespace kv {

// Opens the help window at the topic of keyword, or at the contents when the keyword
// is empty or unknown. There is one help window per program: a second call reuses it.
// It stays open beside the program; asked for from a modal dialog, it is modal itself
// until closed, so that it can be read while the dialog waits.
void showHelp(QWidget *parent, const QString &keyword = {});

// Tags a window (or a part of one, such as a notebook page) with the keyword of its
// help topic, for F1. An empty keyword removes the tag.
void setHelpKeyword(QWidget *window, const QString &keyword);
// The keyword F1 opens for a widget: its own tag or that of the nearest tagged widget
// above it; empty when there is none.
QString helpKeyword(const QWidget *widget);

// Makes F1 open the help anywhere in the program, at the topic of the window in front:
// the active modal dialog, else the active window, else the window the key was pressed
// in; starting from the focus widget when it lies in that window, the first tag found
// on the way up decides. Without a tag the help opens at its contents. Installing
// twice changes nothing.
void installHelpKey(QApplication &app);

// What the tip of the day starts from and leaves behind, for the program settings to
// keep from one start to the next: its "Show Tips at Startup" box and the number of
// the tip to show first, any whole number, taken modulo the number of tips.
struct TipsState {
    bool showAtStartup = true;
    int nextTip = 0;
    bool operator==(const TipsState &) const = default;
};

// Shows the tip-of-the-day window modally, from state. Returns the box's state when
// the window closes and the number of the tip after the one shown last.
TipsState showTipOfTheDay(QWidget *parent, const TipsState &state);

// The about box, modal.
void showAbout(QWidget *parent);

// The program's icon, for window icons.
QIcon applicationIcon();

} // namespace kv
