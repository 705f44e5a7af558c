#include "reports/ui/labeloptions.h"

#include "reports/labelstock.h"
#include "store/fieldtable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kv {

TLabelOptions::TLabelOptions(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Report, parent), ws_(workspace)
{
    setObjectName(QStringLiteral("LabelOptions"));
    setWindowTitle(QStringLiteral("Label Options"));
    const Settings &s = ws_.settings();

    auto *itemsBox = new QGroupBox(QStringLiteral("Items to Print"), this);
    auto *itemGrid = new QGridLayout(itemsBox);
    for (int i = 0; i < kLabelItemCount; ++i) {
        const LabelItem &item = labelItems()[size_t(i)];
        items_[size_t(i)] = new QCheckBox(s.field(item.field).caption, itemsBox);
        items_[size_t(i)]->setObjectName(fieldName(item.field) + QStringLiteral("Item"));
        items_[size_t(i)]->setChecked(s.*item.flag);
        itemGrid->addWidget(items_[size_t(i)], i % 4, i / 4);
    }

    auto *fontBox = new QGroupBox(QStringLiteral("Label Font"), this);
    FontToUse = new QLabel(labelFontCaption(s.font(FontRole::ReportLabel)), fontBox);
    FontToUse->setObjectName(QStringLiteral("FontToUse"));
    FontToUse->setFrameShape(QFrame::Panel);
    FontToUse->setFrameShadow(QFrame::Sunken);
    NewButton = new QPushButton(QStringLiteral("&New"), fontBox);
    NewButton->setObjectName(QStringLiteral("NewButton"));
    auto *fontRow = new QHBoxLayout(fontBox);
    fontRow->addWidget(FontToUse, 1);
    fontRow->addWidget(NewButton);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    auto *box = new QVBoxLayout(this);
    box->addWidget(itemsBox);
    box->addWidget(fontBox);
    box->addWidget(OkButton, 0, Qt::AlignRight);
    connect(NewButton, &QPushButton::clicked, this, &TLabelOptions::NewButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TLabelOptions::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TLabelOptions::NewButtonClick()
{
    UserFont &labelFont = ws_.settings().font(FontRole::ReportLabel);
    QFont initial = labelFont.font;
    initial.setPointSize(kLabelFontSize);
    std::optional<QFont> chosen = ws_.prompt().font(initial, QStringLiteral("Label Font"));
    if (!chosen)
        return;
    // The one size offered: each label line takes its own size when printed.
    chosen->setPointSize(kLabelFontSize);
    labelFont.font = *chosen;
    FontToUse->setText(labelFontCaption(labelFont));
}

void TLabelOptions::done(int result)
{
    Settings &s = ws_.settings();
    for (int i = 0; i < kLabelItemCount; ++i)
        s.*labelItems()[size_t(i)].flag = items_[size_t(i)]->isChecked();
    QDialog::done(result);
}

} // namespace kv
