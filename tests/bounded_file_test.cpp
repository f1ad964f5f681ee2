// Reading a small file that someone else may have put in place: the bound,
// links, and files whose size the system does not tell.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/bounded_file.h"

namespace tresk {
namespace {

namespace fs = std::filesystem;

class BoundedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tresk-bounded-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& bytes) const {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path.string();
    }

    fs::path dir_;
};

// What a read gave: the bytes, or the problem as describe() words it.
std::string outcome(const std::variant<std::vector<std::uint8_t>, FileProblem>& read) {
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&read)) {
        return "bytes: " + std::string(bytes->begin(), bytes->end());
    }
    return "problem: " + describe(std::get<FileProblem>(read));
}

TEST_F(BoundedFileTest, TheBoundIsTheLargestSizeTaken) {
    constexpr std::size_t limit = 1024;
    struct Case {
        std::size_t size;
        bool taken;
    } cases[] = {{0, true}, {1, true}, {limit - 1, true}, {limit, true}, {limit + 1, false}, {3 * limit, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string bytes(c.size, 'x');
        EXPECT_EQ(outcome(readSmallFile(file("f", bytes), false, limit)),
                  c.taken ? "bytes: " + bytes : std::string("problem: it is larger than 1 KiB"));
    }
    // The default bound, at its edge: a device profile of exactly 1 MiB is read.
    const std::string mebibyte(maxSmallFileSize, '#');
    EXPECT_EQ(outcome(readSmallFile(file("f", mebibyte), false)), "bytes: " + mebibyte);
    EXPECT_EQ(outcome(readSmallFile(file("f", mebibyte + "#"), false)), "problem: it is larger than 1 MiB");
}

TEST_F(BoundedFileTest, LinksAreFollowedOnlyWhenAsked) {
    const std::string target = file("target", "good");
    fs::create_symlink(target, dir_ / "link");
    const std::string link = (dir_ / "link").string();
    struct Case {
        std::string path;
        bool followLinks;
        std::string outcome;
    } cases[] = {
        {target, false, "bytes: good"},
        {target, true, "bytes: good"},
        {link, true, "bytes: good"},
        {link, false, "problem: it cannot be read (Too many levels of symbolic links)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + (c.followLinks ? " followed" : " not followed"));
        EXPECT_EQ(outcome(readSmallFile(c.path, c.followLinks, 64)), c.outcome);
    }
}

// Files of /proc say size 0 and hold more: the bound holds for what is read,
// not for what stat said.
TEST_F(BoundedFileTest, AFileLargerThanItsStatedSizeIsStillBounded) {
    const std::string path = "/proc/self/maps";
    if (!fs::exists(path)) GTEST_SKIP() << "no " << path << " here";
    ASSERT_EQ(fs::file_size(path), 0u);
    struct Case {
        std::size_t limit;
        std::string problem;
    } cases[] = {{64, "problem: it is larger than 64 bytes"}, {1024, "problem: it is larger than 1 KiB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        EXPECT_EQ(outcome(readSmallFile(path, true, c.limit)), c.problem);
    }
    auto whole = readSmallFile(path, true, maxSmallFileSize);
    ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(whole)) << outcome(whole);
    EXPECT_GT(std::get<std::vector<std::uint8_t>>(whole).size(), 1024u);
}

}  // namespace
}  // namespace tresk
