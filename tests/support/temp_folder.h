// SPDX-License-Identifier: MIT
// A folder of its own for each test, under the system's temporary folder, named after the test
// and a random number (test runs of other build trees may run beside this one), removed after
// the test; with helpers to write and read files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files.h"

namespace tolvex::fakes {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() / (std::string("tolvex-") + test->test_suite_name() + "-" +
                                                    test->name() + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Writes `bytes` to a file of the folder, making the folders on its way.
  std::filesystem::path write(const std::filesystem::path& relative, const std::string& bytes) {
    std::filesystem::path p = dir / relative;
    std::filesystem::create_directories(p.parent_path());
    write_file(p, bytes);
    return p;
  }
  static std::string read(const std::filesystem::path& p) { return read_file(p); }
  // The names in the folder, sorted, joined with blanks.
  std::string names() const {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(dir)) v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    std::string out;
    for (const auto& n : v) out += (out.empty() ? "" : " ") + n;
    return out;
  }

  std::filesystem::path dir;
};

}  // namespace tolvex::fakes
