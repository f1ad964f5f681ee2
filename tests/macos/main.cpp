// The macOS tests' entry point. A death test's child is the test program
// started afresh ("threadsafe"), not a fork that runs on: a forked copy of a
// process that has loaded AppKit and the Objective-C runtime may hang or
// crash in them, so the child must exec at once.
#include <cstdio>
#include <string_view>

#include <gtest/gtest.h>

#include "identity/executable_location.h"
#include "macos/self_location.h"
#include "macos/system_answers.h"

int main(int argc, char** argv) {
    // Started again through a chain of links by the identity test.
    if (argc == 2 && std::string_view(argv[1]) == tresk::macos::printLocationArgument) {
        const tresk::ExecutablePaths location = tresk::runningExecutableURL();
        std::printf("%s\n%s\n", location.path.c_str(), location.fileSystemPath.c_str());
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const int status = RUN_ALL_TESTS();
    tresk::macos::writeRecordedAnswers();
    return status;
}
