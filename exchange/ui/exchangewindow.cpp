#include "exchange/ui/exchangewindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

namespace kv {

namespace {
// The hourglass for the scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

ExchangeWindow::ExchangeWindow(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Configure, parent, Placement::CentredRaised), ws_(workspace)
{
    CancelButton = addButton("CancelButton", "&Cancel", [this] { CancelButtonClick(); });
    CancelButton->setEnabled(false);
}

QPushButton *ExchangeWindow::addButton(const char *name, const char *caption, std::function<void()> click)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [click] { click(); });
    return b;
}

void ExchangeWindow::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

bool ExchangeWindow::moveCurrentRow(QTableWidget *grid, int delta, const std::function<bool(int)> &move)
{
    const int r = grid->currentRow();
    if (!move(r))
        return false;
    grid->setCurrentCell(r + delta, grid->currentColumn());
    return true;
}

bool ExchangeWindow::run(WindowProgress &progress, const std::function<void()> &work)
{
    running_ = &progress;
    const QList<QWidget *> locked = lockedWhileRunning();
    QList<bool> enabled;
    for (QWidget *w : locked) {
        enabled << w->isEnabled();
        w->setEnabled(false);
    }
    CancelButton->setEnabled(true);
    bool ok = false;
    {
        WaitCursor wait;
        ok = ws_.attempt(work);
    }
    progress.finish();
    running_ = nullptr;
    CancelButton->setEnabled(false);
    for (qsizetype i = 0; i < locked.size(); ++i)
        locked[i]->setEnabled(enabled[i]);
    return ok;
}

void ExchangeWindow::CancelButtonClick()
{
    if (running_)
        running_->cancel();
}

void ExchangeWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && running_) {
        running_->cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ExchangeWindow::done(int result)
{
    if (running_) {
        // Closing while the work runs stops it first.
        running_->cancel();
        return;
    }
    storeSettings();
    QDialog::done(result);
}

} // namespace kv
