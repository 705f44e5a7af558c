#pragma once
// The export window: the fields in export order with their Yes/No, what to export (the
// whole catalogue or the search result), how (text or dBASE), and Start Export with its
// gauge; Escape or Cancel stops a running export, keeping what was written.
#include "exchange/exchangegrids.h"
#include "exchange/ui/exchangewindow.h"

class QCheckBox;
class QComboBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kv {

class TMyExport : public ExchangeWindow {
    Q_OBJECT
public:
    explicit TMyExport(Workspace &workspace, QWidget *parent = nullptr);
    ~TMyExport() override;

    const ExportGrid &grid() const { return grid_; }

    void UpButtonClick();
    void DownButtonClick();
    void DefaultsButtonClick();
    void StartButtonClick();
    void ExportGridDblClick(int row, int column);

protected:
    void storeSettings() override;
    QList<QWidget *> lockedWhileRunning() const override;

private:
    void showGrid();
    void showKind();

    ExportGrid grid_;
    QTableWidget *ExportGrid_ = nullptr;
    QPushButton *UpButton = nullptr;
    QPushButton *DownButton = nullptr;
    QPushButton *DefaultsButton = nullptr;
    QRadioButton *EntireButton = nullptr;
    QRadioButton *SearchButton = nullptr;
    QRadioButton *AsciiButton = nullptr;
    QRadioButton *DbaseButton = nullptr;
    QCheckBox *FirstRow = nullptr;
    QComboBox *EncodingBox = nullptr;
    QProgressBar *Gauge = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *ExitButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
