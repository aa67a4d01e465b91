// One line of the call log: "Name(arg, {record words}, ...) = result".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

class SimStore;

class CallLine {
  public:
    explicit CallLine(const char* name) : name_(name), text_(std::string(name) + "(") {}

    CallLine& Int(int value);
    // "ptr" or "null": an out-pointer whose target the caller does not fill in.
    CallLine& Pointer(const void* pointer);
    // An argument written as it is, such as an ADL2 context's name.
    CallLine& Text(const std::string& text);
    // The words of a record as the caller passed it, or "null".
    CallLine& Record(const void* record, size_t words);

    // Appends " = result" and writes the line to the call log; returns `result`.
    int Finish(int result);
    // Finishes a call that did its work: 0, or 1 (a success with a note) when the state's
    // [Sim] Note lists the entry.
    int Succeed(const SimStore& store);

  private:
    void Separate();

    const char* name_;
    std::string text_;
    bool first_ = true;
};

// Words of a record that starts with its size in bytes, bounded to [minimum, maximum] words.
size_t SizedWords(const void* record, size_t minimum, size_t maximum);

}  // namespace sim
