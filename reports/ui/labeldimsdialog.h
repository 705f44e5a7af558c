#pragma once
// The user-defined label stock: six boxes per kind. Ok checks all twelve in order,
// takes them into the settings and writes the program settings.
#include "app/workspace/workspace.h"
#include "reports/labeldims.h"

#include <QDialog>
#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace kv {

class TLabelDims : public QDialog {
    Q_OBJECT
public:
    explicit TLabelDims(Workspace &workspace, QWidget *parent = nullptr);

    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }

    void OkButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &ws_;
    Styler styler_;
    std::array<QLineEdit *, kLabelDimBoxes> boxes_{};
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
