#pragma once
// The Import Format dialog: the kind of file to import, its character set and text
// format (found from the file, or chosen), then the file, whose first line (or fields)
// decide whether the import window opens.
#include "app/workspace/workspace.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QRadioButton;
class QPushButton;

namespace kv {

class TImportFormat : public QDialog {
    Q_OBJECT
public:
    explicit TImportFormat(Workspace &workspace, QWidget *parent = nullptr);
    ~TImportFormat() override;

    // The styling calls of the layer above: this dialog's and the import window's.
    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }
    void setImportStyler(Styler styler) { importStyler_ = std::move(styler); }

    void SelectFileButtonClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Workspace &ws_;
    Styler styler_;
    Styler importStyler_;
    QRadioButton *AsciiButton = nullptr;
    QRadioButton *DbaseButton = nullptr;
    QComboBox *EncodingBox = nullptr;
    QComboBox *FormatBox = nullptr;
    QPushButton *SelectFileButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
