#include "nmx/base/crc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint32_t Crc32(const std::string& Data) {
  std::uint32_t Crc = 0xFFFFFFFFU;
  for (const char C : Data) Crc = NMX_nmxbase::CalcNextCRC32(static_cast<std::uint8_t>(C), Crc);
  return ~Crc;
}

// Reference values: python3 -c "import zlib; print(hex(zlib.crc32(b'...')))".
TEST(Crc32, StandardCheckValues) {
  struct Case {
    std::string Data;
    std::uint32_t Crc;
  };
  std::string AllBytes;
  for (int B = 0; B < 256; ++B) AllBytes += static_cast<char>(B);
  const Case Cases[] = {
      {"", 0x00000000U},  // the start value FFFFFFFF, inverted
      {"123456789", 0xCBF43926U},
      {"a", 0xE8B7BE43U},
      {std::string(1, '\0'), 0xD202EF8DU},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339U},
      {AllBytes, 0x29058C73U},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(Crc32(C.Data), C.Crc);
  }
}

}  // namespace
