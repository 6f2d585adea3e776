#include "platform/file_io.hpp"

#include <gtest/gtest.h>

// An input that never ends is read up to the bound, then refused as too
// large (the read of sources and project files is tested through quvc).
TEST(FileIo, AnEndlessInputIsTooLarge)
{
    std::string data, error;
    EXPECT_FALSE(platform::ReadWholeFile("/dev/zero", data, error));
    EXPECT_EQ(error, std::string("cannot read /dev/zero: ") + platform::kTooLargeReason);
    EXPECT_TRUE(data.empty());
}
