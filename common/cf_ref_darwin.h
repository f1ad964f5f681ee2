// A move-only owner for one CoreFoundation reference. How a reference comes
// in is always said out loud: adopt() takes over a Create/Copy result,
// retain() takes its own reference to a borrowed Get result.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <type_traits>
#include <utility>

namespace tresk {

template <typename T>
class CfRef {
    static_assert(std::is_pointer_v<T>, "CfRef holds CoreFoundation references");

public:
    CfRef() = default;
    ~CfRef() { reset(); }

    static CfRef adopt(T ref) { return CfRef(ref); }
    static CfRef retain(T ref) {
        if (ref) CFRetain(ref);
        return CfRef(ref);
    }

    CfRef(CfRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CfRef& operator=(CfRef&& other) noexcept {
        if (this != &other) {
            reset();
            ref_ = std::exchange(other.ref_, nullptr);
        }
        return *this;
    }
    CfRef(const CfRef&) = delete;
    CfRef& operator=(const CfRef&) = delete;

    T get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }

    // Hands the reference, and the duty to release it, to the caller.
    [[nodiscard]] T release() { return std::exchange(ref_, nullptr); }

    void reset() {
        if (ref_) CFRelease(ref_);
        ref_ = nullptr;
    }

    // The slot for a function that returns an owned reference through a
    // pointer (SecItemCopyMatching, a CFErrorRef* parameter). The owner must
    // be empty: a reference it held would be overwritten unreleased, or
    // released behind the caller's back, so that is a fault of the program.
    [[nodiscard]] T* outPointer() {
        if (ref_) std::abort();
        return &ref_;
    }

private:
    explicit CfRef(T ref) : ref_(ref) {}
    T ref_ = nullptr;
};

}  // namespace tresk
