#include <sys/prctl.h>
#include <sys/resource.h>

#include "common/process_hardening.h"

namespace tresk {

void forbidCoreDumps() {
    const rlimit none{0, 0};
    (void)setrlimit(RLIMIT_CORE, &none);
    (void)prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace tresk
