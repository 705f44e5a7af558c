#pragma once
// "Printer Selection": the default printer or another one of the system's printers,
// kept as "Default Printer" and "Printer Index".
#include "app/settings/settings.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace kv {

class TPrintSelect : public QDialog {
    Q_OBJECT
public:
    TPrintSelect(Settings &settings, const QStringList &printers, QWidget *parent = nullptr);

    QRadioButton *DefaultPrinter;
    QRadioButton *OtherPrinter;
    QComboBox *PrinterList;
    QPushButton *OkButton;
    QPushButton *CancelButton;

private:
    void OkButtonClick();
    Settings &settings_;
};

} // namespace kv
