#include "harness/harness.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <tuple>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform.h"

namespace e2e {
namespace fs = std::filesystem;
namespace {

// A run that blocks (on its input, a lock) is killed here, so no test waits for ever.
constexpr auto timeout = std::chrono::seconds(30);

// The test process must survive writing to a child that stopped reading.
const bool sigpipeIgnored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool globMatch(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) return text.empty();
    if (pattern[0] == '*') {
        for (std::size_t i = 0;; ++i) {
            if (globMatch(pattern.substr(1), text.substr(i))) return true;
            if (i == text.size() || text[i] == '\n') return false;
        }
    }
    return !text.empty() && text[0] == pattern[0] && globMatch(pattern.substr(1), text.substr(1));
}

// A regular file holding `bytes`, open for reading at its start. Unlinked at
// once: the descriptor is all the child gets, and nothing is left behind.
int inputFile(const std::string& bytes) {
    std::string path = (fs::temp_directory_path() / "tresk-input-XXXXXX").string();
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("mkostemp failed");
    ::unlink(path.c_str());
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("writing the input file failed");
        at += static_cast<std::size_t>(n);
    }
    if (::lseek(fd, 0, SEEK_SET) != 0) throw std::runtime_error("rewinding the input file failed");
    return fd;
}

// Until the child has read what the pipe holds, or has gone, or the time is up.
void waitUntilRead(int writeEnd) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (platform::unreadInPipe(writeEnd) > 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd gone{writeEnd, 0, 0};  // POLLERR: no reader is left
        if (::poll(&gone, 1, 1) > 0) return;
    }
}

}  // namespace

Sandbox::Sandbox() {
    std::string templ = (fs::temp_directory_path() / "tresk-e2e-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    home_ = templ;
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    fs::remove_all(home_, ignored);
}

std::string Sandbox::simulatorDir() const {
    return home_ + (useXdg ? "/data/tresk-simulator" : "/.local/share/tresk-simulator");
}

void Sandbox::writeProfile(std::string_view text) const {
    fs::create_directories(simulatorDir());
    std::ofstream(simulatorDir() + "/device.profile", std::ios::binary | std::ios::trunc) << text;
}

void Sandbox::giveTo(uid_t user) const {
    auto give = [&](const fs::path& path) {
        if (::lchown(path.c_str(), user, static_cast<gid_t>(user)) != 0) throw std::runtime_error("lchown failed");
    };
    give(home_);
    for (const auto& entry : fs::recursive_directory_iterator(home_)) give(entry.path());
}

void Sandbox::asUnsignedBuild() const {
    // As today's macOS does: reads of such a build find nothing, writes are refused.
    if (TRESK_SIMULATED_PLATFORM) writeProfile("entitlement = missing\nunentitled-reads = not-found\n");
}

std::vector<std::string> Sandbox::prompts() const {
    std::ifstream log(simulatorDir() + "/prompts.log", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

Result Sandbox::run(const Invocation& v) const {
    (void)sigpipeIgnored;
    // Everything the child needs is built before fork: other test threads may be spawning too.
    std::vector<std::string> env = {"HOME=" + home_, "PATH=/usr/bin:/bin"};
    if (useXdg) env.push_back("XDG_DATA_HOME=" + home_ + "/data");
    std::vector<char*> envp, argv{const_cast<char*>(v.argv0.c_str())};
    for (auto& e : env) envp.push_back(e.data());
    for (auto& a : v.args) argv.push_back(const_cast<char*>(a.c_str()));
    envp.push_back(nullptr);
    argv.push_back(nullptr);

    int in[2] = {-1, -1}, out[2], err[2], master = -1, slave = -1, file = -1;
    if (!platform::makePipe(out) || !platform::makePipe(err)) throw std::runtime_error("pipe failed");
    if (v.stdinKind == Input::Pipe && !platform::makePipe(in)) throw std::runtime_error("pipe failed");
    if (v.stdinKind == Input::File) file = inputFile(v.input);
    if (v.stdinKind == Input::Terminal && !platform::openTerminal(master, slave)) {
        throw std::runtime_error("openpty failed");
    }
    if (v.stdoutClosed) closeFd(out[0]);  // before fork, so no process holds a reader
    int outFile = -1;
    if (!v.stdoutPath.empty()) {
        outFile = ::open(v.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (outFile < 0) throw std::runtime_error("cannot open " + v.stdoutPath);
        closeFd(out[0]);
    }
    if (v.nonBlocking) {
        // The child's own ends: the flag belongs to what it inherits.
        if (in[0] >= 0) ::fcntl(in[0], F_SETFL, O_NONBLOCK);
        ::fcntl(out[1], F_SETFL, O_NONBLOCK);
    }

    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (v.stdinKind == Input::Pipe) ::dup2(in[0], 0);
        if (v.stdinKind == Input::Terminal) ::dup2(slave, 0);
        if (v.stdinKind == Input::Closed) ::close(0);
        if (v.stdinKind == Input::File) ::dup2(file, 0);
        ::dup2(outFile >= 0 ? outFile : out[1], 1);
        ::dup2(err[1], 2);
        ::umask(v.umask);
        if (::chdir(home_.c_str()) != 0) ::_exit(126);  // where a core file would land
        if (v.memoryLimit) {
            const rlimit limit{*v.memoryLimit, *v.memoryLimit};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (v.fileSizeLimit) {
            const rlimit limit{*v.fileSizeLimit, *v.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (v.group && ::setgid(*v.group) != 0) ::_exit(126);
        if (v.allowCoreDumps) {
            const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
            ::setrlimit(RLIMIT_CORE, &unlimited);
        }
        if (v.user) {
            const auto group = static_cast<gid_t>(*v.user);
            if (::setgroups(1, &group) != 0 || ::setgid(group) != 0 || ::setuid(*v.user) != 0) ::_exit(125);
        }
        ::signal(SIGPIPE, SIG_DFL);  // as a shell would start it; an ignored signal survives exec
        ::execve(v.executable.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    closeFd(in[0]);
    closeFd(out[1]);
    closeFd(err[1]);
    closeFd(slave);
    closeFd(outFile);
    closeFd(file);

    Result result;
    std::size_t written = 0;
    bool calledBack = false;
    auto inputWritten = [&] {
        if (v.whileInputOpen && !calledBack) {
            waitUntilRead(in[1]);
            v.whileInputOpen(pid);
        }
        calledBack = true;
        closeFd(in[1]);
    };
    if (in[1] >= 0) {
        ::fcntl(in[1], F_SETFL, O_NONBLOCK);
        if (v.input.empty()) inputWritten();
    }
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + timeout, awake = started + v.slowPeer;
    bool timedOut = false;
    while (out[0] >= 0 || err[0] >= 0 || in[1] >= 0) {
        const auto now = std::chrono::steady_clock::now();
        const bool asleep = now < awake;  // a slow peer: only standard error is read meanwhile
        pollfd fds[3] = {{asleep ? -1 : in[1], POLLOUT, 0}, {asleep ? -1 : out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>((asleep ? awake : deadline) - now);
        int ready = ::poll(fds, 3, static_cast<int>(std::max<long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0 && asleep) continue;
        if (ready <= 0) {
            timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        if (fds[0].revents) {
            ssize_t n = ::write(in[1], v.input.data() + written, v.input.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
            if (n < 0 && errno != EAGAIN && errno != EINTR) closeFd(in[1]);
            else if (written == v.input.size()) inputWritten();
        }
        for (auto [i, fd, sink] : {std::tuple{1, &out[0], &result.out}, std::tuple{2, &err[0], &result.err}}) {
            if (!fds[i].revents) continue;
            char buffer[1 << 16];
            ssize_t n = ::read(*fd, buffer, sizeof buffer);
            if (n > 0) sink->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR) closeFd(*fd);
        }
    }
    for (int* fd : {&in[1], &out[0], &err[0]}) closeFd(*fd);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
    closeFd(master);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    result.coreDumped = WIFSIGNALED(status) && WCOREDUMP(status);
    result.peakResident = platform::residentBytes(usage.ru_maxrss);
    if (timedOut) result.err += "[harness: killed after the time limit]";
    return result;
}

std::string show(std::string_view bytes) {
    std::ostringstream s;
    s << '"';
    for (std::size_t i = 0; i < bytes.size() && i < 400; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') s << "\\n";
        else if (c == '"' || c == '\\') s << '\\' << c;
        else if (c < 0x20 || c >= 0x7f) s << "\\x" << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
        else s << c;
    }
    s << '"';
    if (bytes.size() > 400) s << "... (" << bytes.size() << " bytes)";
    return s.str();
}

std::string noise(std::size_t size) {
    std::mt19937_64 random(size);
    std::string bytes(size, '\0');
    for (auto& b : bytes) b = static_cast<char>(random());
    return bytes;
}

testing::AssertionResult OneCleanLine(const std::string& err) {
    if (err.empty() || err.back() != '\n') return testing::AssertionFailure() << "not one line: " << show(err);
    for (std::size_t i = 0; i + 1 < err.size(); ++i) {
        const auto c = static_cast<unsigned char>(err[i]);
        const bool c1 = c == 0xC2 && i + 2 < err.size() && static_cast<unsigned char>(err[i + 1]) < 0xA0;
        if (c < 0x20 || c == 0x7F || c1) return testing::AssertionFailure() << "raw control character: " << show(err);
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult Outcome(const Result& r, int status, std::string_view out, std::string_view err) {
    if (r.status == status && r.out == out && globMatch(err, r.err)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\n  status " << r.status << ", expected " << status
                                       << "\n  stdout " << show(r.out) << "\n    expected " << show(out)
                                       << "\n  stderr " << show(r.err) << "\n    expected " << show(err);
}

}  // namespace e2e
