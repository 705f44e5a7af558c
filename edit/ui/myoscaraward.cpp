#include "edit/ui/myoscaraward.h"

#include "app/display/screensize.h"

#include "help/help.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace kv {

namespace {

constexpr int kDesignWidth = 334;
constexpr int kDesignHeight = 376;
constexpr char kOscarHelpKeyword[] = "Oscar Awards";
constexpr char kMiscHelpKeyword[] = "Miscellaneous";

} // namespace

TMyOscarAward::TMyOscarAward(OscarMode mode, const QStringList &entries, const QString &targetText, QWidget *parent)
    : StyledDialog(WindowFamily::Edit, parent), mode_(mode), choice_(oscarChoice(mode, entries, targetText))
{
    setObjectName(QStringLiteral("MyOscarAward"));
    setWindowTitle(oscarCaption(mode));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setHelpKeyword(this, QLatin1String(mode == OscarMode::Miscellaneous ? kMiscHelpKeyword : kOscarHelpKeyword));

    OscarList = new QListWidget(this);
    OscarList->setObjectName(QStringLiteral("OscarList"));
    // Each click (or Space) selects or deselects one entry.
    OscarList->setSelectionMode(QAbstractItemView::MultiSelection);
    OscarList->setUniformItemSizes(true); // a long list lays out at once
    OscarList->addItems(choice_.entries);
    for (int row = 0; row < OscarList->count(); ++row) {
        if (choice_.selected[size_t(row)])
            OscarList->item(row)->setSelected(true);
    }
    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &TMyOscarAward::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMyOscarAward::CancelButtonClick);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(OscarList, 1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(OkButton);
    row->addStretch(1);
    row->addWidget(CancelButton);
    row->addStretch(1);
    layout->addLayout(row);
    setFixedSize(kDesignWidth, kDesignHeight);
    setTabOrder(OscarList, OkButton);
    setTabOrder(OkButton, CancelButton);
}

TMyOscarAward::~TMyOscarAward() = default;

void TMyOscarAward::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMyOscarAward::style()
{
    const Settings *s = lookSettings();
    if (!s)
        return;
    applyUserFonts(this, *s);
    scaleWindow(this, screenFactor(s->windowSize));
    centreOnScreen(this);
}

void TMyOscarAward::FormShow()
{
    style();
    OscarList->setFocus(Qt::OtherFocusReason);
    // The keyboard starts on the first entry without selecting it.
    if (OscarList->count() > 0)
        OscarList->selectionModel()->setCurrentIndex(OscarList->model()->index(0, 0), QItemSelectionModel::NoUpdate);
}

void TMyOscarAward::OkButtonClick()
{
    // One pass over the selection: asking each row would take the square of a long list.
    std::fill(choice_.selected.begin(), choice_.selected.end(), false);
    for (const QModelIndex &index : OscarList->selectionModel()->selectedIndexes())
        choice_.selected[size_t(index.row())] = true;
    result_ = oscarResult(choice_);
    accept();
}

void TMyOscarAward::CancelButtonClick() { reject(); }

} // namespace kv
