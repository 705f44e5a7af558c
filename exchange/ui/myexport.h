#pragma once
// The export window: the fields in export order with their Yes/No, what to export (the
// whole catalogue or the search result), how (text or dBASE), and Start Export with its
// gauge; Escape or Cancel stops a running export, keeping what was written.
#include "app/workspace/workspace.h"
#include "exchange/exchangegrids.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kv {

class WindowProgress;

class TMyExport : public QDialog {
    Q_OBJECT
public:
    explicit TMyExport(Workspace &workspace, QWidget *parent = nullptr);
    ~TMyExport() override;

    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }

    const ExportGrid &grid() const { return grid_; }

    void UpButtonClick();
    void DownButtonClick();
    void DefaultsButtonClick();
    void StartButtonClick();
    void CancelButtonClick();
    void ExportGridDblClick(int row, int column);
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showGrid();
    void showKind();
    void storeSettings();
    void setRunning(bool on);

    Workspace &ws_;
    ExportGrid grid_;
    Styler styler_;
    WindowProgress *running_ = nullptr;
    QTableWidget *ExportGrid_ = nullptr;
    QPushButton *UpButton = nullptr;
    QPushButton *DownButton = nullptr;
    QPushButton *DefaultsButton = nullptr;
    QRadioButton *EntireButton = nullptr;
    QRadioButton *SearchButton = nullptr;
    QRadioButton *AsciiButton = nullptr;
    QRadioButton *DbaseButton = nullptr;
    QCheckBox *FirstRow = nullptr;
    QProgressBar *Gauge = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *ExitButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
