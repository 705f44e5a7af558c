#pragma once
// The edit window on a real catalogue of the given titles, the scripted prompt answering,
// in the U.S. formats.
#include "app/ui/mainwindowfixture.h"
#include "app/workspace/cataloguesession.h"
#include "base/dateformat.h"
#include "base/numberformat.h"
#include "edit/ui/myedit.h"
#include "scriptedprompt.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace f = kv::fields;
using kv::EditMode;

struct EditWindow : kvtest::WorkspaceFixture {
    kv::CatalogueSession catalogues{workspace};
    std::unique_ptr<kv::TMyEdit> window;
    kv::ScopedDateFormat dates{{QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')}};
    kv::ScopedNumberFormats us{{kv::kUsFormat, kv::kUsFormat}};

    explicit EditWindow(const QStringList &titles = {})
    {
        const QString path = newCatalogue(QStringLiteral("EDIT.DBF"));
        kv::Table t;
        t.setPath(path);
        t.open();
        for (const QString &title : titles)
            addRecords(t, {{{"Title", title}}});
        t.close();
        settings.lastDatabase = path;
        EXPECT_TRUE(catalogues.openAtStartup());
        workspace.master().setIndexName(QString()); // physical order: the titles as given
        window = std::make_unique<kv::TMyEdit>(workspace);
    }
    void open(EditMode mode, int row = 0)
    {
        if (workspace.master().recordCount() > 0)
            workspace.master().moveTo(row);
        window->setEditMode(mode);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QLineEdit *line(int field) { return static_cast<QLineEdit *>(window->box(field)); }
    QComboBox *combo(int field) { return static_cast<QComboBox *>(window->box(field)); }
    void type(int field, const QString &text)
    {
        QWidget *w = window->box(field);
        if (auto *c = qobject_cast<QComboBox *>(w))
            w = c->lineEdit();
        static_cast<QLineEdit *>(w)->clear();
        QTest::keyClicks(w, text);
    }
    void click(const char *button) { QTest::mouseClick(child<QPushButton>(window.get(), button), Qt::LeftButton); }
    QStringList titles() { return column(workspace.master(), "Title"); }
    QString current(const char *field) { return workspace.master().fieldText(QString::fromLatin1(field)); }
};
