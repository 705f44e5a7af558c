#pragma once
// The viewer: a grid over the master table showing one column per shown field, in the
// table's active order and through its filter. It reads only the rows on screen.
#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <array>
#include <vector>

namespace kv {

struct Settings;
class Table;
class ViewerDelegate;
class Workspace;

class ViewerGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A refusal of the table reaches the user through the workspace.
    explicit ViewerGridModel(Workspace &workspace, QObject *parent = nullptr);

    void setTable(Table *table);
    Table *table() const;
    // Re-reads the columns from the table's field display, the number of rows and the
    // cells; a reset only when the columns or the number of rows changed, so that the
    // current cell and an open editor stay where they are otherwise.
    void reload();

    void setEditable(bool on);
    bool editable() const { return editable_; }
    // Colours of the title row; invalid colours leave the style's own.
    void setTitleColors(const QColor &background, const QColor &text);

    // The table field index shown in a column, or -1.
    int fieldAt(int column) const;
    // The catalogue field number (1 ... 40) shown in a column, or 0.
    int fieldNumberAt(int column) const;
    // The column showing a table field index, or -1.
    int columnOf(int field) const;
    // The row of the record being appended, or -1 when none is.
    int insertRow() const { return insertRow_; }
    // The row of the table's current record (or of the record being appended), or -1.
    int currentRow() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Writes a cell through the table: the current record is edited, set and posted;
    // a record already being edited or appended is only set, for the navigator to post.
    // A failure reaches the user and cancels the change.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // The table's current record moved.
    void currentRecordChanged();

private:
    friend class ViewerGrid;
    // No rows until the next reload: row heights change cheaply on an empty grid.
    void clear();

    struct Column {
        int field;  // table field index
        int number; // catalogue field number, 0 when not a catalogue field
        QString title;
        bool numeric;
        bool operator==(const Column &) const = default;
    };
    QString text(int row, int field) const;
    // Signals the vertical header that the current row moved (its indicator follows).
    void currentMoved();
    // Posts the change that setData() started on row, and re-reads.
    void post(int row);

    Workspace &workspace_;
    QPointer<Table> table_;
    std::vector<Column> columns_;
    int rows_ = 0;
    int insertRow_ = -1;
    int indicatorRow_ = -1;
    bool editable_ = false;
    bool posting_ = false; // the table's announcements wait until post() is done
    QColor titleBackground_;
    QColor titleText_;
};

class ViewerGrid : public QTableView {
    Q_OBJECT
public:
    // A refusal of the table reaches the user through the workspace; Ctrl+Delete is the
    // workspace's one delete command.
    explicit ViewerGrid(Workspace &workspace, QWidget *parent = nullptr);

    void setTable(Table *table);
    Table *table() const { return model_->table(); }
    ViewerGridModel *gridModel() const { return model_; }

    // Grid options, fonts, colours and the column layout from the settings; lays out the
    // table's field display and re-reads the table.
    void setViewerOptions(const Settings &settings);
    bool fieldEditing() const { return fieldEditing_; }

    // The entries of pick list 1 ... 17 offered by the drop-downs of its fields: the
    // workspace's lists, as they stand when a drop-down opens.
    QStringList pickList(int listNumber) const;

    // The column showing a catalogue field number (1 ... 40), or -1.
    int columnOfField(int number) const;

public Q_SLOTS:
    // Re-reads the table and follows its current record; for changes the table does not
    // announce, such as starting or cancelling an append or an edit from elsewhere.
    void syncWithTable();

Q_SIGNALS:
    // A double-click on a record: the owner edits it.
    void editRequested();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void followTable();
    // Row height and indicator width for the grid font; a new height empties the grid
    // until the next reload.
    void applyRowHeight();

    Workspace &workspace_;
    ViewerGridModel *model_;
    ViewerDelegate *delegate_;
    bool fieldEditing_ = false;
    bool following_ = false; // moving the grid to the table's record
    int column_ = 0;         // the current column, kept across resets
};

} // namespace kv
