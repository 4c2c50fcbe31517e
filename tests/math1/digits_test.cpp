#include "nmx/math1/digits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using NMX_math1::Bin;
using NMX_math1::Hex;
using NMX_math1::Octal;

TEST(Digits, FixedWidthDigitsOfTheLowBits) {
  struct Case {
    std::string (*Fn)(std::int32_t, std::uint8_t);
    std::int32_t Value;
    std::uint8_t NDig;
    const char* Text;
  };
  // Expected texts by hand, e.g. python3 -c "print(format(-1 & 0xFFFFFFFF, '011o'))".
  const Case Cases[] = {
      {Hex, 255, 4, "00FF"},
      {Hex, -1, 8, "FFFFFFFF"},
      {Hex, 74565, 2, "45"},  // 0x12345: higher digits dropped
      {Hex, 0xABCDEF, 6, "ABCDEF"},
      {Hex, -1, 16, "00000000FFFFFFFF"},
      {Hex, -1, 200, "00000000FFFFFFFF"},  // NDig clamped to 16
      {Hex, 10, 0, "A"},                   // and to 1
      {Octal, 8, 3, "010"},
      {Octal, -1, 11, "37777777777"},
      {Octal, -1, 12, "37777777777"},
      {Octal, 511, 2, "77"},
      {Bin, 5, 0, "1"},
      {Bin, 5, 4, "0101"},
      {Bin, -2147483647 - 1, 32, "10000000000000000000000000000000"},
      {Bin, -1, 40, "11111111111111111111111111111111"},
      {Bin, 0, 3, "000"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(C.Fn(C.Value, C.NDig), C.Text) << C.Value << " " << int{C.NDig};
  }
}

}  // namespace
