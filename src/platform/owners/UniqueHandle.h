// The one owner of a handle of any kind: made from the handle type, the
// function that closes it and the test for "no handle". Every owner in this
// folder is this template or holds one.
#pragma once

#include <utility>

namespace platform {

template <typename Handle>
constexpr bool IsNotNull(Handle handle) noexcept { return handle != Handle{}; }

// Holds one handle, or none, and closes it on every path. Uncopyable; a move
// leaves the source empty; a hand-over to another owner is a visible
// release(). An invalid handle given to it is held as none, so get() of an
// empty owner is always the type's null.
template <typename Handle, auto Close, auto Valid = IsNotNull<Handle>>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(Valid(handle) ? handle : Handle{}) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return Valid(handle_) ? handle_ : Handle{}; }
    explicit operator bool() const noexcept { return Valid(handle_); }
    // For an out-parameter: closes what is held and lets the callee fill it.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    [[nodiscard]] Handle release() noexcept {
        const Handle held = get();
        handle_ = Handle{};
        return held;
    }
    void reset(Handle handle = Handle{}) noexcept {
        const Handle old = std::exchange(handle_, Valid(handle) ? handle : Handle{});
        if (Valid(old)) Close(old);
    }

private:
    Handle handle_{};
};

}  // namespace platform
