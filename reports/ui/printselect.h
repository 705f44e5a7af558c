#pragma once
// "Printer Selection": the default printer, another one of the system's printers, or a
// PDF file, kept as "Default Printer", "Printer Index" and "Print To PDF".
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
    QRadioButton *PdfFile;
    QComboBox *PrinterList;
    QPushButton *OkButton;
    QPushButton *CancelButton;

private:
    void OkButtonClick();
    Settings &settings_;
};

} // namespace kv
