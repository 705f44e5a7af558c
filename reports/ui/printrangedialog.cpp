#include "printrangedialog.h"

#include "reports/printrange.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kv {

TPrintRange::TPrintRange(int pageCount, Prompt &prompt, QWidget *parent)
    : QDialog(parent), pageCount_(pageCount), prompt_(prompt)
{
    setObjectName(QStringLiteral("TPrintRange"));
    setWindowTitle(QStringLiteral("Page Printing"));
    auto *form = new QFormLayout(this);
    StartPage = new QLineEdit(QStringLiteral("1"), this);
    StartPage->setObjectName(QStringLiteral("StartPage"));
    // As many digits as the last page has: a 4,849-page report offers all 4,849.
    StartPage->setMaxLength(pageBoxLength(pageCount));
    EndPage = new QLineEdit(QString::number(pageCount), this);
    EndPage->setObjectName(QStringLiteral("EndPage"));
    EndPage->setMaxLength(pageBoxLength(pageCount));
    form->addRow(QStringLiteral("Starting Page"), StartPage);
    form->addRow(QStringLiteral("Ending Page"), EndPage);
    auto *row = new QHBoxLayout;
    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    PrintButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    row->addWidget(PrintButton);
    row->addWidget(CancelButton);
    form->addRow(row);
    connect(PrintButton, &QPushButton::clicked, this, &TPrintRange::PrintButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrintRange::PrintButtonClick()
{
    const int first = pageNumberOf(StartPage->text()), last = pageNumberOf(EndPage->text());
    switch (checkPageRange(first, last, pageCount_)) {
    case RangeProblem::Start:
        prompt_.showError(QString::fromLatin1(kInvalidStartPage));
        StartPage->setFocus();
        return;
    case RangeProblem::End:
        prompt_.showError(QString::fromLatin1(kInvalidEndPage));
        EndPage->setFocus();
        return;
    case RangeProblem::None:
        first_ = first;
        last_ = last;
        accept();
        return;
    }
}

} // namespace kv
