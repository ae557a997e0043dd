#include "tests/harness/ScriptedModel.h"

#include <gtest/gtest.h>

namespace {

const char* KindName(win::UserActionKind kind) {
    switch (kind) {
        case win::UserActionKind::ClickButton:
            return "click";
        case win::UserActionKind::PressKey:
            return "key";
        case win::UserActionKind::SystemCommand:
            return "system command";
        case win::UserActionKind::Probe:
            return "probe";
    }
    return "action";
}

}  // namespace

ScriptedModel::~ScriptedModel() {
    EXPECT_EQ(Unplayed(), "") << "the window closed before its script was played";
}

void ScriptedModel::Script(win::UserAction action) {
    const int id = m_nextAction++;
    m_pending[id] = "at " + std::to_string(action.at) + ": " + KindName(action.kind);
    const DWORD at = action.at;
    if (action.kind == win::UserActionKind::Probe) {
        std::function<void()> probe = std::move(action.probe);
        action.probe = [this, id, probe = std::move(probe)] {
            Played(id);
            probe();
        };
        win::ModelBackend::Script(std::move(action));
        return;
    }
    // Actions of one tick count play in the order they were scripted, so this look follows
    // the action at once when it plays.
    win::ModelBackend::Script(std::move(action));
    win::ModelBackend::Script({at, win::UserActionKind::Probe, 0, [this, id] { Played(id); }});
}

void ScriptedModel::ExpectClosedBefore(DWORD at) {
    win::ModelBackend::Script({at, win::UserActionKind::Probe, 0,
                               [at] { ADD_FAILURE() << "the window was still open at " << at; }});
}

std::string ScriptedModel::Unplayed() const {
    std::string list;
    for (const auto& [id, action] : m_pending) {
        list += (list.empty() ? "" : "; ") + action;
    }
    return list;
}
