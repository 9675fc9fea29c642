#pragma once

#include "test_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

// Runs a test inside a fresh working directory, with standard input read from
// a file of the test's choosing, and collects what it prints on standard
// output.
class InWorkingDirectory : public ::testing::Test {
  protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        feed_input("");
    }

    void TearDown() override { std::filesystem::current_path(previous_); }

    // From now on standard input reads `text`, then its end.
    void feed_input(const std::string& text)
    {
        const std::filesystem::path input =
            dir_.path().parent_path() / (dir_.path().filename().string() + ".stdin");
        test_support::write_file(input, text);
        ASSERT_NE(std::freopen(input.c_str(), "rb", stdin), nullptr);
        std::filesystem::remove(input);
    }

    static void start_capture() { testing::internal::CaptureStdout(); }
    static std::string captured() { return testing::internal::GetCapturedStdout(); }

    std::filesystem::path dir() const { return dir_.path(); }

  private:
    test_support::TempDir dir_;
    std::filesystem::path previous_;
};
