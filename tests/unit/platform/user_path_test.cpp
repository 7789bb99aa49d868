// Typed paths: from the start folder, "~" from home, and shown short again.
#include "platform/files/user_path.hpp"

#include <gtest/gtest.h>

TEST(UserPath, TypedPathsAreTakenFromTheStartFolderAndHome) {
    const struct {
        const char *typed, *home, *expected;  // expected empty: refused
    } cases[] = {
        {"a.dat", "/home/me", "/start/a.dat"},
        {"  courses/../a.dat \n", "/home/me", "/start/a.dat"},
        {"/tmp/x/./a.dat", "/home/me", "/tmp/x/a.dat"},
        {"~/courses/a.dat", "/home/me", "/home/me/courses/a.dat"},
        {"~/courses/a.dat", "/home/me/", "/home/me/courses/a.dat"},
        {"~", "/home/me", "/home/me/"},
        {"./~/a.dat", "/home/me", "/start/~/a.dat"},  // a folder named ~ can still be reached
        {"~bob/a.dat", "/home/me", ""},
        {"~/a.dat", "", ""},
        {"~/a.dat", "relative", ""},
        {"   ", "/home/me", ""},
    };
    for (const auto& c : cases) {
        std::string error;
        const std::string path = platform::ExpandUserPath(c.typed, "/start", c.home, &error);
        EXPECT_EQ(path, c.expected) << "'" << c.typed << "' with HOME=" << c.home;
        EXPECT_EQ(error.empty(), path.size() > 0) << c.typed << ": " << error;
    }
}

TEST(UserPath, PathsInHomeAreShownWithATilde) {
    EXPECT_EQ(platform::ShortUserPath("/home/me/courses/a.dat", "/home/me"), "~/courses/a.dat");
    EXPECT_EQ(platform::ShortUserPath("/home/me/courses/a.dat", "/home/me/"), "~/courses/a.dat");
    EXPECT_EQ(platform::ShortUserPath("/home/mine/a.dat", "/home/me"), "/home/mine/a.dat");
    EXPECT_EQ(platform::ShortUserPath("/a.dat", "/"), "/a.dat");
    EXPECT_EQ(platform::ShortUserPath("/a.dat", ""), "/a.dat");
}
