#include "search/ui/searchoptionsdialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kv {

TSearchOptions::TSearchOptions(const QString &caption, const QStringList &items, int selected, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TSearchOptions"));
    setWindowTitle(QStringLiteral("Search Options"));
    setFixedSize(246, 307);
    FieldLabel = new QLabel(caption, this);
    FieldLabel->setObjectName(QStringLiteral("FieldLabel"));
    FieldLabel->setAlignment(Qt::AlignCenter);
    FieldLabel->setGeometry(8, 8, 230, 20);
    OptionList = new QListWidget(this);
    OptionList->setObjectName(QStringLiteral("OptionList"));
    OptionList->setGeometry(8, 34, 230, 226);
    OptionList->addItems(items);
    if (selected >= 0 && selected < items.size())
        OptionList->setCurrentRow(selected);
    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(28, 270, 85, 27);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(133, 270, 85, 27);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(OptionList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int TSearchOptions::selectedIndex() const
{
    return OptionList->selectedItems().isEmpty() ? -1 : OptionList->currentRow();
}

QString TSearchOptions::selectedText() const
{
    const int i = selectedIndex();
    return i < 0 ? QString() : OptionList->item(i)->text();
}

} // namespace kv
