// The stream loops under the conditions that break naive ones: a pipe that is
// drained or filled slowly, so writes and reads come back short, and a signal
// whose handler does not restart system calls, so they fail with EINTR.
#include <atomic>
#include <chrono>
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/time.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "common/bytes.h"
#include "common/streams.h"
#include "harness/platform.h"

namespace tresk {
namespace {

std::atomic<int> interruptions{0};
extern "C" void countInterruption(int) { interruptions.fetch_add(1, std::memory_order_relaxed); }

// SIGALRM every half millisecond, with a handler installed without
// SA_RESTART, for as long as it lives; only the test's own thread receives it.
class Interruptions {
public:
    Interruptions() {
        struct sigaction action {};
        action.sa_handler = countInterruption;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no SA_RESTART: blocked calls fail with EINTR
        sigaction(SIGALRM, &action, &previous_);
        itimerval every{{0, 500}, {0, 500}};
        setitimer(ITIMER_REAL, &every, nullptr);
    }
    ~Interruptions() {
        itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        sigaction(SIGALRM, &previous_, nullptr);
    }

private:
    struct sigaction previous_ {};
};

// Starts `body` on a thread that never takes SIGALRM, so the interrupted
// call is always the one under test.
std::thread quietThread(std::function<void()> body) {
    sigset_t alarm, old;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, &old);
    std::thread thread(std::move(body));
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return thread;
}

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// Longer than the alarm's period: the other side finds the pipe full (or
// empty) and is interrupted before it moved a byte.
void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

TEST(Streams, WriteAllDeliversEverythingThroughShortWritesAndInterruptions) {
    const auto sent = pattern(4 << 20);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::vector<std::uint8_t> received;
    std::thread reader = quietThread([&] {
        std::uint8_t chunk[65536];
        for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;) {
            received.insert(received.end(), chunk, chunk + n);
            pause();  // drained slowly: the writer finds the pipe full again and again
        }
    });
    Expected<void> result = Problem{"not run"};
    {
        Interruptions alarms;
        interruptions = 0;
        result = writeAll(fds[1], sent);
    }
    ::close(fds[1]);
    reader.join();
    ::close(fds[0]);
    EXPECT_TRUE(result);
    EXPECT_GT(interruptions.load(), 0) << "the writer was never interrupted: the test proved nothing";
    ASSERT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent);
}

TEST(Streams, ReadAllCollectsEverythingThroughShortReadsAndInterruptions) {
    const auto sent = pattern(2 << 20);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread writer = quietThread([&] {
        for (std::size_t at = 0; at < sent.size();) {
            ssize_t n = ::write(fds[1], sent.data() + at, std::min<std::size_t>(65536, sent.size() - at));
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
            pause();  // filled slowly: the reader waits and is interrupted
        }
        ::close(fds[1]);
    });
    SecretBuffer buffer;
    Expected<void> result = Problem{"not run"};
    {
        Interruptions alarms;
        interruptions = 0;
        result = readAll(fds[0], buffer);
    }
    // A reader that gave up early must not leave the writer blocked.
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    ::close(fds[0]);
    writer.join();
    std::signal(SIGPIPE, previous);
    EXPECT_TRUE(result);
    EXPECT_GT(interruptions.load(), 0) << "the reader was never interrupted: the test proved nothing";
    ASSERT_EQ(buffer.size(), sent.size());
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), buffer.data()));
}

// `tresk add a/b < file`: a regular file is read to its end from where the
// shell left it, whatever its size against the buffer's first guess.
TEST(Streams, ReadAllReadsARedirectedFile) {
    struct Case {
        std::size_t size, skipped;  // skipped: already read by someone else
    } cases[] = {{1, 0}, {4096, 0}, {(1 << 20) + 3, 0}, {10, 4}, {3 << 19, 1 << 19}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes, from " + std::to_string(c.skipped));
        const auto bytes = pattern(c.size);
        char path[] = "/tmp/tresk-streams-XXXXXX";
        const int fd = ::mkstemp(path);
        ASSERT_GE(fd, 0);
        ::unlink(path);
        ASSERT_TRUE(writeAll(fd, bytes));
        ASSERT_EQ(::lseek(fd, static_cast<off_t>(c.skipped), SEEK_SET), static_cast<off_t>(c.skipped));
        SecretBuffer buffer;
        EXPECT_TRUE(readAll(fd, buffer));
        ::close(fd);
        ASSERT_EQ(buffer.size(), c.size - c.skipped);
        EXPECT_TRUE(std::equal(bytes.begin() + static_cast<long>(c.skipped), bytes.end(), buffer.data()));
    }
}

// A terminal left non-blocking, read slowly: the writer waits for it and
// does not spin (macOS's poll() answers POLLNVAL for terminals at once).
TEST(Streams, WriteAllWaitsOnASlowTerminalWithoutSpinning) {
    int master = -1, slave = -1;
    ASSERT_TRUE(e2e::platform::openTerminal(master, slave));
    termios raw{};
    ASSERT_EQ(::tcgetattr(slave, &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &raw), 0);
    ASSERT_EQ(::fcntl(slave, F_SETFL, ::fcntl(slave, F_GETFL) | O_NONBLOCK), 0);
    const std::vector<std::uint8_t> sent(256 * 1024, 'x');
    std::size_t received = 0;
    std::thread reader([&] {
        std::uint8_t chunk[4096];
        for (ssize_t n; received < sent.size() && (n = ::read(master, chunk, sizeof chunk)) > 0;) {
            received += static_cast<std::size_t>(n);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    auto cpuNow = [] {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    };
    const auto cpuBefore = cpuNow();
    const auto wallBefore = std::chrono::steady_clock::now();
    Expected<void> result = writeAll(slave, sent);
    const auto cpu = cpuNow() - cpuBefore;
    const auto wall = std::chrono::steady_clock::now() - wallBefore;
    reader.join();
    ::close(slave);
    ::close(master);
    EXPECT_TRUE(result);
    EXPECT_EQ(received, sent.size());
    EXPECT_GT(wall, std::chrono::milliseconds(50)) << "the terminal never filled: the test proved nothing";
    EXPECT_LT(cpu * 4, wall) << "the writer spent " << std::chrono::duration_cast<std::chrono::milliseconds>(cpu).count()
                             << " ms of CPU in " << std::chrono::duration_cast<std::chrono::milliseconds>(wall).count()
                             << " ms: it spun";
}

TEST(Streams, WriteAllReportsAClosedPipe) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    auto written = writeAll(fds[1], std::string_view("data"));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.problem().error, EPIPE);
    EXPECT_EQ(written.problem().text, "Broken pipe");
    std::signal(SIGPIPE, previous);
    ::close(fds[1]);
}

}  // namespace
}  // namespace tresk
