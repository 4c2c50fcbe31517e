// Streams whose reads fail: a file stream opened on a directory (the read itself fails), and
// a buffer that hands out some text, then throws what the test chooses (std::bad_alloc stands
// for a word too large for memory).
#pragma once

#include <filesystem>
#include <fstream>
#include <streambuf>
#include <string>
#include <utility>

namespace nmx_test {

/// An ifstream on the temporary directory; on Linux opening succeeds and every read fails.
inline std::ifstream DirectoryStream() {
  return std::ifstream(std::filesystem::temp_directory_path(), std::ios::binary);
}

/// Hands out Text, then throws E on the next read.
template <class E>
class ThrowingBuf : public std::streambuf {
 public:
  explicit ThrowingBuf(std::string Text) : FText(std::move(Text)) {
    setg(FText.data(), FText.data(), FText.data() + FText.size());
  }

 protected:
  int_type underflow() override { throw E(); }

 private:
  std::string FText;
};

}  // namespace nmx_test
