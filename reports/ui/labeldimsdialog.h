#pragma once
// The user-defined label stock: six boxes per kind. Ok checks all twelve in order,
// takes them into the settings and writes the program settings.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "reports/labeldims.h"

#include <QDialog>
#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace kv {

class TLabelDims : public StyledDialog {
    Q_OBJECT
public:
    explicit TLabelDims(Workspace &workspace, QWidget *parent = nullptr);


    void OkButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &ws_;
    std::array<QLineEdit *, kLabelDimBoxes> boxes_{};
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
