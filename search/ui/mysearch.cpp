#include "search/ui/mysearch.h"

#include "app/workspace/workspace.h"
#include "base/dateformat.h"
#include "help/help.h"
#include "search/searchoptions.h"
#include "search/ui/hourglass.h"
#include "search/ui/searchoptionsdialog.h"
#include "store/fieldtable.h"

#include <QGuiApplication>
#include <algorithm>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace kv {

namespace {

constexpr int kFieldColumn = 0, kOptionsColumn = 1, kCriterionColumn = 2;
const QString kHelpKeyword = QStringLiteral("Search Window");

// The cell's input mask for a numeric or date row and its operator: a sign or a range
// around the value's places, blanks read back as spaces.
QString cellMask(RowType type, RowOperator op)
{
    const QString sep = QStringLiteral("\\") + currentDateFormat().separator;
    const QString value = type == RowType::Numeric ? QStringLiteral("xxxxxxxxx")
                                                   : QStringLiteral("00") + sep + QStringLiteral("00") + sep +
                                                         QStringLiteral("9999");
    const QString high = type == RowType::Numeric ? QStringLiteral("xxxxxxxx") : value;
    switch (op) {
    case RowOperator::Equal: return QStringLiteral("= ") + value + QStringLiteral("; ");
    case RowOperator::Greater: return QStringLiteral("\\> ") + value + QStringLiteral("; ");
    case RowOperator::Less: return QStringLiteral("\\< ") + value + QStringLiteral("; ");
    case RowOperator::Range:
        return QStringLiteral("\\> ") + value + QStringLiteral(" \\A\\N\\D \\< ") + high + QStringLiteral("; ");
    }
    return QString();
}

// A masked cell holds what was typed with its sign; one left without typing holds
// nothing, not a stray "=".
QString editorText(const QLineEdit *e)
{
    if (e->inputMask().isEmpty())
        return e->text();
    const QString shown = e->displayText();
    return shown == e->property("kvUntyped").toString() ? QString() : shown;
}

// The criterion cells' editor: a text row takes its field's width, a numeric or date row
// its operator's mask. The cell follows every keystroke, so the window reads it as typed.
class CriterionDelegate : public QStyledItemDelegate {
public:
    CriterionDelegate(const SearchDraft &draft, QObject *parent) : QStyledItemDelegate(parent), draft_(draft) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *e = new QLineEdit(parent);
        const int number = index.row() + 1;
        const RowType type = rowType(number);
        if (type == RowType::Text)
            e->setMaxLength(field(number).width);
        else
        {
            e->setInputMask(cellMask(type, draft_.rows[std::size_t(index.row())].op));
            e->setProperty("kvUntyped", e->displayText());
        }
        connect(e, &QLineEdit::textEdited, this, [this, e] { Q_EMIT const_cast<CriterionDelegate *>(this)->commitData(e); });
        return e;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *e = static_cast<QLineEdit *>(editor);
        const QString text = index.data().toString();
        if (editorText(e) != text)
            e->setText(text);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, editorText(static_cast<QLineEdit *>(editor)));
    }

private:
    const SearchDraft &draft_;
};

} // namespace

TMySearch::TMySearch(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Search, parent, Placement::CentredRaised), ws_(workspace), draft_(workspace.prompt())
{
    setObjectName(QStringLiteral("TMySearch"));
    setWindowTitle(QString::fromLatin1(kSearchCaption));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(632, 445);
    setHelpKeyword(this, kHelpKeyword);

    const struct {
        QPushButton **button;
        const char *name;
        const char *caption;
        void (TMySearch::*click)();
    } buttons[] = {
        {&OkButton, "OkButton", "&Ok", &TMySearch::OkButtonClick},
        {&ExitButton, "ExitButton", "E&xit", &TMySearch::ExitButtonClick},
        {&ClearButton, "ClearButton", "&Clear Search", &TMySearch::ClearButtonClick},
        {&FindMoreButton, "FindMoreButton", "&Find More", &TMySearch::FindMoreButtonClick},
        {&HelpButton, "HelpButton", "&Help", &TMySearch::HelpButtonClick},
    };
    int x = 6;
    for (const auto &b : buttons) {
        *b.button = new QPushButton(QString::fromLatin1(b.caption), this);
        (*b.button)->setObjectName(QString::fromLatin1(b.name));
        (*b.button)->setGeometry(x, 8, 110, 28);
        (*b.button)->setAutoDefault(false);
        connect(*b.button, &QPushButton::clicked, this, b.click);
        x += 124;
    }

    SearchGrid = new QTableWidget(kFieldCount, 3, this);
    SearchGrid->setObjectName(QStringLiteral("SearchGrid"));
    SearchGrid->setGeometry(6, 44, 620, 395);
    SearchGrid->verticalHeader()->hide();
    SearchGrid->setColumnWidth(kFieldColumn, 200);
    SearchGrid->setColumnWidth(kOptionsColumn, 20);
    SearchGrid->setColumnWidth(kCriterionColumn, 378);
    SearchGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SearchGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SearchGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    SearchGrid->setItemDelegateForColumn(kCriterionColumn, new CriterionDelegate(draft_, SearchGrid));
    for (int row = 0; row < kFieldCount; ++row) {
        const int number = row + 1;
        auto *name = new QTableWidgetItem(QLatin1Char(' ') + ws_.settings().field(number).caption);
        name->setFlags(Qt::ItemIsEnabled);
        SearchGrid->setItem(row, kFieldColumn, name);
        auto *options = new QTableWidgetItem;
        options->setFlags(Qt::ItemIsEnabled);
        if (hasSearchOptions(number)) {
            options->setText(QStringLiteral("..."));
            options->setTextAlignment(Qt::AlignCenter);
            options->setBackground(QColor(128, 128, 128));
        }
        SearchGrid->setItem(row, kOptionsColumn, options);
        SearchGrid->setItem(row, kCriterionColumn, new QTableWidgetItem);
    }
    // Only the criterion cells take the cursor, as if the first two columns were fixed:
    // Tab goes to the next row's criterion, Shift+Tab to the one before.
    connect(SearchGrid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int previousRow, int previousColumn) {
                if (row < 0 || column == kCriterionColumn)
                    return;
                const bool back = QGuiApplication::mouseButtons() == Qt::NoButton && row == previousRow &&
                                  column < previousColumn;
                SearchGrid->setCurrentCell(back ? std::max(row - 1, 0) : row, kCriterionColumn);
            });
    connect(SearchGrid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == kOptionsColumn)
            openOptions(row + 1);
    });
    showDraft();
}

TMySearch::~TMySearch() = default;

void TMySearch::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (event->spontaneous())
        return;
    style();
    SearchGrid->setCurrentCell(0, kCriterionColumn);
    SearchGrid->setFocus();
    focusEditor();
}

// The criterion's editor is open on the current cell: the keys go straight into it.
void TMySearch::focusEditor()
{
    for (QLineEdit *e : SearchGrid->viewport()->findChildren<QLineEdit *>()) {
        if (e->isVisibleTo(SearchGrid))
            e->setFocus(Qt::OtherFocusReason);
    }
}

void TMySearch::readCells()
{
    for (int row = 0; row < kFieldCount; ++row)
        draft_.rows[std::size_t(row)].text = SearchGrid->item(row, kCriterionColumn)->text();
}

void TMySearch::showDraft()
{
    for (int row = 0; row < kFieldCount; ++row)
        SearchGrid->item(row, kCriterionColumn)->setText(draft_.rows[std::size_t(row)].text);
    SearchGrid->setHorizontalHeaderLabels({QStringLiteral(" FIELD"), QString(), draft_.header()});
    FindMoreButton->setEnabled(draft_.findMoreEnabled());
    if (draft_.badRow() > 0)
        SearchGrid->setCurrentCell(draft_.badRow() - 1, kCriterionColumn);
    SearchGrid->setFocus();
}

void TMySearch::OkButtonClick()
{
    readCells();
    const bool found = draft_.ok([this](const CriteriaList &criteria) {
        HourGlass wait;
        return ws_.search().apply(criteria);
    });
    if (found) {
        accept();
        return;
    }
    showDraft();
}

void TMySearch::FindMoreButtonClick()
{
    readCells();
    draft_.findMore();
    showDraft();
}

void TMySearch::ClearButtonClick()
{
    draft_.clear();
    showDraft();
}

void TMySearch::ExitButtonClick()
{
    draft_.exit();
    reject();
}

void TMySearch::HelpButtonClick() { showHelp(this, kHelpKeyword); }

// Moving away and back opens the cell's editor again, with the mask of the new operator.
void TMySearch::reenterRow(int row)
{
    if (SearchGrid->currentRow() == row)
        SearchGrid->setCurrentCell(row == kFieldCount - 1 ? row - 1 : row + 1, kCriterionColumn);
    SearchGrid->setCurrentCell(row, kCriterionColumn);
}

void TMySearch::openOptions(int number)
{
    if (!hasSearchOptions(number))
        return;
    const int row = number - 1;
    SearchRow &cell = draft_.rows[std::size_t(row)];
    const bool operators = rowType(number) != RowType::Text;
    TSearchOptions dialog(ws_.settings().field(number).caption, searchOptionItems(number, ws_.pickLists()),
                          operators ? int(cell.op) - 1 : -1, this);
    styleChild(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedIndex() < 0)
        return;
    if (operators) {
        cell.op = RowOperator(dialog.selectedIndex() + 1);
        reenterRow(row);
        return;
    }
    SearchGrid->item(row, kCriterionColumn)->setText(dialog.selectedText());
    SearchGrid->setCurrentCell(row, kCriterionColumn);
}

} // namespace kv
