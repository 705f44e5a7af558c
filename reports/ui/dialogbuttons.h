#pragma once
// The Ok / Cancel pair that the label and definition dialogs end with: Ok the default
// button, Cancel closing the dialog unchanged, both on the right.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace kv {

// Makes the two buttons (object names "OkButton" and "CancelButton") and the row that
// holds them; the dialog connects Ok to its own handler.
inline QHBoxLayout *makeOkCancelRow(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("&Ok"), dialog);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace kv
