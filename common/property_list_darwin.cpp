#include <CoreFoundation/CoreFoundation.h>

#include <string>

#include "common/cf_property_list_darwin.h"
#include "common/cf_ref_darwin.h"
#include "common/property_list.h"

namespace tresk {

Expected<PropertyList> parseWithSystemReader(std::span<const std::uint8_t> bytes) {
    auto data = CfRef<CFDataRef>::adopt(CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size())));
    if (!data) return Problem{"the bytes could not be copied"};
    // XML (and the old OpenStep text) and binary alike; the error object says why not.
    CfRef<CFErrorRef> error;
    auto root = CfRef<CFPropertyListRef>::adopt(
        CFPropertyListCreateWithData(nullptr, data.get(), kCFPropertyListImmutable, nullptr, error.outPointer()));
    if (!root) return Problem{error ? cfDescription(error.get()) : std::string("not a property list")};
    return propertyListFromCF(root.get());
}

}  // namespace tresk
