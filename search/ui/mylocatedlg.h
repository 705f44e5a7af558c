#pragma once
// The Locate dialog: asks for the field, the value and how to match them, and finds the
// first or the next matching record of the table. What it was given stays remembered in
// the options it works on.
#include "app/style/styleddialog.h"
#include "search/locate.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class TMyLocateDlg : public StyledDialog {
    Q_OBJECT
public:
    TMyLocateDlg(Table &table, LocateOptions &options, Prompt &prompt, QWidget *parent = nullptr);


    // Shows the dialog modally; true only when it was closed by a successful find.
    bool Execute();

    void FirstButtonClick();
    void NextButtonClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void fillControls();
    void readControls();
    void find(bool fromStart);

    Table &table_;
    LocateOptions &options_;
    Prompt &prompt_;
    bool found_ = false;
    QComboBox *FieldList = nullptr;
    QCheckBox *CaseCheck = nullptr;
    QRadioButton *ExactRadio = nullptr;
    QRadioButton *BeginningRadio = nullptr;
    QRadioButton *AnywhereRadio = nullptr;
    QLineEdit *ValueEdit = nullptr;
    QPushButton *FirstButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
