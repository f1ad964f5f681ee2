#include "identity/version.h"

#include <cerrno>
#include <cstddef>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "text/unicode.h"

namespace tresk {
namespace {

std::string_view dropLastComponent(std::string_view path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return path.substr(0, slash == 0 ? 1 : slash);
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[8192];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

constexpr std::size_t shownRevisionLength = 7;

}  // namespace

std::string pathFromBuffer(std::span<const char> buffer) {
    std::string_view bytes(buffer.data(), buffer.size());
    return text::repairUtf8(bytes.substr(0, bytes.find('\0')));
}

std::string infoPlistPath(std::string_view executablePath) {
    std::string contents(dropLastComponent(dropLastComponent(executablePath)));
    if (contents.empty() || contents.back() != '/') contents += '/';
    return contents + "Info.plist";
}

std::optional<std::string> versionLine(const PropertyList& infoPlist) {
    if (!infoPlist.asDictionary()) return std::nullopt;
    // Looked up in this order; the first bad key ends the search.
    const PropertyList* version = infoPlist.find("CFBundleShortVersionString");
    if (!version || !version->asText()) return std::nullopt;
    const PropertyList* commit = infoPlist.find("TreskGitCommit");
    if (!commit || !commit->asText()) return std::nullopt;
    const PropertyList* dirty = infoPlist.find("TreskBuildDirty");
    if (!dirty || !dirty->asBoolean()) return std::nullopt;

    std::string revision = text::prefixClusters(*commit->asText(), shownRevisionLength);
    if (*dirty->asBoolean()) revision += "-dirty";
    return "Tresk " + *version->asText() + " (" + revision + ")";
}

std::string versionDescription() {
    FileURL executable = runningExecutableURL();
    auto bytes = readWholeFile(infoPlistPath(executable.path));
    if (!bytes) fail(messages::versionMetadataMissing);
    auto plist = parsePropertyList(*bytes);
    if (!plist) fail(messages::versionMetadataMissing);
    auto line = versionLine(*plist);
    if (!line) fail(messages::versionMetadataMissing);
    return *line;
}

}  // namespace tresk
