// The preview in the report window colours: what it disables stays in its place and its
// caption still shows on the colour set's background (the stock disabled grey vanished
// on the default grey face, leaving gaps and an empty Print Page button).
#include "app/style/windowstyle.h"

#include "report_engine/pagestream.h"
#include "reports/ui/mypreview.h"
#include "scriptedprompt.h"
#include "../../reports/ui/screenshot.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

kv::PageStream pages(int count)
{
    kv::PageStream stream;
    stream.setPageSize(QSizeF(8.5, 11));
    for (int i = 0; i < count; ++i)
        stream.addPage();
    return stream;
}

// Pixels of the picture that stand out from the background: the caption's ink.
int inkOf(const QImage &picture, const QColor &background)
{
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            const int distance = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                                 std::abs(c.blue() - background.blue());
            if (distance > 90)
                ++ink;
        }
    }
    return ink;
}

struct StyledPreview {
    kv::PageStream stream = pages(3);
    kvtest::ScriptedPrompt prompt;
    kv::Settings settings; // the default colour sets: a grey face
    kv::TMyPreview preview;

    explicit StyledPreview(bool labelRun)
        : preview(stream, QStringLiteral("Report"), labelRun, settings, prompt)
    {
        kv::styleWindow(&preview, kv::WindowFamily::Report, settings);
        preview.show();
    }
    QColor face() const { return preview.palette().color(QPalette::Window); }
    int ink(QToolButton *b) const { return inkOf(b->grab().toImage(), face()); }
    int ink(const QString &menuTitle) const
    {
        auto *bar = preview.findChild<QMenuBar *>();
        for (QAction *a : bar->actions()) {
            if (a->text() == menuTitle) {
                EXPECT_TRUE(a->isVisible());
                return inkOf(bar->grab(bar->actionGeometry(a)).toImage(), face());
            }
        }
        ADD_FAILURE() << "no menu " << menuTitle.toStdString();
        return 0;
    }
};

TEST(PreviewLook, ALabelPreviewShowsItsDisabledPagingGreyedInPlace)
{
    StyledPreview label(true);
    StyledPreview report(false);
    const int enabledButton = report.ink(report.preview.SBPrevPage);
    ASSERT_GT(enabledButton, 20);
    for (QToolButton *b : {label.preview.SBPrevPage, label.preview.SBNextPage}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_FALSE(b->isEnabled());
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->geometry(), (b == label.preview.SBPrevPage ? report.preview.SBPrevPage : report.preview.SBNextPage)
                                     ->geometry());
        EXPECT_GT(label.ink(b), enabledButton / 3);
    }
    EXPECT_GT(label.ink(QStringLiteral("&Navigate")), report.ink(QStringLiteral("&Navigate")) / 3);
    label.preview.resize(640, 300);
    kvtest::saveShot(label.preview, "label-preview-report-colours.png");
}

TEST(PreviewLook, PrintPageWaitsForTheRunWithItsCaptionShowing)
{
    StyledPreview running(false);
    const int enabled = running.ink(running.preview.SBPrint);
    running.preview.setPagesReady(1);
    EXPECT_FALSE(running.preview.SBPrint->isEnabled());
    EXPECT_EQ(running.preview.SBPrint->text(), "Print Page");
    EXPECT_GT(running.ink(running.preview.SBPrint), enabled / 3);
    running.preview.resize(640, 300);
    QApplication::processEvents(); // the page count's new width
    kvtest::saveShot(running.preview, "preview-running-report-colours.png");
}

} // namespace
