#include "sim/CallLine.h"

#include <algorithm>
#include <cstring>

#include "sim/SimErrors.h"
#include "sim/SimStore.h"

namespace sim {

void CallLine::Separate() {
    if (!first_) {
        text_ += ", ";
    }
    first_ = false;
}

CallLine& CallLine::Int(int value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::Pointer(const void* pointer) {
    Separate();
    text_ += pointer != nullptr ? "ptr" : "null";
    return *this;
}

CallLine& CallLine::Text(const std::string& text) {
    Separate();
    text_ += text;
    return *this;
}

CallLine& CallLine::Record(const void* record, size_t words) {
    Separate();
    if (record == nullptr) {
        text_ += "null";
        return *this;
    }
    text_ += "{";
    for (size_t i = 0; i < words; ++i) {
        int32_t word = 0;
        std::memcpy(&word, static_cast<const char*>(record) + i * sizeof(word), sizeof(word));
        if (i > 0) {
            text_ += ", ";
        }
        text_ += std::to_string(word);
    }
    text_ += "}";
    return *this;
}

int CallLine::Finish(int result) {
    AppendCallLog(text_ + ") = " + std::to_string(result));
    return result;
}

int CallLine::Succeed(const SimStore& store) {
    return Finish(store.IsNoted(name_) ? kOkWithNote : kOk);
}

size_t SizedWords(const void* record, size_t minimum, size_t maximum) {
    if (record == nullptr) {
        return 0;
    }
    int32_t size = 0;
    std::memcpy(&size, record, sizeof(size));
    const size_t words = size > 0 ? static_cast<size_t>(size) / sizeof(int32_t) : 0;
    return std::clamp(words, minimum, maximum);
}

}  // namespace sim
