#include "common/bytes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace tresk {
namespace {
SecretBuffer* liveBuffers = nullptr;  // one thread: a plain intrusive list
}

void secureZero(void* data, std::size_t size) {
    // volatile stores keep the compiler from dropping a wipe of dying memory
    auto* p = static_cast<volatile std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

SecretBuffer::SecretBuffer() {
    next_ = liveBuffers;
    if (next_) next_->prev_ = this;
    liveBuffers = this;
}

SecretBuffer::~SecretBuffer() {
    wipe();
    std::free(data_);
    if (prev_) prev_->next_ = next_; else liveBuffers = next_;
    if (next_) next_->prev_ = prev_;
}

void SecretBuffer::wipe() {
    if (data_) secureZero(data_, capacity_);
}

void SecretBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    // Grow by hand rather than realloc: the old block must be wiped before
    // it is freed, and realloc may move it without telling.
    auto* grown = static_cast<std::uint8_t*>(std::malloc(capacity));
    if (!grown) throw std::bad_alloc();
    if (size_) std::memcpy(grown, data_, size_);
    if (data_) {
        secureZero(data_, capacity_);
        std::free(data_);
    }
    data_ = grown;
    capacity_ = capacity;
}

std::span<std::uint8_t> SecretBuffer::spare(std::size_t minimum) {
    if (capacity_ == size_) reserve(std::max(size_ + minimum, capacity_ + capacity_ / 2));
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

Bytes Bytes::copyOf(std::string_view text) {
    return copyOf(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Bytes Bytes::adopt(std::shared_ptr<SecretBuffer> buffer) {
    auto view = buffer->view();
    return Bytes(view, std::move(buffer));
}

bool operator==(const Bytes& a, const Bytes& b) {
    return std::equal(a.view_.begin(), a.view_.end(), b.view_.begin(), b.view_.end());
}

}  // namespace tresk
