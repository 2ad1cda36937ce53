#pragma once

#include <utility>

namespace cirrolux {

// Runs `action` when the scope ends, however it ends (errors included).
template <class Action> class ScopeExit
{
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};

} // namespace cirrolux
