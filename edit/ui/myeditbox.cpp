#include "edit/ui/myeditbox.h"

#include "help/help.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace kv {

namespace {

constexpr int kDesignWidth = 262;
constexpr int kDesignHeight = 442;
constexpr char kHelpKeyword[] = "List Editor";

} // namespace

TMyEditBox::TMyEditBox(Workspace &workspace, int listNumber, const QStringList &entries, QWidget *parent)
    : StyledDialog(WindowFamily::Configure, parent), ws_(workspace), edit_(listNumber, entries)
{
    setObjectName(QStringLiteral("MyEditBox"));
    setWindowTitle(listEditorCaption(listNumber));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setHelpKeyword(this, QLatin1String(kHelpKeyword));

    AddInfo = new QLineEdit(this);
    AddInfo->setObjectName(QStringLiteral("AddInfo"));
    AddInfo->setMaxLength(pickListEntryLength(listNumber));
    // Enter in the entry box adds what was typed instead of confirming the dialog.
    AddInfo->installEventFilter(this);
    TheList = new QListWidget(this);
    TheList->setObjectName(QStringLiteral("TheList"));
    TheList->setSelectionMode(QAbstractItemView::SingleSelection);
    TheList->setUniformItemSizes(true); // a long list lays out at once
    TheList->addItems(edit_.entries());
    const auto button = [this](const char *name, const char *caption, void (TMyEditBox::*run)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
        return b;
    };
    AddButton = button("AddButton", "&Add", &TMyEditBox::AddButtonClick);
    DeleteButton = button("DeleteButton", "&Delete", &TMyEditBox::DeleteButtonClick);
    OkButton = button("OkButton", "&Ok", &TMyEditBox::OkButtonClick);
    CancelButton = button("CancelButton", "&Cancel", &TMyEditBox::CancelButtonClick);
    SortButton = button("SortButton", "&Sort", &TMyEditBox::SortButtonClick);
    OkButton->setDefault(true);
    connect(TheList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = TheList->selectedItems();
        edit_.select(chosen.isEmpty() ? -1 : TheList->row(chosen.first()));
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(AddInfo, 0, 0);
    grid->addWidget(AddButton, 0, 1);
    grid->addWidget(TheList, 1, 0, 1, 2);
    grid->addWidget(DeleteButton, 2, 0, Qt::AlignLeft);
    grid->addWidget(SortButton, 2, 1, Qt::AlignRight);
    grid->addWidget(OkButton, 3, 0, Qt::AlignLeft);
    grid->addWidget(CancelButton, 3, 1, Qt::AlignRight);
    grid->setRowStretch(1, 1);
    grid->setVerticalSpacing(8);
    setFixedSize(kDesignWidth, kDesignHeight);

    QWidget *order[] = {AddInfo, AddButton, TheList, DeleteButton, OkButton, CancelButton, SortButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

TMyEditBox::~TMyEditBox() = default;

void TMyEditBox::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMyEditBox::FormShow()
{
    style();
    TheList->setFocus(Qt::OtherFocusReason);
    edit_.select(0);
    showSelection();
}

void TMyEditBox::showSelection()
{
    const int row = edit_.selected();
    if (row < 0) {
        TheList->clearSelection();
        return;
    }
    TheList->setCurrentRow(row);
    TheList->scrollToItem(TheList->item(row));
}

void TMyEditBox::AddButtonClick()
{
    if (edit_.add(AddInfo->text())) {
        TheList->addItem(edit_.entries().constLast());
        TheList->scrollToBottom();
    }
    AddInfo->clear();
    AddInfo->setFocus(Qt::OtherFocusReason);
}

void TMyEditBox::DeleteButtonClick()
{
    const int row = edit_.selected();
    if (!edit_.deleteSelected())
        return;
    const QSignalBlocker quiet(TheList); // the working copy has chosen the next selection
    delete TheList->takeItem(row);
    showSelection();
}

void TMyEditBox::SortButtonClick()
{
    if (!edit_.sort(ws_.prompt()))
        return;
    const QSignalBlocker quiet(TheList);
    TheList->clear();
    TheList->addItems(edit_.entries());
    showSelection();
}

void TMyEditBox::OkButtonClick()
{
    confirmListEdit(ws_.pickLists(), ws_.paths().basePath, edit_);
    accept();
}

void TMyEditBox::CancelButtonClick() { reject(); }

bool TMyEditBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == AddInfo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AddButtonClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kv
