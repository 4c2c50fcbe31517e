#include "nmx/platform/random.h"

#include <array>
#include <atomic>
#include <chrono>

namespace NMX_platform {
namespace {

// xoshiro256** (Blackman and Vigna): small state, fast, and good in every bit, which the
// 53-bit doubles need. Its state is filled from the seed by splitmix64, which never yields the
// all-zero state.
std::uint64_t SplitMix64(std::uint64_t& X) noexcept {
  std::uint64_t Z = (X += 0x9E3779B97F4A7C15ULL);
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBULL;
  return Z ^ (Z >> 31);
}

std::uint64_t Rotl(std::uint64_t X, int K) noexcept { return (X << K) | (X >> (64 - K)); }

class TEngine {
 public:
  explicit TEngine(std::uint64_t Seed) noexcept { SetSeed(Seed); }

  void SetSeed(std::uint64_t Seed) noexcept {
    FSeed = Seed;
    std::uint64_t X = Seed;
    for (auto& Word : FState) Word = SplitMix64(X);
  }

  std::uint64_t Seed() const noexcept { return FSeed; }

  std::uint64_t Next() noexcept {
    const std::uint64_t Result = Rotl(FState[1] * 5, 7) * 9;
    const std::uint64_t T = FState[1] << 17;
    FState[2] ^= FState[0];
    FState[3] ^= FState[1];
    FState[1] ^= FState[2];
    FState[0] ^= FState[3];
    FState[2] ^= T;
    FState[3] = Rotl(FState[3], 45);
    return Result;
  }

 private:
  std::array<std::uint64_t, 4> FState{};
  std::uint64_t FSeed = 0;
};

std::uint64_t ClockSeed() noexcept {
  static std::atomic<std::uint64_t> Counter{0};
  const auto Ticks = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  return Ticks ^ (Counter.fetch_add(1, std::memory_order_relaxed) * 0xD1B54A32D192ED03ULL);
}

// Each thread starts from its own clock seed, so threads do not share a sequence unless the
// caller seeds them alike.
TEngine& ThreadEngine() noexcept {
  thread_local TEngine Engine(ClockSeed());
  return Engine;
}

}  // namespace

double Random() noexcept {
  return static_cast<double>(ThreadEngine().Next() >> 11) * 0x1.0p-53;
}

int Random(int Range) noexcept {
  if (Range <= 0) return 0;
  // Multiply-shift maps 32 random bits onto [0, Range) with a bias below 2^-32 * Range.
  const std::uint64_t Bits = ThreadEngine().Next() >> 32;
  return static_cast<int>((Bits * static_cast<std::uint64_t>(Range)) >> 32);
}

void Randomize() noexcept { ThreadEngine().SetSeed(ClockSeed()); }

std::uint64_t RandSeed() noexcept { return ThreadEngine().Seed(); }

void SetRandSeed(std::uint64_t Seed) noexcept { ThreadEngine().SetSeed(Seed); }

}  // namespace NMX_platform
