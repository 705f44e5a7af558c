// The page-range and printer dialogs.
#include "screenshot.h"
#include "scriptedprompt.h"
#include "testenv.h"

#include "reports/printrange.h"
#include "reports/ui/printrangedialog.h"
#include "reports/ui/printselect.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kv;

TEST(TPrintRange, RefusesPagesOutsideTheReport)
{
    struct Case {
        const char *start, *end;
        const char *message; // empty: accepted
        int first, last;
    };
    const Case cases[] = {
        {"3", "2", "Error: Invalid Ending Page specified.  Please correct.", 0, 0},
        {"0", "5", "Error: Invalid Starting Page specified. Please correct.", 0, 0},
        {"abc", "2", "Error: Invalid Starting Page specified. Please correct.", 0, 0},
        {"6", "6", "Error: Invalid Starting Page specified. Please correct.", 0, 0},
        {"2", "9", "Error: Invalid Ending Page specified.  Please correct.", 0, 0},
        {"2", "4", "", 2, 4},
        {" 5", "5x", "", 5, 5},
    };
    for (const Case &c : cases) {
        kvtest::ScriptedPrompt prompt;
        TPrintRange dialog(5, prompt);
        EXPECT_EQ(dialog.StartPage->text(), "1");
        EXPECT_EQ(dialog.EndPage->text(), "5");
        dialog.StartPage->setText(QString::fromLatin1(c.start));
        dialog.EndPage->setText(QString::fromLatin1(c.end));
        dialog.PrintButton->click();
        const QString message = QString::fromLatin1(c.message);
        EXPECT_EQ(prompt.messages(), message.isEmpty() ? QStringList() : QStringList{message}) << c.start << c.end;
        EXPECT_EQ(dialog.result(), message.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.firstPage(), c.first);
        EXPECT_EQ(dialog.lastPage(), c.last);
    }
}

// The boxes take as many digits as the last page has (at least three), and propose it.
TEST(TPrintRange, BoxesHoldEveryDigitOfTheLastPage)
{
    const struct {
        int pages, length;
        const char *first, *last; // typed
        int printedFirst, printedLast;
    } cases[] = {
        {5, 3, "1", "5", 1, 5},
        {999, 3, "998", "999", 998, 999},
        {4849, 4, "1000", "4849", 1000, 4849},
        {4849, 4, "4848", "48490", 4848, 4849}, // a fifth digit is not taken
        {123456, 6, "99999", "123456", 99999, 123456},
    };
    for (const auto &c : cases) {
        kvtest::ScriptedPrompt prompt;
        TPrintRange dialog(c.pages, prompt);
        EXPECT_EQ(dialog.EndPage->text(), QString::number(c.pages)) << c.pages;
        EXPECT_EQ(dialog.StartPage->maxLength(), c.length);
        EXPECT_EQ(dialog.EndPage->maxLength(), c.length);
        dialog.StartPage->clear();
        dialog.EndPage->clear();
        QTest::keyClicks(dialog.StartPage, QString::fromLatin1(c.first));
        QTest::keyClicks(dialog.EndPage, QString::fromLatin1(c.last));
        dialog.PrintButton->click();
        EXPECT_TRUE(prompt.messages().isEmpty()) << c.pages;
        EXPECT_EQ(dialog.firstPage(), c.printedFirst) << c.pages;
        EXPECT_EQ(dialog.lastPage(), c.printedLast) << c.pages;
    }
}

TEST(TPrintSelect, ShowsAndKeepsThePrinterChoice)
{
    const QStringList printers = {"PDF", "Laser", "Office"};
    Settings settings;
    settings.defaultPrinter = false;
    settings.printerIndex = 1;
    {
        TPrintSelect dialog(settings, printers);
        EXPECT_TRUE(dialog.OtherPrinter->isChecked());
        EXPECT_EQ(dialog.PrinterList->currentText(), "Laser");
        dialog.DefaultPrinter->setChecked(true);
        dialog.PrinterList->setCurrentIndex(2);
        dialog.CancelButton->click();
    }
    EXPECT_FALSE(settings.defaultPrinter);
    EXPECT_EQ(settings.printerIndex, 1);
    {
        TPrintSelect dialog(settings, printers);
        dialog.DefaultPrinter->setChecked(true);
        dialog.PrinterList->setCurrentIndex(2);
        dialog.OkButton->click();
    }
    EXPECT_TRUE(settings.defaultPrinter);
    EXPECT_EQ(settings.printerIndex, 2); // kept with the default printer too
    {
        TPrintSelect dialog(settings, printers);
        dialog.PdfFile->setChecked(true);
        dialog.OkButton->click();
    }
    EXPECT_TRUE(settings.printToPdf);
    EXPECT_FALSE(settings.defaultPrinter);
    {
        TPrintSelect dialog(settings, printers);
        EXPECT_TRUE(dialog.PdfFile->isChecked());
        kvtest::saveShot(dialog, "printer-selection.png");
        dialog.DefaultPrinter->setChecked(true);
        dialog.OkButton->click();
    }
    EXPECT_FALSE(settings.printToPdf);
    settings.printerIndex = 7;
    TPrintSelect outOfRange(settings, printers);
    EXPECT_TRUE(outOfRange.DefaultPrinter->isChecked());
    EXPECT_EQ(outOfRange.PrinterList->currentIndex(), 0);
}
