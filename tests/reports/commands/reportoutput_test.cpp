// Where a report run goes, and on which paper its pages are laid out: the PDF file's paper
// whenever the pages end up in a PDF file, a cancelled file dialog runs nothing.
#include "reports/commands/reportoutput.h"

#include "report_engine/print/printeroutput.h"
#include "scriptedprompt.h"

#include <gtest/gtest.h>

TEST(ReportRunOutput, PagesAreLaidOutOnThePaperTheyComeOutOn)
{
    const QSizeF a4(8.27, 11.69);
    kv::PageStream stream;
    kvtest::ScriptedPrompt prompt;
    kv::Settings s;
    s.printToPdf = true;
    // A view or a text run whose printer choice is a PDF file: the PDF file's paper.
    for (kv::OutputMode mode : {kv::OutputMode::View, kv::OutputMode::TextFile}) {
        const auto output = kv::reportRunOutput(s, prompt, mode, a4, stream);
        ASSERT_NE(output, nullptr);
        EXPECT_EQ(output->paperSize(), a4) << int(mode);
    }
    // A print to a PDF file asks for its name first; cancelled, there is no run.
    prompt.answerFile(QString());
    EXPECT_EQ(kv::reportRunOutput(s, prompt, kv::OutputMode::Print, a4, stream), nullptr);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].kind, QStringLiteral("save"));
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Save As PDF"));
    EXPECT_TRUE(prompt.allAnswersUsed());

    // Without a PDF file the printer's paper, or the PDF file's when there is no printer.
    s.printToPdf = false;
    const QString printer = kv::choosePrinter(s.defaultPrinter, s.printerIndex);
    const QSizeF expected = printer.isEmpty() ? a4 : kv::printerPaper(printer);
    EXPECT_EQ(kv::reportRunOutput(s, prompt, kv::OutputMode::View, a4, stream)->paperSize(), expected);
}
