// A file path in the test's own temporary folder, removed when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace nmx_test {

class TempFile {
 public:
  explicit TempFile(const std::string& Stem) {
    const auto* Info = testing::UnitTest::GetInstance()->current_test_info();
    std::string Unique = Stem;
    if (Info != nullptr) Unique = std::string(Info->test_suite_name()) + "_" + Info->name() + "_" + Stem;
    for (char& C : Unique) {
      if (C == '/') C = '_';
    }
    FPath = std::filesystem::temp_directory_path() / ("nmx_" + Unique);
    std::filesystem::remove(FPath);
  }
  ~TempFile() {
    std::error_code Ignored;
    std::filesystem::remove(FPath, Ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::string Path() const { return FPath.string(); }

  /// Write Bytes to the file exactly as given (no line-end translation).
  void Write(const std::string& Bytes) const {
    std::ofstream Out(FPath, std::ios::binary | std::ios::trunc);
    Out << Bytes;
  }

  /// The whole file as bytes.
  std::string Read() const {
    std::ifstream In(FPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path FPath;
};

}  // namespace nmx_test
