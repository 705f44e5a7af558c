#pragma once
// "Printer Selection": the default printer, another one of the system's printers, or a
// PDF file, kept as "Default Printer", "Printer Index" and "Print To PDF"; and the paper
// of PDF files (the locale's until the user picks another).
#include "app/settings/settings.h"

#include <QDialog>
#include <QPageSize>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace kv {

class TPrintSelect : public QDialog {
    Q_OBJECT
public:
    // pdfPaper, when given, is shown and set by Ok.
    TPrintSelect(Settings &settings, const QStringList &printers, QWidget *parent = nullptr,
                 QPageSize::PageSizeId *pdfPaper = nullptr);

    QRadioButton *DefaultPrinter;
    QRadioButton *OtherPrinter;
    QRadioButton *PdfFile;
    QComboBox *PrinterList;
    QComboBox *PdfPaper;
    QPushButton *OkButton;
    QPushButton *CancelButton;

private:
    void OkButtonClick();
    Settings &settings_;
    QPageSize::PageSizeId *pdfPaper_;
};

} // namespace kv
