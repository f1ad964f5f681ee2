#include "common/bytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace tresk {
namespace {
SecretBuffer* liveBuffers = nullptr;  // one thread: a plain intrusive list
}  // namespace

namespace {

std::size_t pageSize() {
    static const auto size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

// Whole pages of their own: unmapped, they are the system's again at once,
// and a page never written takes no memory.
std::uint8_t* mapPages(std::size_t capacity) {
    void* pages = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(pages);
}

}  // namespace

SecretBuffer::SecretBuffer() {
    next_ = liveBuffers;
    if (next_) next_->prev_ = this;
    liveBuffers = this;
}

SecretBuffer::~SecretBuffer() {
    wipe();
    if (data_) ::munmap(data_, capacity_);
    if (prev_) prev_->next_ = next_; else liveBuffers = next_;
    if (next_) next_->prev_ = prev_;
}

void SecretBuffer::wipe() {
    if (data_) secureZero(data_, size_);
}

void SecretBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    if (capacity > SIZE_MAX - pageSize()) throw std::bad_alloc();
    capacity = (capacity + pageSize() - 1) / pageSize() * pageSize();
    // Moved by hand: the old pages are wiped before they are given back.
    std::uint8_t* grown = mapPages(capacity);
    if (size_) std::memcpy(grown, data_, size_);
    if (data_) {
        secureZero(data_, size_);
        ::munmap(data_, capacity_);
    }
    data_ = grown;
    capacity_ = capacity;
}

std::span<std::uint8_t> SecretBuffer::spare(std::size_t minimum) {
    if (capacity_ - size_ < minimum) reserve(std::max(size_ + minimum, capacity_ + capacity_ / 2));
    return {data_ + size_, capacity_ - size_};
}

void wipeAllSecrets() {
    for (auto* b = liveBuffers; b; b = b->next_) b->wipe();
}

Bytes Bytes::copyOf(std::span<const std::uint8_t> bytes) {
    auto owner = std::make_shared<std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
    std::span<const std::uint8_t> view(owner->data(), owner->size());
    return Bytes(view, std::move(owner));
}

Bytes Bytes::copyOf(std::string_view text) { return copyOf(bytesOf(text)); }

Bytes Bytes::adopt(std::shared_ptr<SecretBuffer> buffer) {
    auto view = buffer->view();
    return Bytes(view, std::move(buffer));
}

bool operator==(const Bytes& a, const Bytes& b) {
    return std::equal(a.view_.begin(), a.view_.end(), b.view_.begin(), b.view_.end());
}

}  // namespace tresk
