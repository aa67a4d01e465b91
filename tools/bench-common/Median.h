// The median of a benchmark's samples (the upper middle one of an even count; T{} for none).
#pragma once

#include <algorithm>
#include <vector>

namespace bench {

template <typename T>
T Median(std::vector<T> values) {
    if (values.empty()) {
        return T{};
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
