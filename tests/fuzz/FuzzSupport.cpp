#include "tests/fuzz/FuzzSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>

namespace fuzz {

namespace {

constexpr std::size_t kQuickCases = 10000;
constexpr std::size_t kFullFactor = 10;
constexpr std::size_t kMessagesPerReader = 5;

struct ReaderFigures {
    std::string reader;
    std::size_t cases;
    std::size_t rejected;
    std::size_t faults;
};

std::vector<ReaderFigures>& Finished() {
    static std::vector<ReaderFigures> figures;
    return figures;
}

// Prints the totals over every reader once all tests have run.
class FiguresLine : public ::testing::Environment {
  public:
    void TearDown() override {
        std::size_t cases = 0, rejected = 0, faults = 0;
        for (const ReaderFigures& f : Finished()) {
            cases += f.cases;
            rejected += f.rejected;
            faults += f.faults;
        }
        std::printf(
            "FIGURES: fuzzed inputs (native, %s): %zu readers, %zu cases, %zu rejected as "
            "invalid, %zu faults\n",
            std::getenv("VELMORA_ROBUSTNESS") != nullptr ? std::getenv("VELMORA_ROBUSTNESS")
                                                         : "quick",
            Finished().size(), cases, rejected, faults);
        std::fflush(stdout);
    }
};

// GoogleTest owns the environment from here on.
[[maybe_unused]] ::testing::Environment* const g_figuresLine =
    ::testing::AddGlobalTestEnvironment(std::make_unique<FiguresLine>().release());

void Splice(Random& random, std::string& text, const std::string& part) {
    text.insert(random.Below(text.size() + 1), part);
}

}  // namespace

std::size_t CaseCount() {
    const char* size = std::getenv("VELMORA_ROBUSTNESS");
    const bool full = size != nullptr && std::string_view(size) == "full";
    return full ? kQuickCases * kFullFactor : kQuickCases;
}

Tally::Tally(std::string reader) : reader_(std::move(reader)) {}

Tally::~Tally() {
    std::printf("fuzz %-34s cases %7zu  rejected as invalid %7zu  faults %zu\n", reader_.c_str(),
                cases_, rejected_, faults_);
    std::fflush(stdout);
    Finished().push_back(ReaderFigures{reader_, cases_, rejected_, faults_});
}

void Tally::Fault(const std::string& what) {
    ++faults_;
    if (faults_ <= kMessagesPerReader) {
        constexpr std::size_t kShown = 300;
        ADD_FAILURE() << reader_ << " (case " << cases_ << "): " << what.substr(0, kShown)
                      << (what.size() > kShown ? "..." : "");
    }
}

std::int64_t Random::Between(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(engine_);
}

std::int32_t Random::Hostile32() {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    switch (Below(6)) {
        case 0:
            return static_cast<std::int32_t>(Between(-3, 3));
        case 1:
            return static_cast<std::int32_t>(Between(-1000, 1000));
        case 2:
            return static_cast<std::int32_t>(Between(0, 200000));
        case 3: {
            static const std::int32_t kEdges[] = {kMin,   kMin + 1, kMax,    kMax - 1, -1,
                                                  0x7FFF, 0xFFFF,   0x10000, -0x10000};
            return kEdges[Below(std::size(kEdges))];
        }
        case 4:
            return static_cast<std::int32_t>(Between(-100000000, 100000000));
        default:
            return static_cast<std::int32_t>(Word());
    }
}

std::int64_t Random::Hostile64() {
    switch (Below(4)) {
        case 0:
            return Hostile32();
        case 1:
            return static_cast<std::int64_t>(static_cast<std::uint32_t>(Hostile32()));
        case 2: {
            static const std::int64_t kEdges[] = {std::numeric_limits<std::int64_t>::min(),
                                                  std::numeric_limits<std::int64_t>::max(),
                                                  0x100000000LL, -0x80000001LL, 0xFFFFFFFFLL};
            return kEdges[Below(std::size(kEdges))];
        }
        default:
            return static_cast<std::int64_t>((std::uint64_t{Word()} << 32) | Word());
    }
}

float Random::AnyFloat() {
    switch (Below(4)) {
        case 0: {
            const std::uint32_t bits = Word();
            float value;
            std::memcpy(&value, &bits, sizeof(value));
            return value;
        }
        case 1: {
            static const float kEdges[] = {std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity(),
                                           -std::numeric_limits<float>::infinity(),
                                           std::numeric_limits<float>::denorm_min(),
                                           std::numeric_limits<float>::max(),
                                           -1.0f,
                                           0.0f,
                                           -0.0f,
                                           999999.9f,
                                           1.0e6f};
            return kEdges[Below(std::size(kEdges))];
        }
        default:
            return static_cast<float>(Between(-2000000, 2000000)) / 2.0f;
    }
}

double Random::AnyDouble() {
    switch (Below(4)) {
        case 0: {
            const std::uint64_t bits = (std::uint64_t{Word()} << 32) | Word();
            double value;
            std::memcpy(&value, &bits, sizeof(value));
            return value;
        }
        case 1: {
            static const double kEdges[] = {std::numeric_limits<double>::quiet_NaN(),
                                            std::numeric_limits<double>::infinity(),
                                            -std::numeric_limits<double>::infinity(),
                                            std::numeric_limits<double>::denorm_min(),
                                            std::numeric_limits<double>::max(),
                                            -1.0,
                                            0.0,
                                            1e-300,
                                            1e300};
            return kEdges[Below(std::size(kEdges))];
        }
        default:
            return static_cast<double>(Between(-400, 400)) / 100.0;
    }
}

std::string HostileNumberText(Random& random) {
    static const char* const kNumbers[] = {"-1",
                                           "0",
                                           "4294967295",
                                           "4294967296",
                                           "-2147483648",
                                           "2147483647",
                                           "2147483648",
                                           "99999999999999999999",
                                           "-0",
                                           "+5",
                                           "0x10",
                                           "1e9",
                                           "65535",
                                           "65536",
                                           "18446744073709551616",
                                           "-9223372036854775809"};
    return kNumbers[random.Below(std::size(kNumbers))];
}

std::string MutateBytes(Random& random, std::string text) {
    const std::size_t rounds = 1 + random.Below(4);
    for (std::size_t r = 0; r < rounds; ++r) {
        switch (random.Below(10)) {
            case 0:  // truncate
                text.resize(random.Below(text.size() + 1));
                break;
            case 1:  // flip one byte's bits
                if (!text.empty()) {
                    char& byte = text[random.Below(text.size())];
                    byte = static_cast<char>(static_cast<unsigned char>(byte) ^
                                             static_cast<unsigned char>(1 + random.Below(255)));
                }
                break;
            case 2:  // any byte somewhere
                if (!text.empty()) {
                    text[random.Below(text.size())] = static_cast<char>(random.Word());
                }
                break;
            case 3:  // delete a run
                if (!text.empty()) {
                    const std::size_t at = random.Below(text.size());
                    text.erase(at, random.Below(text.size() - at + 1));
                }
                break;
            case 4:  // duplicate a run
                if (!text.empty()) {
                    const std::size_t at = random.Below(text.size());
                    Splice(random, text, text.substr(at, random.Below(text.size() - at + 1)));
                }
                break;
            case 5:
                Splice(random, text, HostileNumberText(random));
                break;
            case 6:
                Splice(random, text, std::string(1, '\0'));
                break;
            case 7: {  // invalid UTF-8: a stray continuation, a cut lead, an overlong form
                static const char* const kBad[] = {
                    "\x80",     "\xC3",         "\xE2\x82",         "\xF0\x9F\x98",
                    "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"};
                Splice(random, text, kBad[random.Below(std::size(kBad))]);
                break;
            }
            case 8:  // an overlong run
                Splice(random, text,
                       std::string(random.Between(100, 5000), static_cast<char>(random.Word())));
                break;
            default:
                Splice(random, text, RandomBytes(random, 16));
                break;
        }
    }
    return text;
}

std::vector<std::uint8_t> MutateBytes(Random& random, std::vector<std::uint8_t> bytes) {
    std::string text(bytes.begin(), bytes.end());
    text = MutateBytes(random, std::move(text));
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::wstring MutateWide(Random& random, std::wstring text) {
    const std::size_t rounds = 1 + random.Below(4);
    for (std::size_t r = 0; r < rounds; ++r) {
        const std::size_t at = random.Below(text.size() + 1);
        switch (random.Below(8)) {
            case 0:
                text.resize(at);
                break;
            case 1:
                if (at < text.size()) {
                    text[at] = static_cast<wchar_t>(random.Between(0, 0xFFFF));
                }
                break;
            case 2:
                if (at < text.size()) {
                    text.erase(at, random.Below(text.size() - at + 1));
                }
                break;
            case 3:
                text.insert(at, 1, static_cast<wchar_t>(random.Chance(50) ? 0xD800 : 0xDFFF));
                break;
            case 4:
                text.insert(at, 1, L'\0');
                break;
            case 5:
                text.insert(at, Widen(HostileNumberText(random)));
                break;
            case 6:
                text.insert(at, std::wstring(random.Between(100, 3000),
                                             static_cast<wchar_t>(random.Between(1, 0xFFFF))));
                break;
            default:
                text.insert(at, RandomWide(random, 12));
                break;
        }
    }
    return text;
}

std::u16string MutateWide(Random& random, std::u16string text) {
    std::wstring wide(text.begin(), text.end());
    wide = MutateWide(random, std::move(wide));
    std::u16string out;
    for (wchar_t c : wide) {
        out.push_back(static_cast<char16_t>(c));
    }
    return out;
}

std::string RandomAscii(Random& random, std::size_t maxLength) {
    std::string text(random.Below(maxLength + 1), ' ');
    for (char& c : text) {
        c = static_cast<char>(random.Between(0x20, 0x7E));
    }
    return text;
}

std::string RandomBytes(Random& random, std::size_t maxLength) {
    std::string text(random.Below(maxLength + 1), '\0');
    for (char& c : text) {
        c = static_cast<char>(random.Word());
    }
    return text;
}

std::wstring RandomWide(Random& random, std::size_t maxLength) {
    std::wstring text(random.Below(maxLength + 1), L' ');
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(random.Chance(70) ? random.Between(0x20, 0x7E)
                                                   : random.Between(0, 0xFFFF));
    }
    return text;
}

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    for (char c : text) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::string Printable(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text.substr(0, 200)) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char code[16];
            std::snprintf(code, sizeof(code), "\\u%04X", static_cast<unsigned>(c) & 0xFFFFu);
            out += code;
        }
    }
    return out;
}

}  // namespace fuzz
