#include "common/cf_property_list_darwin.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "text/unicode.h"

namespace tresk {
namespace {

constexpr UInt8 stopAtLoss = 0;         // no stand-in: conversion ends where UTF-8 cannot follow
constexpr UInt8 lossSubstitute = '?';  // for text that is only ever read by a person
constexpr Boolean externalRepresentation = false;  // false: no byte-order mark is written

// The string as UTF-8; none unless every character got through.
std::optional<std::string> utf8Bytes(CFStringRef text, UInt8 lossByte) {
    if (!text) return std::nullopt;
    const CFRange whole = CFRangeMake(0, CFStringGetLength(text));
    // Measured first, without a buffer; then converted into one of that size.
    CFIndex size = 0;
    if (CFStringGetBytes(text, whole, kCFStringEncodingUTF8, lossByte, externalRepresentation, nullptr, size, &size) !=
        whole.length) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (CFStringGetBytes(text, whole, kCFStringEncodingUTF8, lossByte, externalRepresentation,
                         reinterpret_cast<UInt8*>(bytes.data()), size, &size) != whole.length) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}

PropertyList dataFrom(CFDataRef data) {
    // The bytes stay in the CFData; the shared owner keeps it alive for as
    // long as any copy of the Bytes does.
    auto owner = std::make_shared<const CfRef<CFDataRef>>(CfRef<CFDataRef>::retain(data));
    std::span<const std::uint8_t> view(CFDataGetBytePtr(data), static_cast<std::size_t>(CFDataGetLength(data)));
    return PropertyList::data(Bytes(view, std::move(owner)));
}

PropertyList convert(CFTypeRef value, int depthLeft, std::span<const CFStringRef> keep);

PropertyList arrayFrom(CFArrayRef array, int depthLeft, std::span<const CFStringRef> keep) {
    const CFIndex count = CFArrayGetCount(array);
    PropertyList::Array items;
    items.reserve(static_cast<std::size_t>(count));
    for (CFIndex i = 0; i < count; ++i) items.push_back(convert(CFArrayGetValueAtIndex(array, i), depthLeft, keep));
    return PropertyList::array(std::move(items));
}

bool kept(CFTypeRef key, std::span<const CFStringRef> keep) {
    if (keep.empty() || CFGetTypeID(key) != CFStringGetTypeID()) return true;
    for (CFStringRef wanted : keep) {
        if (CFEqual(key, wanted)) return true;
    }
    return false;
}

PropertyList dictionaryFrom(CFDictionaryRef dictionary, int depthLeft, std::span<const CFStringRef> keep) {
    const auto count = static_cast<std::size_t>(CFDictionaryGetCount(dictionary));
    PropertyList::Dictionary entries;
    if (count == 0) return PropertyList::dictionary(std::move(entries));
    std::vector<const void*> keys(count), values(count);
    CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
    entries.reserve(keep.empty() ? count : std::min(count, keep.size()));
    for (std::size_t i = 0; i < count; ++i) {
        if (!kept(keys[i], keep)) continue;
        entries.emplace_back(convert(keys[i], depthLeft, keep), convert(values[i], depthLeft, keep));
    }
    return PropertyList::dictionary(std::move(entries));
}

PropertyList convert(CFTypeRef value, int depthLeft, std::span<const CFStringRef> keep) {
    if (!value) return {};
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) {
        // Text that UTF-8 cannot carry exactly is no text this program can match on.
        auto text = utf8FromCFString(static_cast<CFStringRef>(value));
        return text ? PropertyList::text(std::move(*text)) : PropertyList::other();
    }
    if (type == CFDataGetTypeID()) return dataFrom(static_cast<CFDataRef>(value));
    // A CFBoolean only: a number 0 or 1 is no boolean.
    if (type == CFBooleanGetTypeID()) return PropertyList::boolean(CFBooleanGetValue(static_cast<CFBooleanRef>(value)));
    const bool container = type == CFArrayGetTypeID() || type == CFDictionaryGetTypeID();
    // Nesting deeper than any answer the program reads is not looked into.
    if (container && depthLeft == 0) return PropertyList::other();
    if (type == CFArrayGetTypeID()) return arrayFrom(static_cast<CFArrayRef>(value), depthLeft - 1, keep);
    if (type == CFDictionaryGetTypeID()) return dictionaryFrom(static_cast<CFDictionaryRef>(value), depthLeft - 1, keep);
    return PropertyList::other();  // a number, a date, an access-control object: never looked into
}

}  // namespace

std::optional<std::string> utf8FromCFString(CFStringRef text) { return utf8Bytes(text, stopAtLoss); }

std::string cfDescription(CFTypeRef value) {
    if (!value) return {};
    auto description = CfRef<CFStringRef>::adopt(CFCopyDescription(value));
    return utf8Bytes(description.get(), lossSubstitute).value_or(std::string());
}

CfRef<CFStringRef> cfString(std::string_view utf8) {
    // Built from UTF-16, not decoded by CoreFoundation: its UTF-8 decoding
    // drops a leading byte-order mark, which would make two names one.
    auto utf16 = text::utf16FromUtf8(utf8);
    if (!utf16) return {};
    static_assert(sizeof(UniChar) == sizeof(char16_t));
    return CfRef<CFStringRef>::adopt(CFStringCreateWithCharacters(
        nullptr, reinterpret_cast<const UniChar*>(utf16->data()), static_cast<CFIndex>(utf16->size())));
}

PropertyList propertyListFromCF(CFTypeRef value, std::span<const CFStringRef> keepKeys) {
    return convert(value, maxPropertyListDepth, keepKeys);
}

}  // namespace tresk
