#pragma once
// The import window: the catalogue fields beside the import fields, moved into place
// with Up and Down or lined up by their names, chosen with the USE column; Start Import appends the records while
// the count runs, and Escape or Cancel stops it, keeping what was imported.
#include "exchange/exchangegrids.h"
#include "exchange/import.h"
#include "exchange/ui/exchangewindow.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kv {

class TMyImport : public ExchangeWindow {
    Q_OBJECT
public:
    TMyImport(Workspace &workspace, ImportKind kind, const QString &path, const QStringList &importNames,
              QWidget *parent = nullptr);
    ~TMyImport() override;

    const ImportGrid &grid() const { return grid_; }
    // How the file is read (dBASE: only its character set); chosen: the user chose it
    // rather than its being found from the file. Shown above the count.
    void setTextFormat(const TextFormat &format, bool chosen);

    void UpButtonClick();
    void DownButtonClick();
    void MatchNamesButtonClick();
    void StartButtonClick();
    void ImportGridDblClick(int row, int column);

protected:
    void storeSettings() override;
    QList<QWidget *> lockedWhileRunning() const override;

private:
    void showGrid();

    ImportKind kind_;
    QString path_;
    QStringList names_;
    ImportGrid grid_;
    TextFormat format_;
    bool restored_ = false; // the grid as the last import of these fields left it
    bool formatGiven_ = false; // else a dBASE table's character set follows the table
    QTableWidget *ImportGrid_ = nullptr;
    QPushButton *UpButton = nullptr;
    QPushButton *DownButton = nullptr;
    QPushButton *MatchNamesButton = nullptr;
    QCheckBox *SkipFirst = nullptr;
    QLabel *FoundLabel = nullptr;
    QLabel *CountLabel = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *ExitButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
