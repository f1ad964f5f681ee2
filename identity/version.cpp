#include "identity/version.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bounded_file.h"
#include "common/diagnostics.h"
#include "common/messages.h"
#include "identity/executable_location.h"
#include "text/unicode.h"

namespace tresk {
namespace {

std::string_view dropLastComponent(std::string_view path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return path.substr(0, slash == 0 ? 1 : slash);
}

constexpr std::size_t shownRevisionLength = 7;
// A real Info.plist is a few KiB. The bound also bounds the nesting a hostile
// one can hand the parser, which recurses for every level.
constexpr std::size_t infoPlistLimit = 64 * 1024;

}  // namespace

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
    // Text, as the version is: bytes that are not UTF-8 are no revision, even
    // where they would not be shown.
    if (!commit || !commit->asText() || !text::isUtf8(*commit->asText())) return std::nullopt;
    const PropertyList* dirty = infoPlist.find("TreskBuildDirty");
    if (!dirty || !dirty->asBoolean()) return std::nullopt;

    std::string revision = text::prefixClusters(*commit->asText(), shownRevisionLength);
    if (*dirty->asBoolean()) revision += "-dirty";
    std::string line = "Tresk " + *version->asText() + " (" + revision + ")";
    // One line of well-formed text, fit for a terminal, or no version line at
    // all: a version cannot be shown as an escape.
    if (!text::isVisibleText(line)) return std::nullopt;
    return line;
}

std::string versionDescription() {
    const ExecutablePaths executable = runningExecutableURL();
    auto bytes = readSmallFile(infoPlistPath(executable.fileSystemPath), /*followLinks=*/true, infoPlistLimit);
    if (!bytes) fail(messages::versionMetadataMissing);
    auto plist = parsePropertyList(*bytes);
    if (!plist) fail(messages::versionMetadataMissing);
    auto line = versionLine(*plist);
    if (!line) fail(messages::versionMetadataMissing);
    return *line;
}

}  // namespace tresk
