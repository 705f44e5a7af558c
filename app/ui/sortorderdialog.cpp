#include "app/ui/sortorderdialog.h"

#include "app/style/windowstyle.h"
#include "help/help.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

namespace {

const char kNoField[] = "<NONE>";
const char kHelpKeyword[] = "Sort Order";

struct LevelControl {
    const char *objectName;
    const char *caption; // with its mnemonic
};
const LevelControl kLevelControls[kSortLevelCount] = {
    {"PrimarySort", "&Primary Sort"},
    {"SecondarySort", "&Secondary Sort"},
    {"ThirdLevelSort", "&Third Level Sort"},
    {"FourthLevelSort", "&Fourth Level Sort"},
};

QPushButton *makeButton(QWidget *parent, const char *objectName, const char *text)
{
    auto *button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

} // namespace

TMySortOrder::TMySortOrder(Workspace &workspace, CatalogueSession &catalogues, QWidget *parent)
    : QDialog(parent), ws_(workspace), catalogues_(catalogues)
{
    setObjectName(QStringLiteral("TMySortOrder"));
    setWindowTitle(QStringLiteral("Sort Order"));
    setModal(true);
    setHelpKeyword(this, QLatin1String(kHelpKeyword));

    auto *explanation = new QLabel(
        QStringLiteral("Choose up to four fields to order the catalogue by. Each level orders the records that "
                       "agree on the levels above it; <NONE> leaves a level out."),
        this);
    explanation->setObjectName(QStringLiteral("ExplanationLabel"));
    explanation->setWordWrap(true);
    explanation->setTextFormat(Qt::PlainText);
    markTitle(explanation, TitleKind::Minor);

    // Item n is field number n, item 0 is no field.
    QStringList items{QString::fromLatin1(kNoField)};
    for (const FieldSettings &field : ws_.settings().fields)
        items << field.caption;

    auto *grid = new QGridLayout;
    QComboBox **lists[kSortLevelCount] = {&PrimarySort, &SecondarySort, &ThirdLevelSort, &FourthLevelSort};
    for (int level = 0; level < kSortLevelCount; ++level) {
        auto *list = new QComboBox(this);
        list->setObjectName(QString::fromLatin1(kLevelControls[level].objectName));
        list->setEditable(false);
        list->addItems(items);
        list->setMaxVisibleItems(20);
        *lists[level] = list;

        auto *label = new QLabel(QString::fromLatin1(kLevelControls[level].caption), this);
        label->setObjectName(QString::fromLatin1(kLevelControls[level].objectName) + QStringLiteral("Label"));
        label->setBuddy(list);
        markTitle(label, TitleKind::Major);

        grid->addWidget(label, level, 0);
        grid->addWidget(list, level, 1);
    }
    grid->setColumnStretch(1, 1);

    OkButton = makeButton(this, "OkButton", "&Ok");
    OkButton->setDefault(true);
    CancelButton = makeButton(this, "CancelButton", "&Cancel");
    connect(OkButton, &QPushButton::clicked, this, &TMySortOrder::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMySortOrder::CancelButtonClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

std::array<QComboBox *, kSortLevelCount> TMySortOrder::levelLists() const
{
    return {PrimarySort, SecondarySort, ThirdLevelSort, FourthLevelSort};
}

SortLevels TMySortOrder::selectedLevels() const
{
    SortLevels levels{};
    const auto lists = levelLists();
    for (size_t level = 0; level < lists.size(); ++level)
        levels[level] = std::max(lists[level]->currentIndex(), 0);
    return levels;
}

void TMySortOrder::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TMySortOrder::FormShow()
{
    const Settings &s = ws_.settings();
    const auto lists = levelLists();
    for (size_t level = 0; level < lists.size(); ++level) {
        const int field = s.sortLevels[level];
        // A level outside the fields (a hand-edited settings file) shows as no field.
        lists[level]->setCurrentIndex(field >= 0 && field <= kFieldCount ? field : 0);
    }
    styleWindow(this, WindowFamily::Configure, s);
    PrimarySort->setFocus();
}

void TMySortOrder::OkButtonClick()
{
    // A refused or failed order leaves the dialog open; the user has been told why.
    if (catalogues_.setSortLevels(selectedLevels()) == CatalogueSession::SortOutcome::Applied)
        accept();
}

void TMySortOrder::CancelButtonClick() { reject(); }

} // namespace kv
