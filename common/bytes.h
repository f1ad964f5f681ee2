// Value bytes: read once, held once, handed to the platform without copies,
// and, where the program owns them, wiped before their memory is given back.
// (A value the platform hands back stays in the platform's object, which the
// program can only borrow, not wipe: the CFData of a read on macOS.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

namespace tresk {

// A growable buffer for secret bytes, in memory of its own (mapped pages,
// given back to the system as soon as it is released, and counted only once
// written). Every live buffer is known to wipeAllSecrets(), which the exit
// path calls, so a value held here never outlives the run in freed memory. Callers
// commit every byte they write into spare(): what lies beyond size() is
// taken to hold nothing.
class SecretBuffer {
public:
    SecretBuffer();
    ~SecretBuffer();
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;

    void reserve(std::size_t capacity);
    // Free room after size(): at least `minimum` bytes, grown when there is less.
    std::span<std::uint8_t> spare(std::size_t minimum);
    void commit(std::size_t count) { size_ += count; }

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    const std::uint8_t* data() const { return data_; }
    std::span<const std::uint8_t> view() const { return {data_, size_}; }

    void wipe();

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    SecretBuffer* prev_ = nullptr;
    SecretBuffer* next_ = nullptr;
    friend void wipeAllSecrets();
};

void wipeAllSecrets();

// Text as the bytes it is made of.
inline std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A wipe the compiler cannot leave out (explicit_bzero, memset_s).
void secureZero(void* data, std::size_t size);

// Immutable bytes with a shared owner: a SecretBuffer, a std::vector, or a
// platform object (CFData) whose storage is borrowed without copying.
class Bytes {
public:
    Bytes() = default;
    Bytes(std::span<const std::uint8_t> view, std::shared_ptr<const void> owner)
        : view_(view), owner_(std::move(owner)) {}

    static Bytes copyOf(std::span<const std::uint8_t> bytes);
    static Bytes copyOf(std::string_view text);
    static Bytes adopt(std::shared_ptr<SecretBuffer> buffer);

    std::span<const std::uint8_t> view() const { return view_; }
    const std::uint8_t* data() const { return view_.data(); }
    std::size_t size() const { return view_.size(); }
    bool empty() const { return view_.empty(); }

    friend bool operator==(const Bytes& a, const Bytes& b);

private:
    std::span<const std::uint8_t> view_;
    std::shared_ptr<const void> owner_;
};

}  // namespace tresk
