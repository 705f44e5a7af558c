#include "reports/ui/reportpart.h"

#include "reports/ui/dialogbuttons.h"
#include "reports/reportlayout.h"
#include "reports/userreport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int kWidthLength = 3;

} // namespace

TReportPart::TReportPart(TLineRec &line, int lineNumber, int part, int lineWidth, const QStringList &captions,
                         Prompt &prompt, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), line_(line), lineNumber_(lineNumber), part_(part), lineWidth_(lineWidth), prompt_(prompt)
{
    setObjectName(QStringLiteral("ReportPart"));
    setWindowTitle(QStringLiteral("Select Report Part"));
    const bool totals = lineNumber == kTotalsLineNumber;

    SelectedPart = new QLabel(selectedPartText(lineNumber, part), this);
    SelectedPart->setObjectName(QStringLiteral("SelectedPart"));
    auto *kinds = new QGroupBox(QStringLiteral("Part Type"), this);
    RadioFiller = new QRadioButton(QStringLiteral("&Filler"), kinds);
    RadioFiller->setObjectName(QStringLiteral("RadioFiller"));
    RadioLabel = new QRadioButton(QStringLiteral("&Label"), kinds);
    RadioLabel->setObjectName(QStringLiteral("RadioLabel"));
    RadioField = new QRadioButton(totals ? QStringLiteral("&Total") : QStringLiteral("F&ield"), kinds);
    RadioField->setObjectName(QStringLiteral("RadioField"));
    auto *kindBox = new QVBoxLayout(kinds);
    kindBox->addWidget(RadioFiller);
    kindBox->addWidget(RadioLabel);
    kindBox->addWidget(RadioField);

    FieldList = new QListWidget(this);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    FieldList->addItems(partEntries(captions, totals));
    FieldWidth = new QLineEdit(this);
    FieldWidth->setObjectName(QStringLiteral("FieldWidth"));
    FieldWidth->setMaxLength(kWidthLength);
    LabelName = new QLineEdit(this);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    LabelName->setMaxLength(kLabelTextLength);
    QHBoxLayout *buttons = makeOkCancelRow(this, OkButton, CancelButton);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Selected Part:"), this), 0, 0);
    grid->addWidget(SelectedPart, 0, 1);
    grid->addWidget(kinds, 1, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(totals ? QStringLiteral("Totals") : QStringLiteral("Fields"), this), 1, 1);
    grid->addWidget(FieldList, 2, 1, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Width"), this), 4, 0);
    grid->addWidget(FieldWidth, 4, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Label Text"), this), 5, 0);
    grid->addWidget(LabelName, 5, 1);
    grid->addLayout(buttons, 6, 0, 1, 2);
    FieldWidth->setFixedWidth(FieldWidth->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);

    for (QRadioButton *radio : {RadioFiller, RadioLabel, RadioField})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                kindChosen();
        });
    connect(OkButton, &QPushButton::clicked, this, &TReportPart::OkButtonClick);
    FormShow();
}

void TReportPart::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TReportPart::FormShow()
{
    const PartChoice choice = choiceOf(line_[size_t(part_ - 1)], lineNumber_ == kTotalsLineNumber);
    FieldWidth->setText(choice.width);
    LabelName->setText(choice.labelText);
    if (choice.entry >= 0 && choice.entry < FieldList->count())
        FieldList->setCurrentRow(choice.entry);
    else
        FieldList->setCurrentRow(-1);
    QRadioButton *radio = choice.kind == PartChoice::Kind::Filler  ? RadioFiller
                          : choice.kind == PartChoice::Kind::Label ? RadioLabel
                                                                   : RadioField;
    radio->setChecked(true);
    kindChosen();
}

void TReportPart::kindChosen()
{
    FieldList->setEnabled(RadioField->isChecked());
    LabelName->setEnabled(RadioLabel->isChecked());
}

void TReportPart::OkButtonClick()
{
    PartChoice choice;
    choice.kind = RadioFiller->isChecked()  ? PartChoice::Kind::Filler
                  : RadioLabel->isChecked() ? PartChoice::Kind::Label
                                            : PartChoice::Kind::Field;
    choice.entry = FieldList->currentItem() && FieldList->currentItem()->isSelected() ? FieldList->currentRow() : -1;
    choice.labelText = LabelName->text();
    choice.width = FieldWidth->text();
    TLineRec line = line_;
    if (!applyPartChoice(line, part_, lineNumber_ == kTotalsLineNumber, choice, lineWidth_, prompt_)) {
        FieldWidth->setFocus(Qt::OtherFocusReason);
        return;
    }
    line_ = line;
    accept();
}

} // namespace kv
