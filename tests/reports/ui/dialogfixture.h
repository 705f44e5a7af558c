#pragma once
// Small helpers for driving the report dialogs offscreen.
#include "support/whenshown.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace kvtest {

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}


} // namespace kvtest
