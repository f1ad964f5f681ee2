// Binary property lists built object by object, for tests that need a shape
// no tool writes: shared references, cycles, NULs in strings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace tresk::fixtures {

// A binary list from its objects, each already encoded, references one byte
// wide; the first object is the root.
inline std::string binaryList(const std::vector<std::string>& objects) {
    std::string list = "bplist00";
    std::vector<std::size_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(list.size());
        list += object;
    }
    const std::size_t table = list.size();
    for (std::size_t offset : offsets) list += {static_cast<char>(offset >> 8), static_cast<char>(offset & 0xFF)};
    std::string trailer(32, '\0');
    trailer[6] = 2;  // offsets two bytes wide
    trailer[7] = 1;  // references one byte wide
    trailer[15] = static_cast<char>(objects.size());
    for (int i = 0; i < 8; ++i) trailer[31 - i] = static_cast<char>(table >> (8 * i));
    return list + trailer;
}

inline std::string ascii(const std::string& text) {  // up to 65535 bytes
    if (text.size() < 15) return static_cast<char>(0x50 | text.size()) + text;
    return std::string{'\x5F', '\x11', static_cast<char>(text.size() >> 8), static_cast<char>(text.size() & 0xFF)} + text;
}

inline std::string container(char marker, const std::vector<int>& references) {  // up to 255 entries
    std::string object(1, static_cast<char>(marker | std::min<std::size_t>(references.size(), 15)));
    if (references.size() >= 15) object += {'\x10', static_cast<char>(references.size())};
    for (int r : references) object += static_cast<char>(r);
    return object;
}

// The three keys the version line reads (objects 1 to 6) and `x` (object 7)
// under the root, with `more` after them (from object 9); `x` names object
// `xValue`, by default 8, a false.
inline std::string infoPlistWith(const std::string& version, const std::vector<std::string>& more, char xValue = 8) {
    std::vector<std::string> objects = {
        // the keys 1, 2, 3, 7 then their values 4, 5, 6, xValue
        std::string(1, '\xD4') + "\x01\x02\x03\x07\x04\x05\x06" + xValue,
        static_cast<char>(0x5F) + std::string("\x10\x1A") + "CFBundleShortVersionString",
        ascii("TreskGitCommit"), static_cast<char>(0x5F) + std::string("\x10\x0F") + "TreskBuildDirty",
        version, ascii("abcdef0123"), "\x08", ascii("x"), "\x08"};
    objects.insert(objects.end(), more.begin(), more.end());
    return binaryList(objects);
}

// Arrays 9, 10, ... each holding the next one twice, `levels` deep: for
// infoPlistWith(version, doubling(levels), 9). Copied, it has 2^(levels+1)
// objects.
inline std::vector<std::string> doubling(int levels) {
    std::vector<std::string> arrays;
    for (int i = 0; i < levels; ++i) arrays.push_back(container('\xA0', {10 + i, 10 + i}));
    arrays.push_back(container('\xA0', {}));
    return arrays;
}

}  // namespace tresk::fixtures
