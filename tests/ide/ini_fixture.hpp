// A fresh QuvBench.ini path in a temporary folder per test.
#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/private_profile.hpp"

namespace ide::test {

class IniTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("quvbench-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                   std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        ini_ = (folder_ / "QuvBench.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::string& text) const
    {
        std::ofstream(ini_, std::ios::binary) << text;
    }
    // The file as the IDE reads it at start-up: once, for every key.
    platform::PrivateProfileFile Profile() const { return platform::PrivateProfileFile(ini_); }
    std::string Read() const
    {
        std::ifstream in(ini_, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    std::filesystem::path folder_;
    std::string ini_;
};

} // namespace ide::test
