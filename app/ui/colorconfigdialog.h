#pragma once
// The Color Configuration dialog: samples of a window family's colours, a button per
// colour, the predefined combinations; Ok stores the edited colours for that family or
// for all of them.
#include "app/display/colorconfig.h"
#include "app/workspace/workspace.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace kv {

class TColorConfig : public QDialog {
    Q_OBJECT
public:
    TColorConfig(Workspace &workspace, ColorTarget target, QWidget *parent = nullptr);

    // The colours as the samples show them.
    const ColorSet &workingSet() const { return working_; }

protected:
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void PresetListChange(int entry);
    void OkButtonClick();
    void CancelButtonClick();

private:
    void FormShow();
    void chooseColorOf(ColorRole role, const QString &title);
    void paintSamples();

    Workspace &ws_;
    ColorTarget target_;
    ColorSet working_;
    QComboBox *PresetList = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
