#pragma once
// The program's dialogs, each made on a workspace with an open catalogue, for the tests
// that walk them all.
#include "app/ui/colorconfigdialog.h"
#include "app/ui/sortorderdialog.h"
#include "app/ui/viewconfigdialog.h"
#include "app/workspace/cataloguesession.h"
#include "edit/ui/myedit.h"
#include "exchange/ui/backupwindow.h"
#include "exchange/ui/importformat.h"
#include "exchange/ui/myexport.h"
#include "exchange/ui/restorewindow.h"
#include "reports/reportfile.h"
#include "reports/ui/labeldimsdialog.h"
#include "reports/ui/labeloptions.h"
#include "reports/ui/mypreview.h"
#include "reports/ui/myreport.h"
#include "reports/ui/printrangedialog.h"
#include "reports/ui/printselect.h"
#include "reports/ui/reportfonts.h"
#include "reports/ui/userreport.h"
#include "search/ui/mylocatedlg.h"
#include "search/ui/mysearch.h"
#include "search/ui/searchandreplace.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

struct ProgramDialogs {
    kvtest::WorkspaceFixture f;
    kv::CatalogueSession catalogues{f.workspace};
    kv::LocateOptions locate;
    kv::PageStream pages;
    kv::ReportFile reportFile;
    kv::TReportDefRec definition;

    // settings: what the program runs with (fonts, screen size); catalogue: the file to open.
    ProgramDialogs(const kv::Settings &settings, const QString &catalogue)
    {
        f.settings = settings;
        f.settings.lastDatabase = catalogue;
        EXPECT_TRUE(catalogues.openAtStartup());
        pages.setPageSize(QSizeF(8.5, 11));
        pages.addPage();
    }

    // The Reports window on its report side, or on its label side.
    std::unique_ptr<QWidget> reports(int whatToPrint)
    {
        f.settings.whatToPrint = whatToPrint;
        return std::make_unique<kv::TMyReport>(f.workspace);
    }

    std::vector<std::pair<const char *, std::function<std::unique_ptr<QWidget>()>>> makers()
    {
        const auto make = [](auto *window) { return std::unique_ptr<QWidget>(window); };
        return {
            {"Locate", [=, this] { return make(new kv::TMyLocateDlg(f.workspace.master(), locate, f.prompt)); }},
            {"Search and Replace", [=, this] { return make(new kv::TSearchAndReplace(f.workspace)); }},
            {"Search", [=, this] { return make(new kv::TMySearch(f.workspace)); }},
            {"Edit", [=, this] { return make(new kv::TMyEdit(f.workspace)); }},
            {"Sort Order", [=, this] { return make(new kv::TMySortOrder(f.workspace, catalogues)); }},
            {"Color Configuration", [=, this] { return make(new kv::TColorConfig(f.workspace, kv::ColorTarget::Edit)); }},
            {"Viewer Configuration", [=, this] { return make(new kv::TViewConfig(f.workspace)); }},
            {"Reports", [=, this] { return reports(1); }},
            {"Reports (labels)", [=, this] { return reports(3); }},
            {"Preview", [=, this] { return make(new kv::TMyPreview(pages, "Report", false, f.settings, f.prompt)); }},
            {"Report Definition", [=, this] { return make(new kv::TUserReport(f.workspace, reportFile, definition)); }},
            {"Report Fonts", [=, this] { return make(new kv::TReportFonts(definition, f.prompt)); }},
            {"Printer Selection", [=, this] { return make(new kv::TPrintSelect(f.settings, {"PDF"})); }},
            {"Page Printing", [=, this] { return make(new kv::TPrintRange(12, f.prompt)); }},
            {"Label Options", [=, this] { return make(new kv::TLabelOptions(f.workspace)); }},
            {"Label Dimensions", [=, this] { return make(new kv::TLabelDims(f.workspace)); }},
            {"Back Up", [=, this] { return make(new kv::TMyBackup(f.workspace)); }},
            {"Restore", [=, this] { return make(new kv::TMyRestore(f.workspace)); }},
            {"Export", [=, this] { return make(new kv::TMyExport(f.workspace)); }},
            {"Import Format", [=, this] { return make(new kv::TImportFormat(f.workspace)); }},
        };
    }
};
