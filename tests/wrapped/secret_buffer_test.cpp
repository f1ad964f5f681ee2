// Memory given back must not hold a secret. This executable is linked with
// -Wl,--wrap=munmap, so the test can read a buffer's pages at the moment they
// are given back: after a SecretBuffer grows (the old pages) and when it dies.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/bytes.h"
#include "common/streams.h"

#include <sys/mman.h>

extern "C" int __real_munmap(void* pages, std::size_t length);

namespace {

bool checkEvery = false;  // every unmapping is looked at
std::size_t unmappedWithData = 0;
const void* watched = nullptr;
std::size_t watchedSize = 0;
std::vector<std::uint8_t> lastSeen;

}  // namespace

extern "C" int __wrap_munmap(void* pages, std::size_t length) {
    if (checkEvery && pages) {
        const auto* bytes = static_cast<const std::uint8_t*>(pages);
        if (!std::all_of(bytes, bytes + length, [](std::uint8_t b) { return b == 0; })) ++unmappedWithData;
    }
    if (pages && pages == watched) {
        const auto* bytes = static_cast<const std::uint8_t*>(pages);
        std::copy(bytes, bytes + watchedSize, lastSeen.begin());
        watched = nullptr;
    }
    return __real_munmap(pages, length);
}

namespace tresk {
namespace {

// Watches the buffer's current pages; their bytes are copied when they are unmapped.
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
    EXPECT_TRUE(freedAndZero()) << "the old pages were given back unwiped, or not given back";
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

// Input from a pipe is gathered in pieces that are given back as they are
// moved into the value's buffer: every one wiped first.
TEST(SecretBuffer, ReadingAPipeLeavesNoPieceBehind) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::vector<std::uint8_t> sent(10 << 20);
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i % 251 + 1);
    std::thread writer([&] {
        for (std::size_t at = 0; at < sent.size();) {
            ssize_t n = ::write(fds[1], sent.data() + at, sent.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
    });
    {
        SecretBuffer value;
        checkEvery = true;
        unmappedWithData = 0;
        EXPECT_TRUE(readAll(fds[0], value));
        checkEvery = false;
        ASSERT_EQ(value.size(), sent.size());
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), value.data()));
    }
    writer.join();
    ::close(fds[0]);
    EXPECT_EQ(unmappedWithData, 0u) << "pages went back to the system with part of the value in them";
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
