// The one value type for what the platform hands back: Keychain results and
// Info.plist contents. Shape checks on it are shared by both platforms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "common/bytes.h"
#include "common/problem.h"

namespace tresk {

class PropertyList {
public:
    // A value of a kind the program never looks inside (a number, a date, an
    // access-control object) or nested too deeply to be looked into.
    struct Other {};
    using Array = std::vector<PropertyList>;
    // Keys are values too: a platform dictionary may hold non-text keys.
    using Dictionary = std::vector<std::pair<PropertyList, PropertyList>>;

    PropertyList() = default;  // none
    static PropertyList text(std::string value) { return PropertyList(std::move(value)); }
    static PropertyList data(Bytes value) { return PropertyList(std::move(value)); }
    static PropertyList boolean(bool value) { return PropertyList(value); }
    static PropertyList other() { return PropertyList(Other{}); }
    static PropertyList array(Array items) { return PropertyList(std::move(items)); }
    static PropertyList dictionary(Dictionary entries) { return PropertyList(std::move(entries)); }

    const std::string* asText() const { return std::get_if<std::string>(&value_); }
    const Bytes* asData() const { return std::get_if<Bytes>(&value_); }
    const bool* asBoolean() const { return std::get_if<bool>(&value_); }
    const Array* asArray() const { return std::get_if<Array>(&value_); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&value_); }

    // The value under a text key of a dictionary, the last one when a binary
    // list names the key twice (as a reader that sets entries in turn keeps);
    // none when this is no dictionary or the key is absent.
    const PropertyList* find(std::string_view key) const;

private:
    using Value = std::variant<std::monostate, std::string, Bytes, bool, Other, Array, Dictionary>;
    template <typename T>
    explicit PropertyList(T value) : value_(std::move(value)) {}
    Value value_;
};

// Containers nested deeper than this become PropertyList::Other: no answer
// the program reads is deeper, and a hostile file must not exhaust the stack.
inline constexpr int maxPropertyListDepth = 32;

// How much a binary property list may hold, each object counted as often as
// it is referenced: a reader copies shared references, so a small file that
// refers to one array twice from each level, or to one large string from
// every place, would take work and memory that multiply with every
// reference. A real Info.plist holds a few dozen objects and a few KiB.
inline constexpr std::size_t maxPropertyListObjects = 1 << 17;
inline constexpr std::size_t maxPropertyListBytes = 1 << 20;  // of strings and data

// A property list in XML or binary encoding, or the problem: the bytes are
// not one, or are a binary list beyond those bounds or holding a string with
// a NUL (which one reader keeps and another cuts short).
Expected<PropertyList> parsePropertyList(std::span<const std::uint8_t> bytes);

// Whether a binary list ("bplist00") stays within those bounds, counted as
// above, and holds no string with a NUL; false for one that is damaged.
bool binaryPropertyListIsBounded(std::span<const std::uint8_t> bytes);

// The platform's reader, after those checks: CoreFoundation on macOS,
// libplist on Linux.
Expected<PropertyList> parseWithSystemReader(std::span<const std::uint8_t> bytes);

}  // namespace tresk
