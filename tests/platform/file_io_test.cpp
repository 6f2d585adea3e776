#include "platform/file_io.hpp"

#include <gtest/gtest.h>

// An input that never ends is read up to the bound, then refused as too
// large: by the read of sources and project files and by the plain one.
TEST(FileIo, AnEndlessInputIsTooLarge)
{
    std::string data, why;
    EXPECT_EQ(platform::ReadWithStop("/dev/zero", data, why, nullptr), platform::ReadEnd::Failed);
    EXPECT_EQ(why, platform::kTooLargeReason);
    EXPECT_TRUE(data.empty());

    std::string error;
    EXPECT_FALSE(platform::ReadWholeFile("/dev/zero", data, error));
    EXPECT_EQ(error, std::string("cannot read /dev/zero: ") + platform::kTooLargeReason);
    EXPECT_TRUE(data.empty());
}
