#pragma once
// One owner for every kind of platform handle: exactly one owner per handle, closed when the
// owner goes away. Not copyable, movable; no implicit conversion to the raw handle.

#include <windows.h>

#include <cstdint>

namespace korvanta {

// Raw: the handle type. Close: gives one handle back to the platform, true on success.
// kInvalid: what the platform hands out for "no handle" besides null (INVALID_HANDLE_VALUE for
// files and directory enumerations); neither it nor null is ever owned.
template <typename Raw, bool (*CloseRaw)(Raw), std::intptr_t kInvalid = 0> class UniqueHandle {
public:
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

    bool valid() const { return raw_ != nullptr && raw_ != reinterpret_cast<Raw>(kInvalid); }
    Raw get() const { return raw_; }

    // For APIs that hand a new handle out through a pointer; any handle held is closed first.
    Raw *Receive() {
        Reset();
        return &raw_;
    }
    Raw Detach() {
        Raw raw = raw_;
        raw_ = nullptr;
        return raw;
    }
    // Closes now and reports the platform's answer; an empty owner closes successfully.
    bool Close() {
        if (!valid())
            return true;
        return CloseRaw(Detach());
    }

private:
    void Reset() {
        if (!valid())
            return;
        DWORD error = GetLastError();
        CloseRaw(Detach());
        SetLastError(error);
    }

    Raw raw_ = nullptr;
};

} // namespace korvanta
