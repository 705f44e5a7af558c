#pragma once
// The media-number picker: the catalogue's media numbers and titles in the order of the
// file, read through a table object of its own so the viewer's order, search and current
// record stay as they are. Ok takes the current row's media number.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPushButton;
class QTableView;

namespace kv {

class TChooseMedia : public StyledDialog {
    Q_OBJECT
public:
    // Opens the workspace's catalogue read-only; a failure is told to the user and the grid
    // stays empty.
    explicit TChooseMedia(Workspace &workspace, QWidget *parent = nullptr);
    ~TChooseMedia() override;


    // After Ok: the chosen media number, for the grid cell that was double-clicked.
    QString chosen() const { return chosen_; }

    void OkButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    class Model;
    Workspace &ws_;
    std::unique_ptr<Table> table_;
    Model *model_ = nullptr;
    QString chosen_;
    QTableView *MediaGrid = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
