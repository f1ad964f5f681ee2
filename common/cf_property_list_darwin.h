// Conversions between CoreFoundation values and the program's own: every
// platform result becomes a PropertyList, and text crosses in both
// directions here only, as UTF-8.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/cf_ref_darwin.h"
#include "common/property_list.h"

namespace tresk {

// `value` is borrowed; null gives none. Data is shared with the CFData, not
// copied. With `keepKeys`, a dictionary keeps only the entries under those
// keys and any entry whose key is not a string (what a caller judges the
// shape by); the rest is never converted.
PropertyList propertyListFromCF(CFTypeRef value, std::span<const CFStringRef> keepKeys = {});

// The whole string as UTF-8 (embedded NULs kept); none for null or for a
// string that UTF-8 cannot hold exactly.
std::optional<std::string> utf8FromCFString(CFStringRef text);

// CFCopyDescription of `value`, as readable text.
std::string cfDescription(CFTypeRef value);

// Null when `text` is not well-formed UTF-8.
CfRef<CFStringRef> cfString(std::string_view text);

}  // namespace tresk
