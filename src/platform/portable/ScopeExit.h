// Runs a function when the scope it was made in ends, on every path out of
// it, returns and exceptions alike: for the few ends that are no handle's (a
// flag lowered, the main window brought back). A handle has its owner instead.
#pragma once
#include <type_traits>
#include <utility>

namespace platform {

template <typename Function>
class ScopeExitGuard {
public:
    explicit ScopeExitGuard(Function&& function) : function_(std::move(function)) {}
    ~ScopeExitGuard() { function_(); }
    ScopeExitGuard(const ScopeExitGuard&) = delete;
    ScopeExitGuard& operator=(const ScopeExitGuard&) = delete;

private:
    Function function_;
};

// const auto back = ScopeExit([&] { host.ShowMain(); });
template <typename Function>
[[nodiscard]] ScopeExitGuard<std::decay_t<Function>> ScopeExit(Function&& function) {
    return ScopeExitGuard<std::decay_t<Function>>(std::forward<Function>(function));
}

}  // namespace platform
