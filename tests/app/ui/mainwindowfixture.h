#pragma once
// A main window as the program makes it, for the main window's tests: its own workspace
// and settings, the test's prompt answering, the tip of the day answered by the test.
#include "app/settings/profilefile.h"
#include "app/ui/mainwindow.h"
#include "base/paths.h"
#include "store/storetest.h"
#include "support/whenshown.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using kvtest::whenShown;

inline QString inProgramDir(const QString &name) { return kv::programDir() + QLatin1Char('/') + name; }

inline QString programValue(const char *key)
{
    return kv::ProfileFile::read(kv::programSettingsPath())
        .value(QStringLiteral("Misc"), QString::fromLatin1(key))
        .value_or(QString());
}

inline void setProgramValue(const char *key, const QString &value)
{
    kv::ProfileFile f = kv::ProfileFile::read(kv::programSettingsPath());
    f.setValue(QStringLiteral("Misc"), QString::fromLatin1(key), value);
    ASSERT_TRUE(f.write(kv::programSettingsPath()));
}

struct Program {
    Program(kv::Prompt &prompt, const QStringList &args) : workspace_(settings_, prompt), window_(workspace_, args) {}
    kv::Settings settings_;
    kv::Workspace workspace_;
    kv::TMain window_;
};

class MainPtr {
public:
    explicit MainPtr(std::unique_ptr<Program> p) : p_(std::move(p)) {}
    kv::TMain *get() const { return &p_->window_; }
    kv::TMain *operator->() const { return get(); }
    kv::TMain &operator*() const { return *get(); }
private:
    std::unique_ptr<Program> p_;
};

inline MainPtr startMain(kv::Prompt &prompt, const QStringList &args = {}, int *tips = nullptr)
{
    MainPtr main(std::make_unique<Program>(prompt, args));
    main->setTipWindow([tips](QWidget *, const kv::TipsState &state) {
        if (tips)
            ++*tips;
        return state;
    });
    return main;
}

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QString countText(kv::TMain &main) { return child<QLabel>(&main, "CountLabel")->text(); }

inline QString catalogueWith(const QString &name, const QStringList &titles)
{
    const QString path = newCatalogue(name);
    kv::Table t;
    t.setPath(path);
    t.open();
    for (const QString &title : titles)
        addRecords(t, {{{"Title", title}}});
    return path;
}

