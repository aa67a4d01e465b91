// What every fuzz test of the outside-data readers shares: a seeded generator, the run's size
// (VELMORA_ROBUSTNESS: "quick" by default, "full" ten times as many cases), mutations of valid
// inputs, and one tally per reader that the run prints at its end with a "FIGURES:" line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Cases per reader at the run's size: 10 000 quick, 100 000 full.
std::size_t CaseCount();

// One reader's figures. `Fault` records a broken property (and fails the running test); ASan and
// UBSan stop the run on a memory or arithmetic fault of their own.
class Tally {
  public:
    explicit Tally(std::string reader);
    Tally(const Tally&) = delete;
    Tally& operator=(const Tally&) = delete;
    ~Tally();

    void Case() { ++cases_; }
    void Rejected() { ++rejected_; }
    // Records a broken property with what broke, at most a few messages per reader.
    void Fault(const std::string& what);

  private:
    std::string reader_;
    std::size_t cases_ = 0;
    std::size_t rejected_ = 0;
    std::size_t faults_ = 0;
};

// A generator with a fixed seed per reader, so every run feeds the same cases.
class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    std::uint32_t Word() { return static_cast<std::uint32_t>(engine_()); }
    // A number in [low, high].
    std::int64_t Between(std::int64_t low, std::int64_t high);
    std::size_t Below(std::size_t bound) {
        return static_cast<std::size_t>(Between(0, static_cast<std::int64_t>(bound) - 1));
    }
    bool Chance(int percent) { return Between(0, 99) < percent; }
    // A 32-bit value shaped to find limits: small, near zero, a boundary, huge or any word.
    std::int32_t Hostile32();
    std::int64_t Hostile64();
    // Any float bit pattern or a plain value: NaN, infinities and denormals included.
    float AnyFloat();
    double AnyDouble();

  private:
    std::mt19937 engine_;
};

// Structure-blind mutations of a valid input: truncate, flip bytes, insert or delete runs,
// duplicate a part, splice in a huge or negative number, an embedded NUL, invalid UTF-8.
std::string MutateBytes(Random& random, std::string text);
std::vector<std::uint8_t> MutateBytes(Random& random, std::vector<std::uint8_t> bytes);
// The same over UTF-16 text: lone surrogates, NULs, overlong runs and numbers spliced in.
std::wstring MutateWide(Random& random, std::wstring text);
std::u16string MutateWide(Random& random, std::u16string text);

// Random text: printable ASCII, any byte, or any UTF-16 unit (lone surrogates included).
std::string RandomAscii(Random& random, std::size_t maxLength);
std::string RandomBytes(Random& random, std::size_t maxLength);
std::wstring RandomWide(Random& random, std::size_t maxLength);

// A value to splice into text: a huge, negative or overflowing decimal number.
std::string HostileNumberText(Random& random);

// Widening of ASCII and UTF-16 text for messages and comparisons.
std::wstring Widen(std::string_view text);
std::string Printable(std::wstring_view text);

}  // namespace fuzz
