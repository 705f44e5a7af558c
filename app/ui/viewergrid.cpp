#include "viewergrid.h"

#include "app/display/viewerlayout.h"
#include "app/settings/settings.h"
#include "app/workspace/records.h"
#include "app/workspace/workspace.h"
#include "store/table.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>

namespace kv {

namespace {
constexpr char kIndicatorCurrent[] = "\u25BA"; // the current record
constexpr char kIndicatorEdit[] = "I";         // the current record, being edited
constexpr char kIndicatorInsert[] = "*";       // the record being appended
// Room around a cell's text, beside the width of its characters.
constexpr int kCellMargin = 8;
constexpr int kRowMargin = 4;

bool changing(const Table &t) { return t.state() == Table::State::Edit || t.state() == Table::State::Insert; }
} // namespace

// ---------------------------------------------------------------- model

ViewerGridModel::ViewerGridModel(Workspace &workspace, QObject *parent)
    : QAbstractTableModel(parent), workspace_(workspace)
{
}

Table *ViewerGridModel::table() const { return table_; }

void ViewerGridModel::setTable(Table *table)
{
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    table_ = table;
    if (table) {
        connect(table, &Table::dataChanged, this, &ViewerGridModel::reload);
        connect(table, &Table::currentChanged, this, &ViewerGridModel::currentMoved);
        connect(table, &QObject::destroyed, this, &ViewerGridModel::reload);
    }
    reload();
}

void ViewerGridModel::reload()
{
    if (posting_)
        return; // post() re-reads once it has told the view where the record went
    std::vector<Column> columns;
    int rows = 0;
    int insertRow = -1;
    if (table_ && table_->isOpen()) {
        std::vector<std::pair<int, int>> shown; // position, field
        for (int i = 0; i < table_->fieldCount(); ++i)
            if (table_->fieldDisplay(i).visible)
                shown.emplace_back(table_->fieldDisplay(i).position, i);
        std::stable_sort(shown.begin(), shown.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[position, i] : shown) {
            const char type = table_->fieldLayout(i).type;
            columns.push_back({i, fieldNumber(table_->fieldName(i)), table_->fieldDisplay(i).title,
                               type == 'N' || type == 'F'});
        }
        rows = table_->recordCount();
        if (table_->state() == Table::State::Insert)
            insertRow = rows++;
    }
    if (columns == columns_ && rows == rows_) {
        insertRow_ = insertRow;
        if (rows_ > 0 && !columns_.empty())
            Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
        currentMoved();
        return;
    }
    beginResetModel();
    columns_ = std::move(columns);
    rows_ = rows;
    insertRow_ = insertRow;
    indicatorRow_ = currentRow();
    endResetModel();
}

void ViewerGridModel::clear()
{
    beginResetModel();
    columns_.clear();
    rows_ = 0;
    insertRow_ = -1;
    indicatorRow_ = -1;
    endResetModel();
}

int ViewerGridModel::currentRow() const
{
    if (insertRow_ >= 0)
        return insertRow_;
    return table_ ? table_->position() : -1;
}

void ViewerGridModel::currentMoved()
{
    if (posting_)
        return;
    const int before = indicatorRow_;
    indicatorRow_ = currentRow();
    if (before >= 0 && before < rows_)
        Q_EMIT headerDataChanged(Qt::Vertical, before, before);
    if (indicatorRow_ >= 0 && indicatorRow_ < rows_)
        Q_EMIT headerDataChanged(Qt::Vertical, indicatorRow_, indicatorRow_);
    Q_EMIT currentRecordChanged();
}

void ViewerGridModel::setEditable(bool on)
{
    if (on == editable_)
        return;
    editable_ = on;
    if (rows_ > 0 && !columns_.empty())
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
}

void ViewerGridModel::setTitleColors(const QColor &background, const QColor &text)
{
    titleBackground_ = background;
    titleText_ = text;
    if (!columns_.empty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
}

int ViewerGridModel::fieldAt(int column) const
{
    return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)].field : -1;
}

int ViewerGridModel::fieldNumberAt(int column) const
{
    return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)].number : 0;
}

int ViewerGridModel::columnOf(int field) const
{
    for (size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].field == field)
            return int(c);
    return -1;
}

int ViewerGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int ViewerGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QString ViewerGridModel::text(int row, int field) const
{
    // The record being appended or edited shows its unposted values.
    if (row == insertRow_)
        return table_->state() == Table::State::Insert ? table_->fieldText(field) : QString();
    if (table_->state() == Table::State::Edit && row == table_->position())
        return table_->fieldText(field);
    return table_->fieldTextAt(row, field);
}

QVariant ViewerGridModel::data(const QModelIndex &index, int role) const
{
    if (!table_ || !table_->isOpen() || !index.isValid() || index.row() >= rows_ ||
        index.column() >= int(columns_.size()))
        return {};
    const Column &c = columns_[size_t(index.column())];
    const bool checkBox = isViewerCheckBox(c.number);
    switch (role) {
    case Qt::DisplayRole:
        if (checkBox)
            return {};
        return text(index.row(), c.field);
    case Qt::EditRole: return text(index.row(), c.field);
    case Qt::CheckStateRole: {
        if (!checkBox)
            return {};
        const QString value = text(index.row(), c.field);
        if (value.compare(QLatin1String(kCheckedText), Qt::CaseInsensitive) == 0)
            return Qt::Checked;
        if (value.compare(QLatin1String(kUncheckedText), Qt::CaseInsensitive) == 0)
            return Qt::Unchecked;
        return Qt::PartiallyChecked; // blank or anything else: neither
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment((c.numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant ViewerGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= int(columns_.size()))
            return {};
        switch (role) {
        case Qt::DisplayRole: return columns_[size_t(section)].title;
        case Qt::BackgroundRole: return titleBackground_.isValid() ? QVariant(titleBackground_) : QVariant();
        case Qt::ForegroundRole: return titleText_.isValid() ? QVariant(titleText_) : QVariant();
        default: return {};
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    if (!table_ || section != currentRow())
        return QString();
    if (section == insertRow_)
        return QString::fromUtf8(kIndicatorInsert);
    return QString::fromUtf8(table_->state() == Table::State::Edit ? kIndicatorEdit : kIndicatorCurrent);
}

Qt::ItemFlags ViewerGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (!editable_ || !table_ || table_->readOnly() || !index.isValid() || index.column() >= int(columns_.size()))
        return f;
    return f | (isViewerCheckBox(columns_[size_t(index.column())].number) ? Qt::ItemIsUserCheckable
                                                                         : Qt::ItemIsEditable);
}

bool ViewerGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)) || index.row() >= rows_ ||
        !table_->isOpen())
        return false;
    const Column c = columns_[size_t(index.column())];
    const bool checkBox = isViewerCheckBox(c.number);
    QString newText;
    if (checkBox && role == Qt::CheckStateRole)
        newText = QString::fromLatin1(value.toInt() == Qt::Checked ? kCheckedText : kUncheckedText);
    else if (!checkBox && role == Qt::EditRole)
        newText = value.toString();
    else
        return false;

    const int row = index.row();
    bool ours = false; // this change started the edit, so it also ends it
    bool stored = false;
    const bool ok = workspace_.attempt([&] {
        if (row != insertRow_) {
            const std::uint32_t recno = table_->recNoAt(row);
            if (table_->position() != row)
                table_->moveTo(row);
            if (recno == 0 || table_->recNo() != recno)
                return; // posting a pending change moved the records
        }
        stored = true;
        if (newText == text(row, c.field))
            return;
        ours = !changing(*table_);
        table_->edit();
        table_->setFieldText(c.field, newText);
        if (ours)
            post(row);
        else
            Q_EMIT dataChanged(index, index);
    });
    if (!ok && ours)
        table_->cancel();
    return ok && stored;
}

void ViewerGridModel::post(int row)
{
    {
        const QScopedValueRollback hold(posting_, true);
        postRecord(workspace_, *table_);
    }
    // A new key moves the record to another place in the order. The view hears of it
    // as that one row moving, so that its current cell and the editor being committed
    // move with the record; told only that everything changed, it would chase the
    // record with a new current cell in the middle of the commit.
    const int to = table_->position();
    if (to >= 0 && to != row && table_->recordCount() == rows_) {
        beginMoveRows(QModelIndex(), row, row, QModelIndex(), to > row ? to + 1 : to);
        endMoveRows();
    }
    reload();
}

// ---------------------------------------------------------------- delegate

// Draws the chosen grid lines and edits pick-list fields with their drop-down.
class ViewerDelegate : public QStyledItemDelegate {
public:
    explicit ViewerDelegate(ViewerGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void setLines(bool rows, bool columns)
    {
        rowLines_ = rows;
        columnLines_ = columns;
    }

    // The part of a cell inside the lines drawn along its right and bottom edges: an
    // editor stays within it, so that the lines stay whole around it.
    QRect interior(QRect r) const
    {
        if (columnLines_)
            r.setRight(r.right() - 1);
        if (rowLines_)
            r.setBottom(r.bottom() - 1);
        return r;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index); // the style keeps it to the cell
        if (!rowLines_ && !columnLines_)
            return;
        const QWidget *w = option.widget;
        const QStyle *style = w ? w->style() : nullptr;
        const QColor line = style ? QColor(QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &option, w)))
                                  : QColor(Qt::gray);
        painter->save();
        painter->setPen(line);
        const QRect r = option.rect;
        if (columnLines_)
            painter->drawLine(r.topRight(), r.bottomRight());
        if (rowLines_)
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        const ViewerGridModel *model = grid_->gridModel();
        const ViewerCombo *combo = viewerCombo(model->fieldNumberAt(index.column()));
        Table *table = model->table();
        if (combo) {
            auto *box = new QComboBox(parent);
            box->setObjectName(QString::fromLatin1(combo->name));
            box->setFrame(false); // the cell is its frame
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert); // the pick lists grow elsewhere
            box->setFont(grid_->font());
            box->addItems(grid_->pickList(combo->listNumber));
            if (table)
                box->lineEdit()->setMaxLength(table->fieldLayout(model->fieldAt(index.column())).width);
            return box;
        }
        // A plain line edit: the default one widens itself past its cell as text is typed.
        auto *line = new QLineEdit(parent);
        line->setFrame(false);
        line->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
        const int field = model->fieldAt(index.column());
        if (table && field >= 0 && table->fieldLayout(field).type == 'C')
            line->setMaxLength(table->fieldLayout(field).width);
        return line;
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &) const override
    {
        editor->setGeometry(interior(option.rect));
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            box->setEditText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    ViewerGrid *grid_;
    bool rowLines_ = true;
    bool columnLines_ = true;
};

// ---------------------------------------------------------------- grid

ViewerGrid::ViewerGrid(Workspace &workspace, QWidget *parent)
    : QTableView(parent)
    , workspace_(workspace)
    , model_(new ViewerGridModel(workspace, this))
    , delegate_(new ViewerDelegate(this))
{
    setObjectName(QStringLiteral("ViewerGrid"));
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(false); // the delegate draws the lines chosen
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // Header settings that visit every row are made while there are none.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setHighlightSections(false);
    applyRowHeight();
    connect(model_, &QAbstractItemModel::modelReset, this, &ViewerGrid::followTable);
    connect(model_, &ViewerGridModel::currentRecordChanged, this, &ViewerGrid::followTable);
}

void ViewerGrid::setTable(Table *table) { model_->setTable(table); }

void ViewerGrid::setViewerOptions(const Settings &settings)
{
    // Grid options.
    verticalHeader()->setVisible(settings.rowIndicator);
    horizontalHeader()->setVisible(settings.showTitles);
    delegate_->setLines(settings.rowLines, settings.columnLines);
    fieldEditing_ = settings.fieldEditing;
    model_->setEditable(fieldEditing_);
    if (fieldEditing_) {
        setSelectionBehavior(QAbstractItemView::SelectItems);
        setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
    } else {
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    }

    // Fonts and colours.
    const UserFont &cells = settings.font(FontRole::Grid);
    const UserFont &titles = settings.font(FontRole::GridTitle);
    setFont(cells.font);
    horizontalHeader()->setFont(titles.font);
    QPalette p = palette();
    p.setColor(QPalette::Base, settings.cellColor);
    p.setColor(QPalette::Text, cells.color);
    // The selection stays visible when the grid has no focus.
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
    model_->setTitleColors(settings.titleBackground, titles.color);
    switch (settings.titleAlignment) {
    case 1: horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case 2: horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignVCenter); break;
    case 3: horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    default: break;
    }

    // Columns.
    Table *t = table();
    const bool open = t && t->isOpen();
    if (open)
        applyViewerLayout(*t, settings);
    applyRowHeight();
    model_->reload();
    const int charWidth = QFontMetrics(cells.font).averageCharWidth();
    for (int c = 0; open && c < model_->columnCount(); ++c)
        setColumnWidth(c, std::max(t->fieldDisplay(model_->fieldAt(c)).width, 1) * charWidth + kCellMargin);
    viewport()->update();
}

void ViewerGrid::applyRowHeight()
{
    const QFontMetrics metrics(font());
    verticalHeader()->setFixedWidth(metrics.horizontalAdvance(QString::fromUtf8(kIndicatorCurrent)) + kCellMargin);
    const int height = metrics.height() + kRowMargin;
    if (height == verticalHeader()->defaultSectionSize())
        return;
    // The header resizes its rows one by one; on an empty grid that costs nothing.
    if (model_->rowCount() > 0)
        model_->clear();
    verticalHeader()->setDefaultSectionSize(height);
}

QStringList ViewerGrid::pickList(int listNumber) const
{
    return isCatalogueList(listNumber) ? workspace_.pickLists().entries(listNumber) : QStringList();
}

int ViewerGrid::columnOfField(int number) const
{
    for (int c = 0; c < model_->columnCount(); ++c)
        if (model_->fieldNumberAt(c) == number)
            return c;
    return -1;
}

void ViewerGrid::syncWithTable() { model_->reload(); }

void ViewerGrid::followTable()
{
    const int row = model_->currentRow();
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0)
        return;
    const QModelIndex now = currentIndex();
    if (now.isValid() && now.row() == row)
        return;
    const int column = std::min(now.isValid() ? now.column() : column_, model_->columnCount() - 1);
    following_ = true;
    setCurrentIndex(model_->index(row, column));
    following_ = false;
}

void ViewerGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        column_ = current.column();
    Table *t = table();
    if (following_ || !current.isValid() || !t || !t->isOpen())
        return;
    const int row = current.row();
    if (row == model_->insertRow() || (model_->insertRow() < 0 && row == t->position()))
        return;
    // Moving posts a change left open on the record before.
    if (!workspace_.attempt([&] { t->moveTo(row); })) {
        // Back to the record the table could not leave, once this change has settled.
        QMetaObject::invokeMethod(this, &ViewerGrid::followTable, Qt::QueuedConnection);
    }
}

void ViewerGrid::keyPressEvent(QKeyEvent *event)
{
    Table *t = table();
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier && fieldEditing_ && t &&
        t->isOpen() && !t->readOnly() && state() != QAbstractItemView::EditingState) {
        if (t->recordCount() > 0 || changing(*t))
            deleteCurrentRecord(workspace_, *t);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ViewerGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const bool onRecord = indexAt(event->position().toPoint()).isValid();
    QTableView::mouseDoubleClickEvent(event);
    if (onRecord)
        Q_EMIT editRequested();
}

} // namespace kv
