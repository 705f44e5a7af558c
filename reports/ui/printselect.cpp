#include "printselect.h"

#include "help/help.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

TPrintSelect::TPrintSelect(Settings &settings, const QStringList &printers, QWidget *parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("TPrintSelect"));
    setWindowTitle(QStringLiteral("Printer Selection"));
    auto *layout = new QVBoxLayout(this);
    DefaultPrinter = new QRadioButton(QStringLiteral("Default Printer"), this);
    DefaultPrinter->setObjectName(QStringLiteral("DefaultPrinter"));
    OtherPrinter = new QRadioButton(QStringLiteral("Other Printer"), this);
    OtherPrinter->setObjectName(QStringLiteral("OtherPrinter"));
    PdfFile = new QRadioButton(QStringLiteral("PDF File"), this);
    PdfFile->setObjectName(QStringLiteral("PdfFile"));
    PrinterList = new QComboBox(this);
    PrinterList->setObjectName(QStringLiteral("PrinterList"));
    PrinterList->addItems(printers);
    auto *buttons = new QDialogButtonBox(this);
    OkButton = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(DefaultPrinter);
    layout->addWidget(OtherPrinter);
    layout->addWidget(PrinterList);
    layout->addWidget(PdfFile);
    layout->addWidget(buttons);

    (settings.printToPdf ? PdfFile : settings.defaultPrinter ? DefaultPrinter : OtherPrinter)->setChecked(true);
    if (settings.printerIndex >= 0 && settings.printerIndex < printers.size())
        PrinterList->setCurrentIndex(settings.printerIndex);
    connect(OkButton, &QPushButton::clicked, this, &TPrintSelect::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setHelpKeyword(this, QStringLiteral("Report Window"));
}

void TPrintSelect::OkButtonClick()
{
    settings_.defaultPrinter = DefaultPrinter->isChecked();
    settings_.printerIndex = PrinterList->currentIndex();
    settings_.printToPdf = PdfFile->isChecked();
    accept();
}

} // namespace kv
