#pragma once
// "Page Printing": the first and last page to print from the preview.
#include "base/prompt.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {

class TPrintRange : public QDialog {
    Q_OBJECT
public:
    TPrintRange(int pageCount, Prompt &prompt, QWidget *parent = nullptr);

    int firstPage() const { return first_; }
    int lastPage() const { return last_; }

    QLineEdit *StartPage;
    QLineEdit *EndPage;
    QPushButton *PrintButton;
    QPushButton *CancelButton;

private:
    void PrintButtonClick();
    int pageCount_;
    Prompt &prompt_;
    int first_ = 0, last_ = 0;
};

} // namespace kv
