#define __STDC_WANT_LIB_EXT1__ 1  // memset_s
#include <string.h>

#include "common/bytes.h"

namespace tresk {

void secureZero(void* data, std::size_t size) {
    if (size) (void)memset_s(data, size, 0, size);
}

}  // namespace tresk
