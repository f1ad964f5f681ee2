#include "common/property_list.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace tresk {
namespace {

constexpr std::string_view binaryMagic = "bplist";
constexpr std::string_view binaryVersion00 = "bplist00";

// The binary encoding: "bplist00", the objects, a table of their offsets, and
// a 32-byte trailer that says how to read the table.
class BinaryList {
public:
    explicit BinaryList(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool readTrailer() {
        constexpr std::size_t trailerSize = 32;
        if (bytes_.size() < binaryVersion00.size() + trailerSize) return false;
        const std::size_t trailer = bytes_.size() - trailerSize;
        offsetSize_ = bytes_[trailer + 6];
        refSize_ = bytes_[trailer + 7];
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return false;
        std::uint64_t count = 0, top = 0, table = 0;
        if (!number(trailer + 8, 8, count) || !number(trailer + 16, 8, top) || !number(trailer + 24, 8, table)) {
            return false;
        }
        // The table lies between the header and the trailer, whole.
        if (table < binaryVersion00.size() || table > trailer || count == 0 || count > (trailer - table) / offsetSize_ ||
            top >= count) {
            return false;
        }
        objectCount_ = count;
        top_ = top;
        table_ = table;
        return true;
    }

    std::uint64_t objectCount() const { return objectCount_; }
    std::uint64_t top() const { return top_; }

    // The object's offset, within the objects' region.
    bool offsetOf(std::uint64_t object, std::size_t& at) const {
        std::uint64_t offset = 0;
        if (!number(table_ + object * offsetSize_, offsetSize_, offset)) return false;
        if (offset < binaryVersion00.size() || offset >= table_) return false;
        at = offset;
        return true;
    }

    // The marker's type, and the count that follows it in its low half or,
    // when that is 0xF, in an integer object of its own. `payload` is where
    // the object's contents begin.
    bool header(std::size_t at, std::uint8_t& type, std::uint64_t& count, std::size_t& payload) const {
        type = bytes_[at] >> 4;
        count = bytes_[at] & 0xF;
        payload = at + 1;
        if (count != 0xF || !hasCount(type)) return true;
        if (payload >= table_ || (bytes_[payload] >> 4) != 0x1) return false;
        const std::size_t width = std::size_t{1} << (bytes_[payload] & 0xF);
        if (width > 8 || !number(payload + 1, width, count)) return false;
        payload += 1 + width;
        return true;
    }

    // The object numbers `count` references from `at` name, or false when
    // they do not lie within the objects' region or name no object.
    bool references(std::size_t at, std::uint64_t count, std::vector<std::uint64_t>& into) const {
        if (count > (table_ - std::min<std::size_t>(at, table_)) / refSize_) return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t object = 0;
            if (!number(at + i * refSize_, refSize_, object) || object >= objectCount_) return false;
            into.push_back(object);
        }
        return true;
    }

    // Whether the string of `units` units of `width` bytes at `at` lies within
    // the objects' region and holds no NUL.
    bool stringWithoutNul(std::size_t at, std::uint64_t units, std::size_t width) const {
        if (units > (table_ - std::min<std::size_t>(at, table_)) / width) return false;
        for (std::uint64_t i = 0; i < units; ++i) {
            const auto* unit = bytes_.data() + at + i * width;
            if (std::all_of(unit, unit + width, [](std::uint8_t b) { return b == 0; })) return false;
        }
        return true;
    }

private:
    static bool hasCount(std::uint8_t type) { return type >= 0x4 && type != 0x8; }

    // A big-endian number of `width` bytes at `at`, within the file.
    bool number(std::size_t at, std::size_t width, std::uint64_t& value) const {
        if (at > bytes_.size() || width > bytes_.size() - at) return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i) value = value << 8 | bytes_[at + i];
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offsetSize_ = 0, refSize_ = 0;
    std::uint64_t objectCount_ = 0, top_ = 0, table_ = 0;
};

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

bool binaryPropertyListIsBounded(std::span<const std::uint8_t> bytes) {
    if (!startsWith(bytes, binaryVersion00)) return false;
    BinaryList list(bytes);
    if (!list.readTrailer()) return false;
    // What each object would cost a reader that copies shared references,
    // worked out once per object from what its references cost: work in
    // proportion to the file, however much the copies would come to. An
    // object met again while its own references are still being counted
    // belongs to a cycle, which no copying ends.
    struct Cost {
        std::uint64_t objects = 0, bytes = 0;
        bool within() const { return objects <= maxPropertyListObjects && bytes <= maxPropertyListBytes; }
        void add(const Cost& more) { objects += more.objects, bytes += more.bytes; }
    };
    enum class State : std::uint8_t { unseen, counting, counted };
    std::vector<State> state(list.objectCount(), State::unseen);
    std::vector<Cost> cost(list.objectCount());
    // The containers being counted, each with its references, kept in
    // `references` from `begin` on, counted up to `next`. The first stands
    // for the whole list: its one reference is to the top object.
    struct Open {
        std::uint64_t object;
        std::size_t begin, next;
        Cost sum;
    };
    std::vector<Open> open{{list.top(), 0, 0, {}}};
    std::vector<std::uint64_t> references{list.top()};
    // Counts a leaf at once, or opens a container; false when the list is damaged.
    auto enter = [&](std::uint64_t object) {
        std::size_t at = 0, payload = 0;
        std::uint8_t type = 0;
        std::uint64_t count = 0;
        if (!list.offsetOf(object, at) || !list.header(at, type, count, payload)) return false;
        Cost own{1, 0};
        switch (type) {
            case 0x4:  // data, copied up to the file's end at most
                own.bytes = std::min<std::uint64_t>(count, bytes.size());
                break;
            case 0x5:  // ASCII
            case 0x6:  // UTF-16, up to three bytes of UTF-8 a unit
                if (!list.stringWithoutNul(payload, count, type == 0x5 ? 1 : 2)) return false;
                own.bytes = type == 0x5 ? count : 3 * count;
                break;
            case 0xA:  // array
            case 0xB:  // ordered set
            case 0xC:  // set
            case 0xD:  // dictionary: the keys, then the values
                state[object] = State::counting;
                open.push_back({object, references.size(), references.size(), own});
                if (type == 0xD && count > UINT64_MAX / 2) return false;
                return list.references(payload, type == 0xD ? 2 * count : count, references);
            default:
                break;
        }
        state[object] = State::counted;
        cost[object] = own;
        return true;
    };
    for (;;) {
        if (open.back().next < references.size()) {
            const std::uint64_t object = references[open.back().next++];
            if (state[object] == State::counting) return false;
            if (state[object] == State::unseen && !enter(object)) return false;
            if (state[object] == State::counting) continue;  // opened: its references come first
            open.back().sum.add(cost[object]);
            if (!open.back().sum.within()) return false;
            continue;
        }
        // Every reference counted: the container's cost is known.
        const Open done = open.back();
        open.pop_back();
        if (open.empty()) return true;
        references.resize(done.begin);
        state[done.object] = State::counted;
        cost[done.object] = done.sum;
        open.back().sum.add(done.sum);
        if (!open.back().sum.within()) return false;
    }
}

Expected<PropertyList> parsePropertyList(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, binaryMagic) && !binaryPropertyListIsBounded(bytes)) {
        return Problem{"a binary property list that is damaged, too large once its references are copied, "
                       "or holds a string with a NUL"};
    }
    return parseWithSystemReader(bytes);
}

const PropertyList* PropertyList::find(std::string_view key) const {
    const auto* entries = asDictionary();
    if (!entries) return nullptr;
    for (auto entry = entries->rbegin(); entry != entries->rend(); ++entry) {
        if (const auto* text = entry->first.asText(); text && *text == key) return &entry->second;
    }
    return nullptr;
}

}  // namespace tresk
