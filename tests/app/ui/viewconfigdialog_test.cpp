// The Viewer Configuration dialog on the offscreen platform: its pages, the controls that
// change the settings at once, the field pages taken over on close, and the keyboard.
#include "app/ui/viewconfigdialog.h"

#include "app/display/screensize.h"
#include "help/helpwindow.h"
#include "testenv.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using kv::Answer;
using kv::TViewConfig;

namespace {

template <typename T> T *child(const QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QTableWidget *grid(const TViewConfig &d, const char *name) { return child<QTableWidget>(d, name); }

QStringList column(const QTableWidget *grid, int c)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, c)->text();
    return texts;
}

QStringList listRows(const QListWidget *list)
{
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    return rows;
}

void click(const TViewConfig &d, const char *button) { QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton); }

void setCell(const TViewConfig &d, const char *gridName, int row, const QString &text)
{
    grid(d, gridName)->item(row, 1)->setText(text);
}

QColor sampleColor(const TViewConfig &d, const char *name)
{
    return child<QFrame>(d, name)->palette().color(QPalette::Window);
}

// A double-click as a user gives it, delivered to the widget directly.
void doubleClick(QWidget *w, QPoint at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// A mnemonic presses its button after a short animation.
void mnemonic(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    QTest::qWait(200);
}

void activate(QWidget &w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

TEST(ViewConfigDialog, SixPagesInTabOrderWithTheirControls)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TViewConfig"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Viewer Configuration"));
    auto *pages = child<QTabWidget>(dialog, "PageControl");
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"&Title", "&Look and Feel", "Fields to &Show", "Field &Widths", "Field &Order",
                                 "Field &Names"}));

    const struct {
        const char *name;
        const char *text;
    } controls[] = {
        {"ShowTitlesBox", "Show Column Titles"}, {"TitleFontLabel", "Title Font"},
        {"TitleFontButton", "New &Font"},       {"TitleColorLabel", "Background"},
        {"TitleColorButton", "New &Color"},     {"LeftJustifyButton", "Left Justify"},
        {"CenterButton", "Center"},             {"RightJustifyButton", "Right Justify"},
        {"ColumnLinesBox", "Show lines between columns"}, {"RowLinesBox", "Show lines between rows"},
        {"RowIndicatorBox", "Show current row indicator"}, {"FieldEditingBox", "Allow field editing"},
        {"CellColorLabel", "Cell Color"},       {"CellColorButton", "New &Color"},
        {"CellFontLabel", "Cell Font"},         {"CellFontButton", "New &Font"},
        {"OrderFieldLabel", "Field"},           {"OrderingLabel", "Ordering"},
        {"UpButton", "&Up"},                    {"DownButton", "&Down"},
        {"DefaultsButton", "D&efaults"},        {"ExitButton", "E&xit"},
        {"HelpButton", "&Help"},
        {"ShowExplanation", "For each field that you would like displayed in the Viewer, select 'Yes'.  If you do "
                            "not wish a field to appear in the Viewer, then select 'No' for that field.  Double "
                            "Click on the field to change between 'Yes' and 'No'."},
    };
    for (const auto &c : controls) {
        QObject *o = dialog.findChild<QObject *>(QString::fromLatin1(c.name));
        ASSERT_NE(o, nullptr) << c.name;
        EXPECT_EQ(o->property("text").toString(), QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_EQ(child<QWidget>(dialog, "AlignmentGroup")->property("title").toString(), QStringLiteral("Alignment"));
    EXPECT_EQ(child<QWidget>(dialog, "GridOptionsGroup")->property("title").toString(), QStringLiteral("Grid Options"));
    EXPECT_TRUE(child<QLineEdit>(dialog, "TitleFontText")->isReadOnly());
    EXPECT_TRUE(child<QLineEdit>(dialog, "CellFontText")->isReadOnly());

    const struct {
        const char *name;
        const char *second;
    } grids[] = {{"DisplayGrid", "DISPLAY IT"}, {"WidthGrid", "WIDTH"}, {"NameGrid", "NAME TO USE"}};
    for (const auto &g : grids) {
        QTableWidget *t = grid(dialog, g.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->rowCount(), kv::kFieldCount) << g.name;
        EXPECT_EQ(t->horizontalHeaderItem(0)->text(), QStringLiteral("FIELD"));
        EXPECT_EQ(t->horizontalHeaderItem(1)->text(), QString::fromLatin1(g.second));
    }
}

TEST(ViewConfigDialog, ShowingFillsThePagesFromTheSettingsAtTheScreenFactor)
{
    kvtest::WorkspaceFixture f;
    kv::Settings &s = f.settings;
    s.windowSize = 800;
    s.showTitles = false;
    s.rowLines = false;
    s.fieldEditing = true;
    s.titleAlignment = 3;
    s.titleBackground = QColor(10, 20, 30);
    s.cellColor = QColor(200, 210, 220);
    s.font(kv::FontRole::Grid).font = QFont(QStringLiteral("Courier New"), 9);
    s.field(2).shown = false;
    s.field(2).width = 33;
    s.field(1).caption = QStringLiteral("Movie");
    s.field(1).order = 2;
    s.field(2).order = 1;
    s.colorSet(kv::WindowFamily::Configure)[kv::ColorRole::MainBackground] = QColor(0, 128, 128);

    TViewConfig dialog(f.workspace);
    dialog.show();
    EXPECT_FALSE(child<QCheckBox>(dialog, "ShowTitlesBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "ColumnLinesBox")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "RowLinesBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "RowIndicatorBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "FieldEditingBox")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "RightJustifyButton")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(dialog, "CenterButton")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dialog, "TitleFontText")->text(), QStringLiteral("12pt Arial"));
    EXPECT_EQ(child<QLineEdit>(dialog, "CellFontText")->text(), QStringLiteral("9pt Courier New"));
    EXPECT_EQ(sampleColor(dialog, "TitleColorSample"), QColor(10, 20, 30));
    EXPECT_EQ(sampleColor(dialog, "CellColorSample"), QColor(200, 210, 220));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 128, 128));

    QTableWidget *widths = grid(dialog, "WidthGrid");
    EXPECT_EQ(column(widths, 0).mid(0, 2), (QStringList{"Movie", "Star 1"}));
    EXPECT_EQ(column(widths, 1).mid(0, 3), (QStringList{"15", "33", "15"}));
    EXPECT_EQ(column(grid(dialog, "DisplayGrid"), 1).mid(0, 3), (QStringList{"Yes", "No", "Yes"}));
    EXPECT_EQ(column(grid(dialog, "NameGrid"), 0).mid(0, 3), (QStringList{"Title", "Star1", "Star2"}));
    EXPECT_EQ(column(grid(dialog, "NameGrid"), 1).mid(0, 3), (QStringList{"Movie", "Star 1", "Star 2"}));
    EXPECT_EQ(listRows(child<QListWidget>(dialog, "OrderList")).mid(0, 3), (QStringList{"Star 1", "Movie", "Star 2"}));

    // Columns 200 and 100 (names 200 and 200, order 200) times 1.25; each 20 wider than its columns.
    for (const char *name : {"DisplayGrid", "WidthGrid", "NameGrid"}) {
        SCOPED_TRACE(name);
        QTableWidget *t = grid(dialog, name);
        const int second = QByteArray(name) == "NameGrid" ? 250 : 125;
        EXPECT_EQ(t->columnWidth(0), 250);
        EXPECT_EQ(t->columnWidth(1), second);
        EXPECT_EQ(t->width(), 250 + second + 20);
    }
    EXPECT_EQ(child<QListWidget>(dialog, "OrderList")->width(), 270);
    const TViewConfig unshown(f.workspace);
    EXPECT_EQ(widths->rowHeight(0), kv::scaleLength(grid(unshown, "WidthGrid")->rowHeight(0), 1.25));
    // Only the "WIDTH" and "NAME TO USE" columns are typed in.
    EXPECT_FALSE(widths->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(widths->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid(dialog, "NameGrid")->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid(dialog, "NameGrid")->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid(dialog, "DisplayGrid")->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(ViewConfigDialog, OptionsFontsAndColoursChangeTheSettingsAtOnce)
{
    kvtest::WorkspaceFixture f;
    kv::Settings &s = f.settings;
    s.titleAlignment = 7; // no choice of the dialog
    TViewConfig dialog(f.workspace);
    dialog.show();
    for (const char *name : {"LeftJustifyButton", "CenterButton", "RightJustifyButton"})
        EXPECT_FALSE(child<QRadioButton>(dialog, name)->isChecked()) << name;

    const struct {
        const char *box;
        bool kv::Settings::*flag;
    } boxes[] = {{"ShowTitlesBox", &kv::Settings::showTitles},   {"ColumnLinesBox", &kv::Settings::columnLines},
                 {"RowLinesBox", &kv::Settings::rowLines},       {"RowIndicatorBox", &kv::Settings::rowIndicator},
                 {"FieldEditingBox", &kv::Settings::fieldEditing}};
    for (const auto &b : boxes) {
        const bool was = s.*b.flag;
        auto *box = child<QCheckBox>(dialog, b.box);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        EXPECT_EQ(s.*b.flag, !was) << b.box;
    }
    const struct {
        const char *button;
        int alignment;
    } alignments[] = {{"LeftJustifyButton", 1}, {"RightJustifyButton", 3}, {"CenterButton", 2}};
    for (const auto &a : alignments) {
        child<QRadioButton>(dialog, a.button)->click();
        EXPECT_EQ(s.titleAlignment, a.alignment) << a.button;
    }

    QFont chosen(QStringLiteral("Courier New"), 20);
    chosen.setItalic(true);
    f.prompt.answerFont(chosen);
    click(dialog, "TitleFontButton");
    EXPECT_EQ(s.font(kv::FontRole::GridTitle).font, chosen);
    EXPECT_EQ(child<QLineEdit>(dialog, "TitleFontText")->text(), QStringLiteral("20pt Courier New"));
    f.prompt.answerFont(std::nullopt);
    click(dialog, "CellFontButton");
    EXPECT_EQ(child<QLineEdit>(dialog, "CellFontText")->text(), QStringLiteral("10pt Arial"));

    f.prompt.answerColor(QColor(1, 2, 3));
    click(dialog, "TitleColorButton");
    f.prompt.answerColor(QColor(4, 5, 6));
    click(dialog, "CellColorButton");
    EXPECT_EQ(s.titleBackground, QColor(1, 2, 3));
    EXPECT_EQ(s.cellColor, QColor(4, 5, 6));
    EXPECT_EQ(sampleColor(dialog, "TitleColorSample"), QColor(1, 2, 3));
    EXPECT_EQ(sampleColor(dialog, "CellColorSample"), QColor(4, 5, 6));
    QStringList dialogs;
    for (const kvtest::Shown &shown : f.prompt.shown())
        dialogs << shown.kind + QLatin1Char(' ') + shown.caption;
    EXPECT_EQ(dialogs, (QStringList{"font Title Font", "font Cell Font", "color Title Background", "color Cell Color"}));
}

TEST(ViewConfigDialog, DoubleClickOrSpaceSwitchesDisplayIt)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    dialog.show();
    child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(2);
    QTableWidget *display = grid(dialog, "DisplayGrid");
    display->item(3, 1)->setText(QStringLiteral("maybe"));
    QApplication::processEvents();
    const auto onCell = [display](int row, int col) {
        doubleClick(display->viewport(), display->visualRect(display->model()->index(row, col)).center());
    };
    onCell(1, 1);
    EXPECT_EQ(display->item(1, 1)->text(), QStringLiteral("No"));
    onCell(1, 1);
    EXPECT_EQ(display->item(1, 1)->text(), QStringLiteral("Yes"));
    onCell(3, 1);
    EXPECT_EQ(display->item(3, 1)->text(), QStringLiteral("Yes"));
    onCell(2, 0); // the "FIELD" column switches nothing
    EXPECT_EQ(display->item(2, 1)->text(), QStringLiteral("Yes"));
    EXPECT_EQ(display->item(2, 0)->text(), QStringLiteral("Star 2"));

    display->setCurrentCell(5, 0);
    QTest::keyClick(display, Qt::Key_Space);
    EXPECT_EQ(display->item(5, 1)->text(), QStringLiteral("No"));
    EXPECT_TRUE(f.settings.field(6).shown) << "taken over when the dialog closes";
}

TEST(ViewConfigDialog, UpDownMoveTheSelectedRowAndDefaultsAsksFirst)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    dialog.show();
    auto *list = child<QListWidget>(dialog, "OrderList");
    const QStringList defaults = listRows(list);

    list->setCurrentRow(0);
    click(dialog, "UpButton"); // nothing above the first row
    EXPECT_EQ(listRows(list), defaults);
    EXPECT_EQ(list->currentRow(), 0);
    click(dialog, "DownButton");
    click(dialog, "DownButton");
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(listRows(list).mid(0, 3), (QStringList{"Star 1", "Star 2", "Title"}));
    click(dialog, "UpButton");
    EXPECT_EQ(listRows(list).mid(0, 3), (QStringList{"Star 1", "Title", "Star 2"}));
    list->setCurrentRow(kv::kFieldCount - 1);
    click(dialog, "DownButton"); // nothing below the last
    EXPECT_EQ(list->currentRow(), kv::kFieldCount - 1);
    const QStringList moved = listRows(list);

    f.prompt.answer(Answer::No);
    click(dialog, "DefaultsButton");
    EXPECT_EQ(listRows(list), moved);
    f.prompt.answer(Answer::Yes);
    click(dialog, "DefaultsButton");
    EXPECT_EQ(listRows(list), defaults);
    ASSERT_EQ(f.prompt.shown().size(), 2u);
    const kvtest::Shown &question = f.prompt.shown().back();
    EXPECT_EQ(question.caption, QStringLiteral("Re-Order"));
    EXPECT_EQ(question.text, QStringLiteral("This will set the order of fields to the program defaults.  Continue?"));
    EXPECT_EQ(question.buttons, kv::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::Yes);
}

TEST(ViewConfigDialog, HelpOpensAtTheKeywordOfThePageInFront)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    dialog.show();
    auto *pages = child<QTabWidget>(dialog, "PageControl");
    const char *const anchors[] = {"title", "look", "show", "widths", "order", "names"};
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(anchors[page]);
        pages->setCurrentIndex(page);
        click(dialog, "HelpButton");
        kv::THelpWindow *help = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *h = qobject_cast<kv::THelpWindow *>(w))
                help = h;
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("viewerconfig.html"));
        EXPECT_EQ(help->browser()->source().fragment(), QString::fromLatin1(anchors[page]));
        help->close();
    }
}

TEST(ViewConfigDialog, ExitTakesTheFieldPagesOverAndShowsTheWidthsItKept)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    dialog.show();
    setCell(dialog, "WidthGrid", 0, QStringLiteral("0"));
    setCell(dialog, "WidthGrid", 1, QStringLiteral("256"));
    setCell(dialog, "WidthGrid", 2, QStringLiteral("abc"));
    setCell(dialog, "WidthGrid", 3, QStringLiteral("255"));
    setCell(dialog, "DisplayGrid", 4, QStringLiteral("No"));
    setCell(dialog, "NameGrid", 10, QStringLiteral("Released"));
    auto *list = child<QListWidget>(dialog, "OrderList");
    list->setCurrentRow(10);
    for (int i = 0; i < 10; ++i)
        click(dialog, "UpButton");

    click(dialog, "ExitButton");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(f.prompt.messages().isEmpty());
    const kv::Settings &s = f.settings;
    EXPECT_EQ((QList<int>{s.field(1).width, s.field(2).width, s.field(3).width, s.field(4).width}),
              (QList<int>{10, 10, 10, 255}));
    EXPECT_EQ(column(grid(dialog, "WidthGrid"), 1).mid(0, 4), (QStringList{"10", "10", "10", "255"}));
    EXPECT_FALSE(s.field(5).shown);
    EXPECT_EQ(s.field(11).caption, QStringLiteral("Released"));
    EXPECT_EQ(s.field(11).order, 1);
    EXPECT_EQ(s.field(1).order, 2);
}

TEST(ViewConfigDialog, EqualCaptionsKeepItOpenOnTheNamesPageUntilOneChanges)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    activate(dialog);
    auto *pages = child<QTabWidget>(dialog, "PageControl");
    pages->setCurrentIndex(3);
    setCell(dialog, "NameGrid", 6, QStringLiteral("Lead"));
    setCell(dialog, "NameGrid", 2, QStringLiteral("Lead"));
    setCell(dialog, "WidthGrid", 0, QStringLiteral("0"));
    const kv::Settings before = f.settings;

    QTest::keyClick(&dialog, Qt::Key_Escape); // Escape is Exit, and is refused alike
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.prompt.messages(),
              QStringList{QStringLiteral("Error: Two field names have the same name \"Lead\".  Please change one.")});
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("NamesPage"));
    EXPECT_EQ(QApplication::focusWidget(), grid(dialog, "NameGrid"));
    EXPECT_EQ(f.settings, before);
    EXPECT_EQ(grid(dialog, "WidthGrid")->item(0, 1)->text(), QStringLiteral("0"));

    f.prompt.clear();
    setCell(dialog, "NameGrid", 6, QStringLiteral("LEAD")); // letter case makes them differ
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(f.prompt.messages().isEmpty());
    EXPECT_EQ(f.settings.field(3).caption, QStringLiteral("Lead"));
    EXPECT_EQ(f.settings.field(7).caption, QStringLiteral("LEAD"));
}

TEST(ViewConfigDialog, KeyboardReachesEveryPageAndTheTitlePageInItsOrder)
{
    kvtest::WorkspaceFixture f;
    TViewConfig dialog(f.workspace);
    activate(dialog);
    auto *pages = child<QTabWidget>(dialog, "PageControl");
    const struct {
        Qt::Key key;
        const char *page;
    } keys[] = {{Qt::Key_N, "NamesPage"}, {Qt::Key_L, "LookPage"}, {Qt::Key_S, "ShowPage"},
                {Qt::Key_W, "WidthsPage"}, {Qt::Key_O, "OrderPage"}, {Qt::Key_T, "TitlePage"}};
    for (const auto &k : keys) {
        mnemonic(k.key);
        EXPECT_EQ(pages->currentWidget()->objectName(), QString::fromLatin1(k.page));
    }

    child<QCheckBox>(dialog, "ShowTitlesBox")->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The alignment choices are one stop: Tab enters at one of them, arrows move between.
    ASSERT_EQ(order.size(), 6);
    EXPECT_TRUE(order[4].endsWith(QStringLiteral("Button")) && child<QRadioButton>(dialog, qPrintable(order[4])))
        << order[4].toStdString();
    order.removeAt(4);
    EXPECT_EQ(order, (QStringList{"ShowTitlesBox", "TitleFontText", "TitleFontButton", "TitleColorButton",
                                  "ExitButton"}));

    // On the order page: Alt+D moves the selected row down.
    mnemonic(Qt::Key_O);
    auto *list = child<QListWidget>(dialog, "OrderList");
    list->setCurrentRow(0);
    mnemonic(Qt::Key_D);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Title"));
    mnemonic(Qt::Key_X);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(f.settings.field(1).order, 2);
}
