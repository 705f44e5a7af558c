#pragma once
// Answering a modal dialog offscreen: the test queues what to do before the command that
// opens the dialog, because exec() does not return until the dialog is closed.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kvtest {

// Acts on the modal dialog that the next command opens, once it is shown; a dialog that
// act left open is closed without its closing rules.
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
