#pragma once
// The label options: which of the eight items a label shows, and the label font. The
// items are stored in the settings when the dialog closes, the font when it is chosen.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kv {

class TLabelOptions : public StyledDialog {
    Q_OBJECT
public:
    explicit TLabelOptions(Workspace &workspace, QWidget *parent = nullptr);


    void NewButtonClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &ws_;
    std::array<QCheckBox *, 8> items_{};
    QLabel *FontToUse = nullptr;
    QPushButton *NewButton = nullptr;
    QPushButton *OkButton = nullptr;
};

} // namespace kv
