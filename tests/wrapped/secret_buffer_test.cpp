// Freed memory must not hold a secret. This executable is linked with
// -Wl,--wrap=free, so the test can read a block at the moment it is given
// back: after a SecretBuffer grows (the old block) and when it dies.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "common/bytes.h"

extern "C" void __real_free(void* block);

namespace {

const void* watched = nullptr;
std::size_t watchedSize = 0;
std::vector<std::uint8_t> lastSeen;

}  // namespace

extern "C" void __wrap_free(void* block) {
    if (block && block == watched) {
        const auto* bytes = static_cast<const std::uint8_t*>(block);
        std::copy(bytes, bytes + watchedSize, lastSeen.begin());
        watched = nullptr;
    }
    __real_free(block);
}

namespace tresk {
namespace {

// Watches the buffer's current block; its bytes are copied when it is freed.
void watch(const SecretBuffer& buffer) {
    lastSeen.assign(buffer.size(), 0xEE);  // allocated now, never inside free
    watched = buffer.data();
    watchedSize = buffer.size();
}

bool freedAndZero() {
    return watched == nullptr && std::all_of(lastSeen.begin(), lastSeen.end(), [](std::uint8_t b) { return b == 0; });
}

void fill(SecretBuffer& buffer, std::size_t count) {
    auto room = buffer.spare(count);
    std::fill_n(room.begin(), count, 0xA5);
    buffer.commit(count);
}

TEST(SecretBuffer, WipesTheBlockItLeavesWhenItGrows) {
    SecretBuffer buffer;
    fill(buffer, 4096);
    watch(buffer);
    buffer.reserve(1 << 20);
    EXPECT_TRUE(freedAndZero()) << "the old block was freed unwiped, or not freed";
    EXPECT_TRUE(std::all_of(buffer.data(), buffer.data() + buffer.size(), [](std::uint8_t b) { return b == 0xA5; }));
}

TEST(SecretBuffer, WipesWhenGrowingByReading) {
    SecretBuffer buffer;
    fill(buffer, 100);
    fill(buffer, buffer.spare(1).size());  // full: the next spare() must grow
    watch(buffer);
    fill(buffer, 1);
    EXPECT_TRUE(freedAndZero());
}

TEST(SecretBuffer, WipesWhenItDies) {
    {
        SecretBuffer buffer;
        fill(buffer, 333);
        watch(buffer);
    }
    EXPECT_TRUE(freedAndZero());
}

// The exit path wipes what is still alive: every buffer, not only the newest.
TEST(SecretBuffer, WipeAllReachesEveryLiveBuffer) {
    SecretBuffer first, second, third;
    for (SecretBuffer* buffer : {&first, &second, &third}) fill(*buffer, 50);
    wipeAllSecrets();
    for (const SecretBuffer* buffer : {&first, &second, &third}) {
        EXPECT_TRUE(std::all_of(buffer->data(), buffer->data() + buffer->size(), [](std::uint8_t b) { return b == 0; }));
    }
}

}  // namespace
}  // namespace tresk
