// Reading a small file that someone else may have put in place: the bound,
// links, and files whose size the system does not tell.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
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

// What a read of `path` gave: the bytes, or the problem in its words, the
// path written as F.
std::string outcome(const Expected<std::vector<std::uint8_t>>& read, const std::string& path) {
    if (read) return "bytes: " + std::string(read->begin(), read->end());
    std::string text = read.problem().text;
    if (text.starts_with(path)) text.replace(0, path.size(), "F");
    return "problem: " + text;
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
        const std::string path = file("f", bytes);
        EXPECT_EQ(outcome(readSmallFile(path, false, limit), path),
                  c.taken ? "bytes: " + bytes : std::string("problem: F: it is larger than 1 KiB"));
    }
    // The default bound, at its edge: a device profile of exactly 1 MiB is read.
    const std::string mebibyte(maxSmallFileSize, '#');
    const std::string exact = file("f", mebibyte);
    EXPECT_EQ(outcome(readSmallFile(exact, false), exact), "bytes: " + mebibyte);
    const std::string over = file("f", mebibyte + "#");
    EXPECT_EQ(outcome(readSmallFile(over, false), over), "problem: F: it is larger than 1 MiB");
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
        {link, false, "problem: F is a symbolic link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + (c.followLinks ? " followed" : " not followed"));
        EXPECT_EQ(outcome(readSmallFile(c.path, c.followLinks, 64), c.path), c.outcome);
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
    } cases[] = {{64, "problem: F: it is larger than 64 bytes"}, {1024, "problem: F: it is larger than 1 KiB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        EXPECT_EQ(outcome(readSmallFile(path, true, c.limit), path), c.problem);
    }
    auto whole = readSmallFile(path, true, maxSmallFileSize);
    ASSERT_TRUE(whole) << outcome(whole, path);
    EXPECT_GT(whole->size(), 1024u);
}

}  // namespace
}  // namespace tresk
