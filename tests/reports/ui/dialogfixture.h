#pragma once
// Small helpers for driving the report dialogs offscreen.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kvtest {

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Acts on the next modal dialog of type Dialog once it is shown, then closes it if act left it open.
template <typename Dialog> void whenShown(std::function<void(Dialog &)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr) << Dialog::staticMetaObject.className();
        if (!dialog)
            return;
        act(*dialog);
        if (dialog->isVisible())
            dialog->QDialog::done(QDialog::Rejected);
    });
}

} // namespace kvtest
