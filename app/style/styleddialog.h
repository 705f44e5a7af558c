#pragma once
// The base of the program's dialogs: a dialog knows its window family and where it goes
// on the screen, and takes the user's look for them itself, from the settings of the
// window that opens it (in the end the main window's). It also runs the windows it
// opens, through a runner that tests replace to drive them.
#include "app/style/windowstyle.h"

#include <QDialog>

namespace kv {

// A window that others open and that knows the user's look (the main window).
class LookOwner {
public:
    virtual ~LookOwner() = default;
    // nullptr while the window knows no look (a window built on its own in a test).
    virtual const Settings *lookSettings() const = 0;
};

// A plain window that holds a look for the windows opened from it (where no main window
// is, as in a benchmark).
class LookHolder : public QWidget, public LookOwner {
public:
    explicit LookHolder(const Settings &settings) : settings_(settings) {}
    const Settings *lookSettings() const override { return &settings_; }

private:
    const Settings &settings_;
};

// How a window runs the windows it opens: modal, or shown and left open.
class WindowRunner {
public:
    virtual ~WindowRunner() = default;
    virtual int exec(QDialog &dialog) { return dialog.exec(); }
    virtual void show(QDialog &dialog) { dialog.show(); }
};

class StyledDialog : public QDialog, public LookOwner {
    Q_OBJECT
public:
    StyledDialog(WindowFamily family, QWidget *parent = nullptr, Placement placement = Placement::Centred);

    WindowFamily family() const { return family_; }
    // The settings the look is taken from; nullptr while no window around this one knows
    // them, and the dialog is then left as it is.
    const Settings *lookSettings() const override;

    // Gives the dialog its family's look and its place (styleWindow).
    virtual void style();
    // A window this one opens that is no styled dialog itself (a preview, a status
    // window) in this one's family.
    void styleChild(QWidget *window, Placement placement = Placement::Centred) const;

    // A test's runner for the windows this one opens; nullptr for exec() and show().
    void setRunner(WindowRunner *runner) { runner_ = runner; }
    int execChild(QDialog &dialog);
    void showChild(QDialog &dialog);
    WindowRunner *runner() const { return runner_; }

private:
    WindowFamily family_;
    Placement placement_;
    WindowRunner *runner_ = nullptr;
};

// The nearest styled dialog at or around widget (nullptr when there is none).
StyledDialog *styledDialogOf(QWidget *widget);

} // namespace kv
