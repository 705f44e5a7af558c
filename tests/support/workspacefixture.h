#pragma once
// A workspace as the program has one, with its own settings record and the scripted
// prompt answering every question.
#include "scriptedprompt.h"

#include "app/workspace/workspace.h"

namespace kvtest {

struct WorkspaceFixture {
    ScriptedPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace{settings, prompt};
};

} // namespace kvtest
