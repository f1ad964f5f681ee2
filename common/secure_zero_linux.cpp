#include <cstring>

#include "common/bytes.h"

namespace tresk {

void secureZero(void* data, std::size_t size) { explicit_bzero(data, size); }

}  // namespace tresk
