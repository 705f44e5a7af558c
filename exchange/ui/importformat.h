#pragma once
// The Import Format dialog: the kind of file to import, its character set and text
// format (found from the file, or chosen), then the file, whose first line (or fields)
// decide whether the import window opens.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QRadioButton;
class QPushButton;

namespace kv {

class TImportFormat : public StyledDialog {
    Q_OBJECT
public:
    explicit TImportFormat(Workspace &workspace, QWidget *parent = nullptr);
    ~TImportFormat() override;


    void SelectFileButtonClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &ws_;
    QRadioButton *AsciiButton = nullptr;
    QRadioButton *DbaseButton = nullptr;
    QComboBox *EncodingBox = nullptr;
    QComboBox *FormatBox = nullptr;
    QPushButton *SelectFileButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
