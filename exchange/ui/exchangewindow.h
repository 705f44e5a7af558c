#pragma once
// What the import and export windows share: their buttons, moving the current grid row,
// and running the long work with its progress shown, the controls locked meanwhile and
// Escape, Cancel or closing the window stopping it.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "exchange/ui/windowprogress.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTableWidget;

namespace kv {

class ExchangeWindow : public StyledDialog {
    Q_OBJECT
public:

    void CancelButtonClick();
    void done(int result) override;

protected:
    ExchangeWindow(Workspace &workspace, QWidget *parent);
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    QPushButton *addButton(const char *name, const char *caption, std::function<void()> click);
    // The current row moved by delta when move(row) allows it, and the selection with it;
    // false when nothing moved.
    bool moveCurrentRow(QTableWidget *grid, int delta, const std::function<bool(int)> &move);
    bool running() const { return running_ != nullptr; }
    // Runs work with the hourglass, the window's controls but Cancel disabled; false when
    // it failed (the user has been told). progress is told to stop by Escape or Cancel.
    bool run(WindowProgress &progress, const std::function<void()> &work);
    // What closing the window keeps, in any way it closes.
    virtual void storeSettings() = 0;
    // Every control that waits while the work runs.
    virtual QList<QWidget *> lockedWhileRunning() const = 0;

    Workspace &ws_;
    QPushButton *CancelButton = nullptr;

private:
    WindowProgress *running_ = nullptr;
};

} // namespace kv
