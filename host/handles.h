#pragma once
// Owners for platform handles: exactly one owner per handle, closed when the owner goes away.
// Not copyable, movable; no implicit conversion to the raw handle.

#include <windows.h>

namespace korvanta {

template <typename Traits> class UniqueHandle {
public:
    using Raw = typename Traits::Raw;

    UniqueHandle() = default;
    explicit UniqueHandle(Raw raw) : raw_(raw) {}
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    UniqueHandle(UniqueHandle &&other) noexcept : raw_(other.Detach()) {}
    UniqueHandle &operator=(UniqueHandle &&other) noexcept {
        if (this != &other) {
            Reset();
            raw_ = other.Detach();
        }
        return *this;
    }
    // Closing on the way out of a failed operation must not mask the error its caller
    // may still read with GetLastError.
    ~UniqueHandle() { Reset(); }

    bool valid() const { return Traits::IsValid(raw_); }
    Raw get() const { return raw_; }

    // For APIs that hand a new handle out through a pointer; any handle held is closed first.
    Raw *Receive() {
        Reset();
        return &raw_;
    }
    Raw Detach() {
        Raw raw = raw_;
        raw_ = Traits::Empty();
        return raw;
    }
    // Closes now and reports the platform's answer; an empty owner closes successfully.
    bool Close() {
        if (!valid())
            return true;
        return Traits::Close(Detach());
    }

private:
    void Reset() {
        if (!valid())
            return;
        DWORD error = GetLastError();
        Traits::Close(Detach());
        SetLastError(error);
    }

    Raw raw_ = Traits::Empty();
};

// Kernel objects closed with CloseHandle: files, threads, processes, events. CreateFileA
// reports failure as INVALID_HANDLE_VALUE and most other creators as null; neither is owned.
struct KernelHandleTraits {
    using Raw = HANDLE;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Raw h) { return CloseHandle(h) != FALSE; }
};

// Directory enumerations from FindFirstFileA, closed with FindClose.
struct FindHandleTraits {
    using Raw = HANDLE;
    static Raw Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Raw h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static bool Close(Raw h) { return FindClose(h) != FALSE; }
};

// Keys opened or created by the caller; the predefined roots are never owned.
struct RegistryKeyTraits {
    using Raw = HKEY;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static bool Close(Raw h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

using FileHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

} // namespace korvanta
