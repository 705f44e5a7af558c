#pragma once
// The program's dialogs, each made on a workspace with an open catalogue, for the tests
// that walk them all.
#include "app/ui/colorconfigdialog.h"
#include "app/ui/sortorderdialog.h"
#include "app/ui/viewconfigdialog.h"
#include "app/workspace/cataloguesession.h"
#include "edit/ui/myedit.h"
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

    // settings: what the program runs with (fonts, screen size); catalogue: the file to open.
    ProgramDialogs(const kv::Settings &settings, const QString &catalogue)
    {
        f.settings = settings;
        f.settings.lastDatabase = catalogue;
        EXPECT_TRUE(catalogues.openAtStartup());
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
        };
    }
};
