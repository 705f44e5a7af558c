// The Oscar dialog opened by the edit window's three "Select" buttons, on a real
// catalogue, the prompt answering.
#include "edit/ui/myoscaraward.h"

#include "edit/editsteps.h"
#include "editwindowfixture.h"

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>

using kv::Answer;
using kv::TMyOscarAward;

namespace {

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); }

QListWidget *oscarList(TMyOscarAward &d) { return child<QListWidget>(&d, "OscarList"); }

QStringList entries(TMyOscarAward &d)
{
    QStringList all;
    for (int row = 0; row < oscarList(d)->count(); ++row)
        all << oscarList(d)->item(row)->text();
    return all;
}

QStringList selected(TMyOscarAward &d)
{
    QStringList chosen;
    for (int row = 0; row < oscarList(d)->count(); ++row) {
        if (oscarList(d)->item(row)->isSelected())
            chosen << oscarList(d)->item(row)->text();
    }
    return chosen;
}

// A click on the entry of that text.
void clickEntry(TMyOscarAward &d, const QString &text)
{
    QListWidget *list = oscarList(d);
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

struct Oscars : EditWindow {
    explicit Oscars(const QStringList &titles = {QStringLiteral("Casablanca")}) : EditWindow(titles)
    {
        kvtest::writeFile(inProgramDir(QStringLiteral("OSCAR.LST")),
                          "Best Picture\r\nBest Director\r\nBest Actor\r\nbest Sound\r\n");
        kvtest::writeFile(inProgramDir(QStringLiteral("MISC.LST")), "Widescreen\r\nBoxed Set\r\nSubtitled\r\n");
    }
    void showOtherPage() { child<QTabWidget>(window.get(), "Notebook")->setCurrentIndex(3); }
    // Clicks a "Select" button; act answers the dialog once it is shown.
    void select(const char *button, std::function<void(TMyOscarAward &)> act)
    {
        whenShown<TMyOscarAward>([act](TMyOscarAward &d) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            act(d);
        });
        showOtherPage();
        click(button);
    }
};

TEST(OscarDialog, AwardsStartUnselectedAndOkReplacesTheBoxInListOrder)
{
    Oscars o;
    o.open(EditMode::Edit);
    o.line(f::OscarAward)->setText(QStringLiteral("Best Sound"));
    o.window->SaveValues();
    o.select("SelectOscarAward", [](TMyOscarAward &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Oscar Awards"));
        EXPECT_EQ(d.size(), QSize(334, 376));
        EXPECT_EQ(kv::helpKeyword(&d), QStringLiteral("Oscar Awards"));
        EXPECT_EQ(entries(d), words("Best Actor|Best Director|Best Picture|best Sound")) << "alphabetical, case ignored";
        EXPECT_TRUE(selected(d).isEmpty()) << "the box's awards are not selected";
        clickEntry(d, QStringLiteral("Best Picture"));
        clickEntry(d, QStringLiteral("best Sound"));
        clickEntry(d, QStringLiteral("Best Actor"));
        clickEntry(d, QStringLiteral("best Sound")); // a second click deselects
        EXPECT_EQ(selected(d), words("Best Actor|Best Picture"));
        QTest::mouseClick(child<QPushButton>(&d, "OkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(o.line(f::OscarAward)->text(), QStringLiteral("Best Actor, Best Picture")) << "list order, not click order";
    EXPECT_TRUE(o.window->ValuesChanged()) << "the change test sees the new text";

    o.select("SelectOscarNom", [](TMyOscarAward &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Oscar Nominations"));
        clickEntry(d, QStringLiteral("Best Director"));
        QTest::mouseClick(child<QPushButton>(&d, "CancelButton"), Qt::LeftButton);
    });
    EXPECT_TRUE(o.line(f::OscarNom)->text().isEmpty()) << "Cancel keeps the box as it was";
    o.select("SelectOscarAward", [](TMyOscarAward &d) {
        QTest::mouseClick(child<QPushButton>(&d, "OkButton"), Qt::LeftButton);
    });
    EXPECT_TRUE(o.line(f::OscarAward)->text().isEmpty()) << "Ok with nothing selected empties the box";
}

TEST(OscarDialog, MiscellaneousSelectsTheBoxsItemsAndAddsTheUnknownWithoutTouchingTheFile)
{
    Oscars o;
    o.open(EditMode::Edit);
    const QByteArray file = kvtest::readFile(inProgramDir(QStringLiteral("MISC.LST")));
    o.line(f::Miscellane)->setText(QStringLiteral("Widescreen, Director's Cut"));
    o.select("SelectMisc", [](TMyOscarAward &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Miscellaneous"));
        EXPECT_EQ(kv::helpKeyword(&d), QStringLiteral("Miscellaneous"));
        EXPECT_EQ(entries(d), words("Boxed Set|Director's Cut|Subtitled|Widescreen"));
        EXPECT_EQ(selected(d), words("Director's Cut|Widescreen"));
        clickEntry(d, QStringLiteral("Boxed Set"));
        QTest::mouseClick(child<QPushButton>(&d, "OkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(o.line(f::Miscellane)->text(), QStringLiteral("Boxed Set, Director's Cut, Widescreen"));
    EXPECT_EQ(kvtest::readFile(inProgramDir(QStringLiteral("MISC.LST"))), file);
}

TEST(OscarDialog, WorksFromTheKeyboardAlone)
{
    Oscars o;
    o.open(EditMode::Edit);
    o.showOtherPage();
    QPushButton *select = child<QPushButton>(o.window.get(), "SelectOscarNom");
    select->setFocus();
    whenShown<TMyOscarAward>([](TMyOscarAward &d) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        ASSERT_TRUE(QTest::qWaitFor([&d] { return QApplication::focusWidget() == oscarList(d); }))
            << "the list has the focus";
        EXPECT_TRUE(selected(d).isEmpty()) << "the keyboard starts on the first entry without choosing it";
        QTest::keyClick(oscarList(d), Qt::Key_Space); // Best Actor
        QTest::keyClick(oscarList(d), Qt::Key_Down);
        QTest::keyClick(oscarList(d), Qt::Key_Down);
        QTest::keyClick(oscarList(d), Qt::Key_Space); // Best Picture
        QTest::keyClick(oscarList(d), Qt::Key_Down);
        EXPECT_EQ(selected(d), words("Best Actor|Best Picture"));
        QTest::keyClick(oscarList(d), Qt::Key_Return); // Ok is the default button
    });
    QTest::keyClick(select, Qt::Key_Space);
    EXPECT_EQ(o.line(f::OscarNom)->text(), QStringLiteral("Best Actor, Best Picture"));

    whenShown<TMyOscarAward>([](TMyOscarAward &d) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        ASSERT_TRUE(QTest::qWaitFor([&d] { return QApplication::focusWidget() == oscarList(d); }));
        QTest::keyClick(oscarList(d), Qt::Key_Space);
        QTest::keyClick(oscarList(d), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    QTest::keyClick(select, Qt::Key_Space);
    EXPECT_EQ(o.line(f::OscarNom)->text(), QStringLiteral("Best Actor, Best Picture")) << "Escape cancels";
}

TEST(OscarDialog, ALongResultShowsWholeIsStoredCutAndLeavingStillAsks)
{
    Oscars o;
    QByteArray lines;
    QStringList names;
    for (char c : {'A', 'B', 'C'}) {
        names << QStringLiteral("Best %1 ").arg(QLatin1Char(c)) + QString(50, QLatin1Char(c));
        lines += names.constLast().toLatin1() + "\r\n";
    }
    kvtest::writeFile(inProgramDir(QStringLiteral("OSCAR.LST")), lines);
    o.open(EditMode::Edit);
    o.select("SelectOscarAward", [&names](TMyOscarAward &d) {
        for (const QString &name : names)
            clickEntry(d, name);
        QTest::mouseClick(child<QPushButton>(&d, "OkButton"), Qt::LeftButton);
    });
    const QString whole = names.join(QStringLiteral(", "));
    ASSERT_GT(whole.size(), 110);
    EXPECT_EQ(o.line(f::OscarAward)->text(), whole) << "shown whole";

    o.click("UpdateButton");
    EXPECT_EQ(o.current("OscarAward"), whole.left(110)) << "stored cut to the field";
    EXPECT_EQ(o.line(f::OscarAward)->text(), whole);
    o.prompt.answer(Answer::No);
    o.click("CancelButton");
    EXPECT_EQ(o.prompt.messages(), QStringList{QStringLiteral("Warning: ") + QString::fromLatin1(kv::kExitQuestion)});
    EXPECT_TRUE(o.window->isVisible());

    // Typing shortens the long text but cannot lengthen it.
    QLineEdit *box = o.line(f::OscarAward);
    box->setFocus();
    box->setCursorPosition(5);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text().size(), whole.size() - 1);
    EXPECT_EQ(box->cursorPosition(), 4) << "the cursor stays where the typing is";
    QTest::keyClicks(box, QStringLiteral("xy"));
    EXPECT_EQ(box->text(), whole.left(4) + whole.mid(5));
}

TEST(OscarDialog, TheSelectButtonsWorkInBrowseOnlyMode)
{
    Oscars o;
    o.workspace.enterBrowseOnly();
    o.window = std::make_unique<kv::TMyEdit>(o.workspace);
    o.open(EditMode::Edit);
    o.select("SelectMisc", [](TMyOscarAward &d) {
        clickEntry(d, QStringLiteral("Subtitled"));
        QTest::mouseClick(child<QPushButton>(&d, "OkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(o.line(f::Miscellane)->text(), QStringLiteral("Subtitled"));
    EXPECT_FALSE(o.window->DoUpdate()) << "the record cannot be updated";
    EXPECT_TRUE(o.current("Miscellane").isEmpty());
}

} // namespace
