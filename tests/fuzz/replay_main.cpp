// Replays every file of a corpus folder through a fuzz target; used where libFuzzer is not.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

int main(int argc, char** argv) {
  int Runs = 0;
  for (int A = 1; A < argc; ++A) {
    const std::filesystem::path Root(argv[A]);
    if (!std::filesystem::exists(Root)) continue;
    for (const auto& Entry : std::filesystem::recursive_directory_iterator(Root)) {
      if (!Entry.is_regular_file()) continue;
      std::ifstream In(Entry.path(), std::ios::binary);
      const std::vector<char> Bytes{std::istreambuf_iterator<char>(In),
                                    std::istreambuf_iterator<char>()};
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
      ++Runs;
    }
  }
  // An empty input is always worth one run.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("replayed %d inputs\n", Runs + 1);
  return 0;
}
