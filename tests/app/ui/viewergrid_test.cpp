#include "app/ui/viewergrid.h"

#include "app/display/screensize.h"
#include "app/settings/settings.h"
#include "app/ui/navigator.h"
#include "scriptedprompt.h"
#include "app/workspace/workspace.h"
#include "store/storetest.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QToolButton>

namespace {

using kv::fields::Title;

// Input as a user gives it, delivered to the widget directly.
void mouse(QWidget *w, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget *w, QPoint at)
{
    mouse(w, QEvent::MouseButtonPress, at);
    mouse(w, QEvent::MouseButtonRelease, at);
}

void doubleClick(QWidget *w, QPoint at)
{
    click(w, at);
    mouse(w, QEvent::MouseButtonDblClick, at);
    mouse(w, QEvent::MouseButtonRelease, at);
}

void key(QWidget *w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
    QCoreApplication::processEvents();
}

class ViewerGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = newCatalogue();
        table.setPath(path);
        table.open();
        addRecords(table, {
                              {{"Title", QStringLiteral("Casablanca")}, {"Year", QStringLiteral("1942")},
                               {"Viewed", QStringLiteral("Yes")}},
                              {{"Title", QStringLiteral("Alien")}, {"Year", QStringLiteral("1979")},
                               {"Viewed", QStringLiteral("No")}},
                              {{"Title", QStringLiteral("Metropolis")}, {"Year", QStringLiteral("1927")}},
                              {{"Title", QStringLiteral("Blade Runner")}, {"Year", QStringLiteral("1982")}},
                          });
        table.first();
        grid.resize(900, 300);
        grid.setTable(&table);
        grid.setViewerOptions(settings);
    }

    // The grid's cells of one catalogue field, top to bottom.
    QStringList shown(int field, int role = Qt::DisplayRole) const
    {
        QStringList out;
        const int column = grid.columnOfField(field);
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            out << grid.model()->index(row, column).data(role).toString();
        return out;
    }

    QModelIndex cell(int row, int field) const { return grid.model()->index(row, grid.columnOfField(field)); }

    void showGrid()
    {
        grid.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(grid.isVisible());
    }

    // The field as the file holds it, read by a second table object.
    QStringList inFile(const char *field)
    {
        kv::Table check;
        check.setPath(path);
        check.open();
        return column(check, field);
    }

    static void commit(QWidget *editor) { key(editor, Qt::Key_Return); }

    // Opens a cell's editor as F2 does: a line edit or a drop-down, or null.
    QWidget *openEditor(const QModelIndex &index)
    {
        grid.setCurrentIndex(index);
        key(&grid, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget(); // in a drop-down, its line edit
        while (editor && editor->parentWidget() != grid.viewport())
            editor = editor->parentWidget();
        return editor;
    }

    // Field editing on, and the navigator's changes shown by the grid as the owner wires it.
    void editWithNavigator()
    {
        settings.fieldEditing = true;
        grid.setViewerOptions(settings);
        navigator.setTable(&table);
        QObject::connect(&navigator, &kv::RecordNavigator::clicked, &grid, &kv::ViewerGrid::syncWithTable);
    }

    kvtest::ScriptedPrompt prompt;
    QString path;
    kv::Table table;
    kv::Settings settings;
    kv::Workspace workspace{settings, prompt};
    kv::ViewerGrid grid{workspace};
    kv::RecordNavigator navigator{workspace};
};

TEST_F(ViewerGridTest, ShowsTheRecordsInTheActiveOrderAndThroughTheFilter)
{
    EXPECT_EQ(grid.objectName(), QStringLiteral("ViewerGrid"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Title"));
    EXPECT_EQ(shown(Title), (QStringList{"Casablanca", "Alien", "Metropolis", "Blade Runner"}));

    table.close();
    table.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    table.setIndexName(QStringLiteral("NewIndex"));
    table.open();
    grid.setViewerOptions(settings);
    EXPECT_EQ(shown(Title), (QStringList{"Alien", "Blade Runner", "Casablanca", "Metropolis"}));

    table.setFilterFunction([](const kv::RecordRef &r) { return r.text(QStringLiteral("Year")).toInt() > 1950; });
    table.setFiltered(true);
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(shown(Title), (QStringList{"Alien", "Blade Runner"}));
    EXPECT_EQ(shown(kv::fields::Year), (QStringList{"1979", "1982"}));

    // Reading cells leaves the current record where it is.
    table.moveTo(1);
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        for (int c = 0; c < grid.model()->columnCount(); ++c)
            grid.model()->index(row, c).data();
    EXPECT_EQ(table.position(), 1);

    table.setFiltered(false);
    EXPECT_EQ(grid.model()->rowCount(), 4);
}

TEST_F(ViewerGridTest, LaysOutTheColumnsFromTheSettings)
{
    settings.field(2).order = 1; // Star 1 first
    settings.field(1).order = 2;
    settings.field(1).caption = QStringLiteral("Film");
    settings.field(1).width = 30;
    settings.field(3).shown = false;
    grid.setViewerOptions(settings);

    const QAbstractItemModel *m = grid.model();
    EXPECT_EQ(m->columnCount(), 39);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Star 1"));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Film"));
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Star 3"));
    EXPECT_EQ(grid.columnOfField(3), -1);
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("Casablanca"));
    // Widths count characters of the grid font.
    const int charWidth = QFontMetrics(grid.font()).averageCharWidth();
    ASSERT_GT(charWidth, 0);
    EXPECT_EQ(grid.columnWidth(1) - grid.columnWidth(0), 15 * charWidth);
}

TEST_F(ViewerGridTest, AppliesTheGridOptions)
{
    EXPECT_FALSE(grid.verticalHeader()->isHidden());
    EXPECT_FALSE(grid.horizontalHeader()->isHidden());
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(grid.model()->flags(cell(0, Title)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.tabKeyNavigation());
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(grid.horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    settings.rowIndicator = false;
    settings.showTitles = false;
    settings.fieldEditing = true;
    settings.titleAlignment = 3;
    settings.titleBackground = QColor(10, 20, 30);
    settings.cellColor = QColor(255, 255, 0);
    settings.font(kv::FontRole::Grid).font.setPointSize(14);
    settings.font(kv::FontRole::Grid).color = QColor(0, 0, 128);
    settings.font(kv::FontRole::GridTitle).font.setBold(true);
    settings.font(kv::FontRole::GridTitle).color = QColor(200, 0, 0);
    grid.setViewerOptions(settings);

    EXPECT_TRUE(grid.verticalHeader()->isHidden());
    EXPECT_TRUE(grid.horizontalHeader()->isHidden());
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_NE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(grid.model()->flags(cell(0, Title)) & Qt::ItemIsEditable);
    EXPECT_EQ(grid.horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(), QColor(10, 20, 30));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
    EXPECT_EQ(grid.palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(grid.palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(grid.font().pointSize(), 14);
    EXPECT_TRUE(grid.horizontalHeader()->font().bold());
    EXPECT_FALSE(grid.font().bold());
    EXPECT_GE(grid.verticalHeader()->defaultSectionSize(), QFontMetrics(grid.font()).height());
    EXPECT_EQ(grid.model()->rowCount(), 4); // still every record after the new row height
    EXPECT_EQ(cell(3, Title).data().toString(), QStringLiteral("Blade Runner"));

    // An alignment outside 1 ... 3 leaves the last one.
    settings.titleAlignment = 7;
    grid.setViewerOptions(settings);
    EXPECT_EQ(grid.horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(ViewerGridTest, DrawsOnlyTheChosenGridLines)
{
    settings.cellColor = QColor(255, 255, 0);
    settings.rowLines = true;
    settings.columnLines = false;
    grid.setViewerOptions(settings);
    showGrid();
    const QRect r = grid.visualRect(cell(1, Title)); // not the selected row
    const QColor cellColor(255, 255, 0);
    auto pixel = [&](int x, int y) { return grid.viewport()->grab().toImage().pixelColor(x, y); };
    EXPECT_NE(pixel(r.center().x(), r.bottom()), cellColor);
    EXPECT_EQ(pixel(r.right(), r.center().y()), cellColor);

    settings.rowLines = false;
    settings.columnLines = true;
    grid.setViewerOptions(settings);
    EXPECT_EQ(pixel(r.center().x(), r.bottom()), cellColor);
    EXPECT_NE(pixel(r.right(), r.center().y()), cellColor);
}

TEST_F(ViewerGridTest, KeepsTheCurrentRecordAndTheCurrentRowTogether)
{
    showGrid();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    click(grid.viewport(), grid.visualRect(cell(2, Title)).center());
    EXPECT_EQ(table.position(), 2);
    EXPECT_EQ(table.fieldText(QStringLiteral("Title")), QStringLiteral("Metropolis"));

    table.last();
    EXPECT_EQ(grid.currentIndex().row(), 3);
    EXPECT_EQ(grid.model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("\u25BA"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), QString());
    table.prior();
    EXPECT_EQ(grid.currentIndex().row(), 2);

    key(&grid, Qt::Key_Down);
    EXPECT_EQ(table.position(), 3);

    // A new order keeps the record current, and the grid follows it.
    table.close();
    table.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    table.setIndexName(QStringLiteral("NewIndex"));
    table.open();
    grid.setViewerOptions(settings);
    table.locate(QStringLiteral("Title"), QStringLiteral("Metropolis"), kv::Table::Match::Exact, false, true);
    EXPECT_EQ(grid.currentIndex().row(), 3);
    EXPECT_EQ(grid.currentIndex().data().toString(), QStringLiteral("Metropolis"));
}

TEST_F(ViewerGridTest, EditingATextCellWritesTheRecord)
{
    settings.fieldEditing = true;
    grid.setViewerOptions(settings);
    showGrid();
    const QModelIndex title = cell(1, Title);
    grid.setCurrentIndex(title);
    key(&grid, Qt::Key_F2); // opens the editor of the current cell
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Alien"));
    EXPECT_EQ(editor->maxLength(), 60);
    editor->setText(QStringLiteral("Aliens"));
    commit(editor);

    EXPECT_EQ(table.state(), kv::Table::State::Browse);
    EXPECT_EQ(inFile("Title"), (QStringList{"Casablanca", "Aliens", "Metropolis", "Blade Runner"}));
    EXPECT_EQ(cell(1, Title).data().toString(), QStringLiteral("Aliens"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(ViewerGridTest, AValueTheFieldRefusesIsReportedAndDropped)
{
    settings.fieldEditing = true;
    grid.setViewerOptions(settings);
    const QModelIndex year = cell(0, kv::fields::Year);
    EXPECT_FALSE(grid.model()->setData(year, QStringLiteral("19x2")));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().at(0).startsWith(QStringLiteral("Error: "))) << prompt.messages().at(0).toStdString();
    EXPECT_EQ(table.state(), kv::Table::State::Browse);
    EXPECT_EQ(inFile("Year").at(0), QStringLiteral("1942"));
}

TEST_F(ViewerGridTest, PickListFieldsEditWithTheirDropDown)
{
    settings.fieldEditing = true;
    settings.font(kv::FontRole::Grid).font.setPointSize(13);
    grid.setViewerOptions(settings);
    workspace.pickLists().list(1).setEntries({QStringLiteral("MGM"), QStringLiteral("Warner Bros.")});
    showGrid();

    const QModelIndex producer = cell(0, kv::fieldNumber(QStringLiteral("Producer")));
    grid.setCurrentIndex(producer);
    key(&grid, Qt::Key_F2); // opens the editor of the current cell
    auto *combo = grid.viewport()->findChild<QComboBox *>(QStringLiteral("MyComboProducer"));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Warner Bros."));
    EXPECT_EQ(combo->font().pointSize(), 13);
    combo->setCurrentIndex(1);
    commit(combo);
    EXPECT_EQ(inFile("Producer").at(0), QStringLiteral("Warner Bros."));

    // The star lists are still empty: the drop-down takes what is typed.
    const QModelIndex star = cell(1, kv::fieldNumber(QStringLiteral("Star4")));
    grid.setCurrentIndex(star);
    key(&grid, Qt::Key_F2); // opens the editor of the current cell
    combo = grid.viewport()->findChild<QComboBox *>(QStringLiteral("MyComboStar4"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 0);
    combo->setEditText(QStringLiteral("Sigourney Weaver"));
    commit(combo);
    EXPECT_EQ(inFile("Star4").at(1), QStringLiteral("Sigourney Weaver"));
}

TEST_F(ViewerGridTest, CheckBoxFieldsWriteYesAndNo)
{
    const int viewed = kv::fields::Viewed;
    EXPECT_EQ(shown(viewed), (QStringList{"", "", "", ""})); // a box, no text
    const auto state = [&](int row) { return cell(row, viewed).data(Qt::CheckStateRole).toInt(); };
    EXPECT_EQ(state(0), Qt::Checked);
    EXPECT_EQ(state(1), Qt::Unchecked);
    EXPECT_EQ(state(2), Qt::PartiallyChecked); // blank

    showGrid();
    // Without field editing the box does not change.
    grid.setCurrentIndex(cell(1, viewed));
    key(&grid, Qt::Key_Space);
    EXPECT_EQ(inFile("Viewed").at(1), QStringLiteral("No"));

    settings.fieldEditing = true;
    grid.setViewerOptions(settings);
    grid.setCurrentIndex(cell(1, viewed));
    key(&grid, Qt::Key_Space);
    EXPECT_EQ(inFile("Viewed").at(1), QStringLiteral("Yes"));
    EXPECT_EQ(state(1), Qt::Checked);
    key(&grid, Qt::Key_Space);
    EXPECT_EQ(inFile("Viewed").at(1), QStringLiteral("No"));

    grid.setCurrentIndex(cell(2, viewed));
    key(&grid, Qt::Key_Space);
    EXPECT_EQ(inFile("Viewed").at(2), QStringLiteral("Yes"));
    EXPECT_EQ(inFile("Viewed").at(0), QStringLiteral("Yes")); // untouched
}

TEST_F(ViewerGridTest, DoubleClickAsksForTheEditWindow)
{
    showGrid();
    int requests = 0;
    QObject::connect(&grid, &kv::ViewerGrid::editRequested, [&] { ++requests; });
    doubleClick(grid.viewport(), grid.visualRect(cell(1, Title)).center());
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(table.position(), 1);
    // Below the last record there is nothing to edit.
    doubleClick(grid.viewport(), QPoint(5, grid.viewport()->height() - 3));
    EXPECT_EQ(requests, 1);
}

TEST_F(ViewerGridTest, ControlDeleteDeletesAfterAsking)
{
    settings.fieldEditing = true;
    grid.setViewerOptions(settings);
    showGrid();
    grid.setCurrentIndex(cell(1, Title));
    prompt.answer(kv::Answer::No).answer(kv::Answer::Yes);
    key(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.recordCount(), 4);
    key(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(prompt.messages(), (QStringList{"Confirm: Delete this record?", "Confirm: Delete this record?"}));
    EXPECT_EQ(shown(Title), (QStringList{"Casablanca", "Metropolis", "Blade Runner"}));
    EXPECT_EQ(inFile("Title"), shown(Title));
}

TEST_F(ViewerGridTest, ARecordBeingAppendedShowsAsTheLastRow)
{
    editWithNavigator();

    navigator.button(kv::RecordNavigator::Button::Insert)->click();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    EXPECT_EQ(grid.model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("*"));
    EXPECT_TRUE(grid.model()->setData(cell(4, Title), QStringLiteral("Vertigo")));
    EXPECT_EQ(table.state(), kv::Table::State::Insert); // waits for Post
    EXPECT_EQ(cell(4, Title).data().toString(), QStringLiteral("Vertigo"));

    navigator.button(kv::RecordNavigator::Button::Post)->click();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(inFile("Title").last(), QStringLiteral("Vertigo"));

    navigator.button(kv::RecordNavigator::Button::Insert)->click();
    EXPECT_EQ(grid.model()->rowCount(), 6);
    navigator.button(kv::RecordNavigator::Button::Cancel)->click();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(inFile("Title").size(), 5);
}

TEST_F(ViewerGridTest, ARecordTheNavigatorOpenedForEditingShowsItsUnpostedValues)
{
    editWithNavigator();
    table.moveTo(2);

    navigator.button(kv::RecordNavigator::Button::Edit)->click();
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("I"));
    EXPECT_TRUE(grid.model()->setData(cell(2, Title), QStringLiteral("Nosferatu")));
    EXPECT_EQ(table.state(), kv::Table::State::Edit);
    EXPECT_EQ(cell(2, Title).data().toString(), QStringLiteral("Nosferatu"));
    EXPECT_EQ(inFile("Title").at(2), QStringLiteral("Metropolis"));

    navigator.button(kv::RecordNavigator::Button::Cancel)->click();
    EXPECT_EQ(cell(2, Title).data().toString(), QStringLiteral("Metropolis"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("\u25BA"));

    // Moving to another record posts what was left open.
    navigator.button(kv::RecordNavigator::Button::Edit)->click();
    grid.model()->setData(cell(2, Title), QStringLiteral("Nosferatu"));
    grid.setCurrentIndex(cell(0, Title));
    EXPECT_EQ(table.state(), kv::Table::State::Browse);
    EXPECT_EQ(table.position(), 0);
    EXPECT_EQ(inFile("Title").at(2), QStringLiteral("Nosferatu"));
}

// Collects every warning Qt prints while it lives.
class WarningCatcher {
public:
    WarningCatcher()
    {
        warnings().clear();
        previous_ = qInstallMessageHandler(&WarningCatcher::handle);
    }
    ~WarningCatcher() { qInstallMessageHandler(previous_); }
    static QStringList &warnings()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            warnings() << message;
    }
    QtMessageHandler previous_;
};

// A change posted from the grid to the field the catalogue is sorted on.
struct RowMove {
    const char *order; // index expression
    int field;
    int row;           // edited row
    const char *typed; // null: the check box is toggled
    QStringList titles; // the order afterwards
    QStringList values; // the edited field afterwards, in that order
    int newRow;
};

void PrintTo(const RowMove &move, std::ostream *os)
{
    *os << move.order << ", row " << move.row << " of field " << move.field;
}

class ViewerGridMoveTest : public ViewerGridTest, public ::testing::WithParamInterface<RowMove> {};

TEST_P(ViewerGridMoveTest, PostingAChangeThatMovesTheRecordFollowsItQuietly)
{
    const RowMove move = GetParam();
    table.close();
    table.addIndex(QStringLiteral("Moving"), QString::fromLatin1(move.order));
    table.setIndexName(QStringLiteral("Moving"));
    table.open();
    table.first();
    settings.fieldEditing = true;
    grid.setViewerOptions(settings);
    showGrid();
    WarningCatcher catcher;

    if (!move.typed) {
        grid.setCurrentIndex(cell(move.row, move.field));
        key(&grid, Qt::Key_Space);
    } else {
        QWidget *editor = openEditor(cell(move.row, move.field));
        ASSERT_NE(editor, nullptr);
        if (auto *box = qobject_cast<QComboBox *>(editor))
            box->setEditText(QString::fromLatin1(move.typed));
        else
            qobject_cast<QLineEdit *>(editor)->setText(QString::fromLatin1(move.typed));
        commit(editor);
    }
    QCoreApplication::processEvents();

    EXPECT_EQ(WarningCatcher::warnings(), QStringList());
    EXPECT_EQ(shown(Title), move.titles);
    EXPECT_EQ(shown(move.field, Qt::EditRole), move.values);
    // The edited record stays current, at its new place.
    EXPECT_EQ(table.position(), move.newRow);
    EXPECT_EQ(table.fieldText(QStringLiteral("Title")), move.titles.at(move.newRow));
    EXPECT_EQ(grid.currentIndex(), cell(move.newRow, move.field));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(grid.model()->headerData(row, Qt::Vertical).toString(),
                  row == move.newRow ? QStringLiteral("\u25BA") : QString())
            << row;
    EXPECT_EQ(grid.viewport()->findChild<QLineEdit *>(), nullptr); // the editor closed
    // The file holds the same, read in the same order by a second table object.
    kv::Table check;
    check.setPath(path);
    check.setIndexName(QStringLiteral("Moving"));
    check.open();
    EXPECT_EQ(column(check, "Title"), move.titles);
    EXPECT_EQ(column(check, kv::fieldName(move.field).toLatin1().constData()), move.values);
}

const int kProducer = kv::fieldNumber(QStringLiteral("Producer"));
const int kViewed = kv::fields::Viewed;

INSTANTIATE_TEST_SUITE_P(
    Moves, ViewerGridMoveTest,
    ::testing::Values(
        RowMove{"Upper(Left(Title,80))", Title, 0, "Zulu", {"Blade Runner", "Casablanca", "Metropolis", "Zulu"},
                {"Blade Runner", "Casablanca", "Metropolis", "Zulu"}, 3},
        RowMove{"Upper(Left(Title,80))", Title, 3, "Aardvark", {"Aardvark", "Alien", "Blade Runner", "Casablanca"},
                {"Aardvark", "Alien", "Blade Runner", "Casablanca"}, 0},
        RowMove{"Upper(Left(Title,80))", Title, 0, "Cobra", {"Blade Runner", "Casablanca", "Cobra", "Metropolis"},
                {"Blade Runner", "Casablanca", "Cobra", "Metropolis"}, 2},
        RowMove{"Producer+Upper(Left(Title,60))", kProducer, 0, "MGM",
                {"Blade Runner", "Casablanca", "Metropolis", "Alien"}, {"", "", "", "MGM"}, 3},
        RowMove{"Viewed+Upper(Left(Title,60))", kViewed, 0, nullptr,
                {"Metropolis", "Alien", "Blade Runner", "Casablanca"}, {"", "No", "Yes", "Yes"}, 2}));

// ---------------------------------------------------------------- what a cell shows and edits

struct CellLook {
    bool rowLines;
    bool columnLines;
    double fontScale; // of the grid font: a screen size mode's factor, or smaller
};

void PrintTo(const CellLook &look, std::ostream *os)
{
    *os << "rows " << look.rowLines << " columns " << look.columnLines << " scale " << look.fontScale;
}

std::vector<CellLook> cellLooks()
{
    std::vector<double> scales{0.5}; // rows lower than a check box
    for (int mode : kv::kWindowSizeModes)
        scales.push_back(kv::screenFactor(mode));
    std::vector<CellLook> looks;
    for (double scale : scales)
        for (int lines = 0; lines < 4; ++lines)
            looks.push_back({(lines & 1) != 0, (lines & 2) != 0, scale});
    return looks;
}

class ViewerGridCellTest : public ViewerGridTest, public ::testing::WithParamInterface<CellLook> {
protected:
    static inline const QColor kCellColor{255, 255, 0};

    void applyLook()
    {
        const CellLook look = GetParam();
        settings.fieldEditing = true;
        settings.rowLines = look.rowLines;
        settings.columnLines = look.columnLines;
        settings.cellColor = kCellColor;
        QFont &font = settings.font(kv::FontRole::Grid).font;
        font.setPointSizeF(font.pointSizeF() * look.fontScale);
        grid.setViewerOptions(settings);
        showGrid();
        grid.setCurrentIndex(cell(3, Title)); // the cells looked at are not highlighted
    }

    // The cell less the lines drawn along its right and bottom edges.
    QRect interior(const QModelIndex &index) const
    {
        QRect r = grid.visualRect(index);
        if (GetParam().columnLines)
            r.setRight(r.right() - 1);
        if (GetParam().rowLines)
            r.setBottom(r.bottom() - 1);
        return r;
    }
};

TEST_P(ViewerGridCellTest, AnEditorStaysInsideItsCellAndItsLines)
{
    applyLook();
    for (int field : {int(Title), kv::fieldNumber(QStringLiteral("Producer"))}) {
        SCOPED_TRACE(field);
        const QModelIndex index = cell(1, field);
        QWidget *editor = openEditor(index);
        ASSERT_NE(editor, nullptr);
        // Typing past the cell's width keeps the editor where it is.
        QTest::keyClicks(QApplication::focusWidget(), QString(30, QLatin1Char('W')));
        QCoreApplication::processEvents();
        const QRect inside = interior(index);
        EXPECT_TRUE(inside.contains(editor->geometry()))
            << "cell " << inside.x() << "," << inside.y() << " " << inside.width() << "x" << inside.height()
            << ", editor " << editor->x() << "," << editor->y() << " " << editor->width() << "x" << editor->height();

        // The lines show around the open editor as they do around the cell below.
        const QImage image = grid.viewport()->grab().toImage();
        const QRect r = grid.visualRect(index);
        const QRect below = grid.visualRect(cell(2, field));
        if (GetParam().columnLines) {
            EXPECT_EQ(image.pixelColor(r.right(), r.center().y()), image.pixelColor(below.right(), below.center().y()));
        }
        if (GetParam().rowLines) {
            EXPECT_EQ(image.pixelColor(r.center().x(), r.bottom()), image.pixelColor(below.center().x(), below.bottom()));
        }
        key(QApplication::focusWidget(), Qt::Key_Escape);
    }
}

TEST_P(ViewerGridCellTest, ACheckBoxIsDrawnInsideItsCell)
{
    settings.field(kv::fields::Viewed).width = 1; // as narrow as a column gets
    applyLook();
    for (int row : {0, 1, 2}) { // Yes, No, blank
        SCOPED_TRACE(row);
        const QModelIndex index = cell(row, kv::fields::Viewed);
        // The cell drawn alone, with room around it that it must leave as it is.
        constexpr int kRoom = 20;
        const QColor outside(0, 0, 255);
        const QRect r(QPoint(kRoom, kRoom), grid.visualRect(index).size());
        QImage image(r.size() + QSize(2 * kRoom, 2 * kRoom), QImage::Format_RGB32);
        image.fill(outside);
        {
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.initFrom(grid.viewport());
            option.widget = &grid;
            option.font = grid.font();
            option.rect = r;
            grid.itemDelegateForIndex(index)->paint(&painter, option, index);
        }
        bool drawn = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool in = r.contains(x, y);
                drawn = drawn || (in && image.pixelColor(x, y) != outside);
                if (!in && image.pixelColor(x, y) != outside) {
                    ADD_FAILURE() << "drawn at " << x - kRoom << ", " << y - kRoom << " of a cell of " << r.width()
                                  << "x" << r.height();
                    return;
                }
            }
        }
        EXPECT_TRUE(drawn);
    }
}

INSTANTIATE_TEST_SUITE_P(LinesAndScales, ViewerGridCellTest, ::testing::ValuesIn(cellLooks()));

} // namespace
