#pragma once
// Runs an action when the scope it guards is left, on every path out: for
// temporary state (a flag set while something runs, a switch turned off for a
// while) that must be put back however the work ends.

#include <utility>

namespace vantrel {

template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

private:
    Action action_;
};

// Gives value to variable for the life of the returned guard, then puts the
// old value back.
template <typename T>
[[nodiscard]] auto TemporarilySet(T& variable, T value) {
    T old = std::exchange(variable, std::move(value));
    return ScopeExit([&variable, old = std::move(old)]() mutable { variable = std::move(old); });
}

}  // namespace vantrel
