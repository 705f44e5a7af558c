#pragma once
// The Search and Replace window: the field, the value to look for and its replacement,
// and the three counters of the run.
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

class TSearchAndReplace : public QDialog {
    Q_OBJECT
public:
    explicit TSearchAndReplace(Workspace &workspace, QWidget *parent = nullptr);

    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }

    void FieldListChange();
    void StartButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ReplaceRequest request() const;
    void showCounters(const ReplaceCounters &counters);

    Workspace &ws_;
    Styler styler_;
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
