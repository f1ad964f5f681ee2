#include <CoreFoundation/CoreFoundation.h>

#include "common/cf_property_list_darwin.h"
#include "common/cf_ref_darwin.h"
#include "common/property_list.h"

namespace tresk {

std::optional<PropertyList> parseWithSystemReader(std::span<const std::uint8_t> bytes) {
    auto data = CfRef<CFDataRef>::adopt(CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size())));
    if (!data) return std::nullopt;
    // XML and binary alike; the error object only says why not, which no caller is told.
    CfRef<CFErrorRef> error;
    auto root = CfRef<CFPropertyListRef>::adopt(
        CFPropertyListCreateWithData(nullptr, data.get(), kCFPropertyListImmutable, nullptr, error.outPointer()));
    if (!root) return std::nullopt;
    return propertyListFromCF(root.get());
}

}  // namespace tresk
