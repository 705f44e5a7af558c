#pragma once
// Runs the windows a styled dialog opens the way a test says, instead of modally.
#include "app/style/styleddialog.h"

#include <functional>

namespace kvtest {

struct ScriptedRunner : kv::WindowRunner {
    explicit ScriptedRunner(kv::StyledDialog &dialog) { dialog.setRunner(this); }
    std::function<int(QDialog &)> onExec;
    std::function<void(QDialog &)> onShow;
    int exec(QDialog &d) override { return onExec ? onExec(d) : d.exec(); }
    void show(QDialog &d) override
    {
        if (onShow)
            onShow(d);
        else
            d.show();
    }
};

} // namespace kvtest
