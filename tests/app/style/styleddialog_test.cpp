// A dialog takes the look of the window that opens it, however deep: the colour set of
// its own family from the settings of the main window, and runs what it opens through
// its runner.
#include "app/style/styleddialog.h"

#include "scriptedrunner.h"

#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

kv::Settings lookWithColours()
{
    kv::Settings s;
    s.colorSet(kv::WindowFamily::Report)[kv::ColorRole::MainBackground] = QColor(0x10, 0x20, 0x30);
    s.colorSet(kv::WindowFamily::Search)[kv::ColorRole::MainBackground] = QColor(0x40, 0x50, 0x60);
    return s;
}

QColor background(const QWidget &w) { return w.palette().color(w.backgroundRole()); }

} // namespace

TEST(StyledDialog, TakesItsFamilysColoursFromTheMainWindowThroughTheWindowsBetween)
{
    const kv::Settings settings = lookWithColours();
    kv::LookHolder main(settings);
    kv::StyledDialog reports(kv::WindowFamily::Report, &main);
    QWidget side(&reports); // a page inside the Reports window
    kv::StyledDialog editor(kv::WindowFamily::Search, &side);
    reports.style();
    editor.style();
    EXPECT_EQ(background(reports), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(background(editor), QColor(0x40, 0x50, 0x60));

    // A window it opens that is no styled dialog takes the opener's family.
    QDialog preview;
    editor.styleChild(&preview);
    EXPECT_EQ(background(preview), QColor(0x40, 0x50, 0x60));
    EXPECT_EQ(kv::styledDialogOf(&side), &reports);
}

TEST(StyledDialog, WithoutAMainWindowItIsLeftAsItIs)
{
    kv::StyledDialog alone(kv::WindowFamily::Report);
    const QColor before = background(alone);
    alone.style();
    EXPECT_EQ(alone.lookSettings(), nullptr);
    EXPECT_EQ(background(alone), before);
}

TEST(StyledDialog, RunsTheWindowsItOpensThroughItsRunner)
{
    kv::StyledDialog reports(kv::WindowFamily::Report);
    kvtest::ScriptedRunner runner(reports);
    QStringList seen;
    runner.onExec = [&](QDialog &d) { return seen << d.objectName(), int(QDialog::Accepted); };
    runner.onShow = [&](QDialog &d) { seen << QStringLiteral("shown ") + d.objectName(); };
    QDialog form, preview;
    form.setObjectName(QStringLiteral("ReportForm"));
    preview.setObjectName(QStringLiteral("Preview"));
    EXPECT_EQ(reports.execChild(form), int(QDialog::Accepted));
    reports.showChild(preview);
    EXPECT_EQ(seen, QStringList({QStringLiteral("ReportForm"), QStringLiteral("shown Preview")}));
    EXPECT_FALSE(preview.isVisible());
}
