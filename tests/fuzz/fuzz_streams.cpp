// Fuzz target for the binary stream readers: 80-bit extended and 32-bit integer items from a
// memory stream, and every item kind of the mixed file stream from a file holding the input.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "nmx/base/streams.h"
#include "nmx/platform/exceptions.h"

namespace {

void Check(bool Condition, const char* What) {
  if (!Condition) {
    std::fprintf(stderr, "fuzz_streams: %s\n", What);
    __builtin_trap();
  }
}

void FuzzExtended(const std::string& Data) {
  std::istringstream In(Data, std::ios::binary);
  bool Failed = false;
  std::size_t Items = 0;
  for (;;) {
    const long double V = NMX_streams::ReadExtendedFromStream(In, Failed);
    if (Failed) {
      Check(V == 0.0L, "a failed extended read returns 0");
      break;
    }
    ++Items;
    if (!std::isnan(V)) {
      // Whatever was read writes back to a pattern that reads as the same value.
      std::stringstream Again(std::ios::in | std::ios::out | std::ios::binary);
      NMX_streams::WriteExtendedToStream(Again, V);
      bool Failed2 = false;
      const long double W = NMX_streams::ReadExtendedFromStream(Again, Failed2);
      Check(!Failed2 && W == V && std::signbit(W) == std::signbit(V), "extended round trip");
    }
  }
  Check(Items == Data.size() / 10, "one extended item per 10 bytes");
}

void FuzzLongint(const std::string& Data) {
  std::istringstream In(Data, std::ios::binary);
  std::ostringstream Out(std::ios::binary);
  bool Failed = false;
  for (;;) {
    const std::int32_t V = NMX_streams::ReadLongintFromStream(In, Failed);
    if (Failed) break;
    NMX_streams::WriteLongintToStream(Out, V);
  }
  Check(Out.str() == Data.substr(0, Data.size() / 4 * 4), "integers write back to their bytes");
}

const std::string& TempPath() {
  static const std::string Path =
      (std::filesystem::temp_directory_path() /
       ("nmx_fuzz_streams_" + std::to_string(static_cast<long long>(getpid())) + ".bin"))
          .string();
  return Path;
}

// The input is both the file and the program: each byte in turn picks the kind of the next
// read, until a read raises at the end of the file.
void FuzzMixedFile(const std::string& Data) {
  const std::string& Path = TempPath();
  {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(Data.data(), static_cast<std::streamsize>(Data.size()));
    Check(static_cast<bool>(Out), "writing the temporary file");
  }
  NMX_streams::TMixedFStream S(Path, NMX_streams::fmOpenRead);
  std::remove(Path.c_str());  // the open file stays readable, and nothing is left behind
  std::size_t Consumed = 0;
  for (std::size_t K = 0;; ++K) {
    const unsigned Op = Data.empty() ? 3U : static_cast<unsigned char>(Data[K % Data.size()]) & 3U;
    try {
      switch (Op) {
        case 0:
          S.ReadInteger();
          Consumed += 4;
          break;
        case 1:
          S.ReadDouble();
          Consumed += 8;
          break;
        case 2:
          S.ReadByte();
          Consumed += 1;
          break;
        default: {
          const std::string Line = S.ReadLn();
          Check(Consumed + Line.size() <= Data.size(), "a line is at most the rest of the file");
          Consumed += Line.size() + 1;  // at least the LF or the end; a dropped CR is not counted
          break;
        }
      }
    } catch (const NMX_platform::EInOutError&) {
      break;  // the end of the file
    }
    Check(K <= Data.size(), "every successful read consumes a byte");
  }
}

}  // namespace

// Declared first so that the definition does not trip -Wmissing-declarations in the replay build.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  FuzzExtended(Bytes);
  FuzzLongint(Bytes);
  FuzzMixedFile(Bytes);
  return 0;
}
