#pragma once
// The import window: the catalogue fields beside the import fields, moved into place
// with Up and Down, chosen with the USE column; Start Import appends the records while
// the count runs, and Escape or Cancel stops it, keeping what was imported.
#include "app/workspace/workspace.h"
#include "exchange/exchangegrids.h"
#include "exchange/import.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kv {

class WindowProgress;

class TMyImport : public QDialog {
    Q_OBJECT
public:
    TMyImport(Workspace &workspace, ImportKind kind, const QString &path, const QStringList &importNames,
              QWidget *parent = nullptr);
    ~TMyImport() override;

    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }

    const ImportGrid &grid() const { return grid_; }

    void UpButtonClick();
    void DownButtonClick();
    void StartButtonClick();
    void CancelButtonClick();
    void ImportGridDblClick(int row, int column);
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showGrid();
    void setRunning(bool on);

    Workspace &ws_;
    ImportKind kind_;
    QString path_;
    QStringList names_;
    ImportGrid grid_;
    Styler styler_;
    WindowProgress *running_ = nullptr;
    QTableWidget *ImportGrid_ = nullptr;
    QPushButton *UpButton = nullptr;
    QPushButton *DownButton = nullptr;
    QCheckBox *SkipFirst = nullptr;
    QLabel *CountLabel = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *ExitButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
