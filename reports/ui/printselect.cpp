#include "printselect.h"

#include "help/help.h"
#include "report_engine/pdffile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

namespace {
// The papers a PDF file can be written on.
constexpr QPageSize::PageSizeId kPdfPapers[] = {QPageSize::A4, QPageSize::Letter, QPageSize::Legal};
} // namespace

TPrintSelect::TPrintSelect(Settings &settings, const QStringList &printers, QWidget *parent,
                           QPageSize::PageSizeId *pdfPaper)
    : QDialog(parent), settings_(settings), pdfPaper_(pdfPaper)
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
    PdfPaper = new QComboBox(this);
    PdfPaper->setObjectName(QStringLiteral("PdfPaper"));
    const QPageSize::PageSizeId shown = pdfPaper ? *pdfPaper : localePaperId();
    for (QPageSize::PageSizeId id : kPdfPapers) {
        PdfPaper->addItem(QPageSize::name(id), int(id));
        if (id == shown)
            PdfPaper->setCurrentIndex(PdfPaper->count() - 1);
    }
    PdfPaper->setEnabled(pdfPaper != nullptr);
    auto *paperRow = new QHBoxLayout;
    paperRow->addWidget(new QLabel(QStringLiteral("PDF Paper"), this));
    paperRow->addWidget(PdfPaper, 1);
    auto *buttons = new QDialogButtonBox(this);
    OkButton = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(DefaultPrinter);
    layout->addWidget(OtherPrinter);
    layout->addWidget(PrinterList);
    layout->addWidget(PdfFile);
    layout->addLayout(paperRow);
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
    if (pdfPaper_)
        *pdfPaper_ = QPageSize::PageSizeId(PdfPaper->currentData().toInt());
    accept();
}

} // namespace kv
