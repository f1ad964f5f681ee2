// What the process does about itself before it reads a value.
#pragma once

namespace tresk {

// No core file may hold a value: core dumps are switched off for good (and,
// on Linux, the process is made non-dumpable, which also keeps other
// processes of the user from attaching to it).
void forbidCoreDumps();

}  // namespace tresk
