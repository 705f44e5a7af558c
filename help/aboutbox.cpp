#include "aboutbox.h"

#include "base/paths.h"
#include "help/help.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    const QString title = QString::fromLatin1(kApplicationTitle);
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About %1").arg(title));
    setModal(true);

    auto *icon = new QLabel;
    icon->setPixmap(applicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(title);
    name->setObjectName(QStringLiteral("AboutTitle"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    name->setFont(nameFont);
    auto *version = new QLabel(QStringLiteral("Version %1").arg(QLatin1String(KV_VERSION)));
    version->setObjectName(QStringLiteral("AboutVersion"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *description = new QLabel(
        QStringLiteral("A catalogue of your private video collection: one record per tape or disc, browsed, "
                       "searched and sorted in the Video Viewer, printed as reports and tape labels, imported, "
                       "exported and backed up."));
    description->setWordWrap(true);
    auto *platform = new QLabel(QStringLiteral("Built with Qt %1.").arg(QLatin1String(qVersion())));

    auto *text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addWidget(platform);
    text->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(440, 220);
}

} // namespace kv
