// Hostile 32-bit values for the randomized driver tests: the edges of the type, small counts
// around the real ones, and anything at all.
#pragma once

#include <climits>
#include <cstdint>
#include <random>

namespace hostile {

class Values {
  public:
    explicit Values(uint32_t seed) : random_(seed) {}

    int32_t Any() {
        static constexpr int32_t kEdges[] = {0, 1, -1, 2, 8, 16, 17, INT_MIN, INT_MAX};
        switch (Below(4)) {
            case 0:
                return kEdges[Below(sizeof(kEdges) / sizeof(kEdges[0]))];
            case 1:
                return static_cast<int32_t>(Below(40)) - 5;
            default:
                return static_cast<int32_t>(random_());
        }
    }
    // A value near `typical` most of the time, a hostile one otherwise.
    int32_t Near(int32_t typical) {
        return Below(3) == 0 ? Any() : typical + static_cast<int32_t>(Below(2001)) - 1000;
    }
    uint32_t Below(uint32_t bound) { return random_() % bound; }
    bool Chance(uint32_t inPercent) { return Below(100) < inPercent; }

  private:
    std::mt19937 random_;
};

}  // namespace hostile
