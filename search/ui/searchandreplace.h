#pragma once
// The Search and Replace window: the field, the value to look for and its replacement,
// and the three counters of the run.
#include "app/style/styleddialog.h"
#include "search/replace.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kv {

class Workspace;

class TSearchAndReplace : public StyledDialog {
    Q_OBJECT
public:
    explicit TSearchAndReplace(Workspace &workspace, QWidget *parent = nullptr);


    void FieldListChange();
    void StartButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ReplaceRequest request() const;
    void showCounters(const ReplaceCounters &counters);

    Workspace &ws_;
    QComboBox *FieldList = nullptr;
    QLineEdit *SearchEdit = nullptr;
    QLineEdit *ReplaceEdit = nullptr;
    QCheckBox *ConfirmCheck = nullptr;
    QPushButton *StartButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QLabel *ProcessedValue = nullptr;
    QLabel *FoundValue = nullptr;
    QLabel *ChangedValue = nullptr;
};

} // namespace kv
