#include "collection/ui/duplicateswindow.h"

#include "app/workspace/records.h"
#include "app/workspace/workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kv {

namespace {
constexpr int kRecnoRole = Qt::UserRole;
} // namespace

TDuplicates::TDuplicates(Workspace &workspace, std::function<void()> editCurrent, QWidget *parent)
    : StyledDialog(WindowFamily::Configure, parent), ws_(workspace), editCurrent_(std::move(editCurrent))
{
    setObjectName(QStringLiteral("TDuplicates"));
    setWindowTitle(QString::fromLatin1(kDuplicatesCaption));
    SummaryLabel = new QLabel;
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    GroupTree = new QTreeWidget;
    GroupTree->setObjectName(QStringLiteral("GroupTree"));
    GroupTree->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Year"), QStringLiteral("Media #"),
                                QStringLiteral("Record")});
    GroupTree->setAccessibleName(QStringLiteral("Duplicate groups"));
    SummaryLabel->setBuddy(GroupTree);
    EditButton = new QPushButton(QStringLiteral("&Edit"));
    EditButton->setObjectName(QStringLiteral("EditButton"));
    DeleteButton = new QPushButton(QStringLiteral("&Delete Checked"));
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    RefreshButton = new QPushButton(QStringLiteral("&Refresh"));
    RefreshButton->setObjectName(QStringLiteral("RefreshButton"));
    CloseButton = new QPushButton(QStringLiteral("C&lose"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(EditButton);
    buttons->addWidget(DeleteButton);
    buttons->addWidget(RefreshButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(GroupTree);
    layout->addLayout(buttons);
    resize(760, 520);
    GroupTree->setFocus();

    connect(EditButton, &QPushButton::clicked, this, &TDuplicates::EditButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TDuplicates::DeleteButtonClick);
    connect(RefreshButton, &QPushButton::clicked, this, &TDuplicates::RefreshButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(GroupTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent())
            EditButtonClick();
    });
    connect(GroupTree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column == 0 && item->parent())
            setChecked(item->data(0, kRecnoRole).toUInt(), item->checkState(0) == Qt::Checked);
    });
    RefreshButtonClick();
}

void TDuplicates::showEvent(QShowEvent *event)
{
    style();
    QDialog::showEvent(event);
}

void TDuplicates::RefreshButtonClick()
{
    groups_.clear();
    if (ws_.master().isOpen())
        ws_.attempt([&] { groups_ = findDuplicates(ws_.master()); });
    const QSignalBlocker quiet(GroupTree);
    GroupTree->clear();
    for (const DuplicateGroup &g : groups_) {
        auto *top = new QTreeWidgetItem(GroupTree);
        top->setText(0, g.kind == DuplicateGroup::Kind::Title
                            ? QStringLiteral("Title: %1").arg(g.key)
                            : QStringLiteral("Media #: %1").arg(g.key));
        if (g.year)
            top->setText(1, QString::number(g.year));
        top->setFirstColumnSpanned(g.year == 0);
        QFont bold = top->font(0);
        bold.setBold(true);
        top->setFont(0, bold);
        for (const DuplicateRecord &d : g.records) {
            auto *row = new QTreeWidgetItem(top);
            row->setText(0, d.title);
            row->setText(1, d.year ? QString::number(d.year) : QString());
            row->setText(2, d.mediaNum);
            row->setText(3, QString::number(d.recno));
            row->setData(0, kRecnoRole, d.recno);
            row->setCheckState(0, Qt::Unchecked);
        }
    }
    GroupTree->expandAll();
    if (GroupTree->topLevelItemCount() > 0)
        GroupTree->setCurrentItem(GroupTree->topLevelItem(0)->child(0));
    GroupTree->header()->resizeSections(QHeaderView::ResizeToContents);
    SummaryLabel->setText(groups_.empty() ? QString::fromLatin1(kNoDuplicates)
                                          : QStringLiteral("%1 groups of records that may have been entered twice:")
                                                .arg(groups_.size()));
    const bool any = !groups_.empty();
    EditButton->setEnabled(any);
    DeleteButton->setEnabled(any && !ws_.browseOnly());
}

void TDuplicates::setChecked(std::uint32_t recno, bool on)
{
    const QSignalBlocker quiet(GroupTree);
    for (int g = 0; g < GroupTree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *top = GroupTree->topLevelItem(g);
        for (int i = 0; i < top->childCount(); ++i)
            if (top->child(i)->data(0, kRecnoRole).toUInt() == recno)
                top->child(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<std::uint32_t> TDuplicates::checkedRecords() const
{
    std::vector<std::uint32_t> recnos;
    for (int g = 0; g < GroupTree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *top = GroupTree->topLevelItem(g);
        for (int i = 0; i < top->childCount(); ++i)
            if (top->child(i)->checkState(0) == Qt::Checked)
                recnos.push_back(top->child(i)->data(0, kRecnoRole).toUInt());
    }
    std::sort(recnos.begin(), recnos.end());
    recnos.erase(std::unique(recnos.begin(), recnos.end()), recnos.end());
    return recnos;
}

std::uint32_t TDuplicates::chosenRecord() const
{
    const QTreeWidgetItem *item = GroupTree->currentItem();
    if (item && !item->parent() && item->childCount() > 0)
        item = item->child(0);
    return item ? item->data(0, kRecnoRole).toUInt() : 0;
}

bool TDuplicates::makeCurrent(std::uint32_t recno)
{
    ws_.returnToRecord(recno);
    return recno != 0 && ws_.master().isOpen() && ws_.master().recNo() == recno;
}

void TDuplicates::EditButtonClick()
{
    if (!makeCurrent(chosenRecord()))
        return;
    if (editCurrent_)
        editCurrent_();
    RefreshButtonClick();
}

void TDuplicates::DeleteButtonClick()
{
    // Each record through the program's one delete command, its question included.
    for (std::uint32_t recno : checkedRecords())
        if (makeCurrent(recno))
            deleteCurrentRecord(ws_, ws_.master());
    RefreshButtonClick();
}

} // namespace kv
