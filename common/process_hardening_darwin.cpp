#include <sys/resource.h>

#include "common/process_hardening.h"

namespace tresk {

void forbidCoreDumps() {
    const rlimit none{0, 0};
    (void)setrlimit(RLIMIT_CORE, &none);
}

}  // namespace tresk
