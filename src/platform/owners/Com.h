// Owners of COM interface pointers and of this thread's COM apartment.
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

#include <objbase.h>

namespace platform {

template <typename T>
void ReleaseInterface(T* p) noexcept { p->Release(); }

// One reference to a COM interface, released when the owner ends.
template <typename T>
class ComPtr : public UniqueHandle<T*, ReleaseInterface<T>> {
public:
    using UniqueHandle<T*, ReleaseInterface<T>>::UniqueHandle;
    T* operator->() const { return this->get(); }
    void** put_void() { return reinterpret_cast<void**>(this->put()); }
};

// COM for this thread, apartment-threaded, for as long as the owner lives.
// Nested owners on one thread are fine: each successful start is balanced by
// one stop. A thread already in the multithreaded apartment keeps it, and
// COM stays usable there, so that case counts as ready too.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() { if (SUCCEEDED(result_)) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace platform
