#pragma once
// Help, tips and about: what the Help menu and every Help button open.
#include <QIcon>
#include <QString>

class QWidget;

namespace kv {

// Opens the help window at the topic of keyword, or at the contents when the keyword
// is empty or unknown. There is one help window per program: a second call reuses it.
// It stays open beside the program; asked for from a modal dialog, it is modal itself
// until closed, so that it can be read while the dialog waits.
void showHelp(QWidget *parent, const QString &keyword = {});

// Shows the tip-of-the-day window modally, with its "Show Tips at Startup" box set to
// showTipsAtStartup; returns the box's state when the window closes. Each showing
// starts with the tip after the one shown last.
bool showTipOfTheDay(QWidget *parent, bool showTipsAtStartup);

// The about box, modal.
void showAbout(QWidget *parent);

// The program's icon, for window icons.
QIcon applicationIcon();

} // namespace kv
