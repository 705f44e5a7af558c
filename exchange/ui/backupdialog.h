#pragma once
// What the Backup and Restore windows share: the four kinds to choose from, the start,
// cancel and help buttons, and a run with its progress. While a file is copied the
// window keeps painting and "&Cancel" stops the copy (the older file stays); after a
// run that was not stopped, "&Cancel" becomes "&Close" and takes the focus.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "exchange/backup.h"

#include <QDialog>
#include <array>
#include <functional>

class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kv {

class ExchangeDialog : public StyledDialog {
    Q_OBJECT
public:
    // A window's texts.
    struct Captions {
        const char *objectName;
        const char *title;
        const char *panel;
        std::array<const char *, 4> kinds; // table, lists, settings, report definitions
        const char *start;
    };


    ExchangeKind kind() const;
    void setKind(ExchangeKind kind);
    // True while a file is being copied.
    bool busy() const { return busy_; }

    void CancelButtonClick();
    void HelpButtonClick();
    // Escape and the close box: while a file is copied they stop the copy instead.
    void reject() override;

protected:
    ExchangeDialog(Workspace &workspace, const Captions &captions, QSize client, QWidget *parent);
    void showEvent(QShowEvent *event) override;

    // Runs one backup or restore: the window locked, the hourglass, progress shown.
    ExchangeOutcome run(const std::function<ExchangeOutcome(const CopyControl &)> &work);

    Workspace &ws_;
    QGroupBox *KindPanel = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;
    QProgressBar *Progress = nullptr;

private:
    virtual void FormShow() = 0;

    std::array<QRadioButton *, 4> kindButtons_{};
    bool busy_ = false;
    bool cancelled_ = false;
};

} // namespace kv
