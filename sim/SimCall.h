// One call of an entry point of the simulated adapter, from start to finish: the state held
// (and with it the sim lock) for the whole call, the call-log line started with the entry's name
// and its arguments, and the line finished with the call's result. Each export adds only its own
// checks and work:
//   SimCall call("ADL_Display_ColorCaps_Get", adapterIndex, displayIndex, caps, valid);
//   return call.Run(CheckOpen(call), [&](SimStore& store) { ...; return sim::kOk; });
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/CallLine.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"

namespace sim {

// An argument logged as the words of the record it points to (or "null").
struct LoggedRecord {
    const void* record;
    size_t words;
};
template <typename Record>
LoggedRecord Words(const Record* record, size_t words) {
    return LoggedRecord{record, words};
}
// The whole record: as many words as its type has.
template <typename Record>
LoggedRecord WholeRecord(const Record* record) {
    return LoggedRecord{record, sizeof(Record) / sizeof(int32_t)};
}

// The size in bytes a record gives in its first word, or 0 for a null record.
template <typename Record>
int32_t GivenSize(const Record* record) {
    return record != nullptr ? record->iSize : 0;
}

class SimCall {
  public:
    // The arguments go on the line in order: ints, pointers as "ptr" or "null", texts as they
    // are, LoggedRecord as the record's words.
    template <typename... Arguments>
    explicit SimCall(const char* name, const Arguments&... arguments) : line_(name), name_(name) {
        (Log(arguments), ...);
        store_.StallIfListed(name_);  // a driver that takes its time holds the card meanwhile
    }
    SimCall(const SimCall&) = delete;
    SimCall& operator=(const SimCall&) = delete;

    const char* name() const { return name_; }
    SimStore& store() { return store_; }
    const SimStore& store() const { return store_; }
    // For what goes on the line after the arguments (what a call handed out).
    CallLine& line() { return line_; }

    // kError when the state's [Sim] Refuse lists this entry point, otherwise kOk.
    int CheckRefusal() const { return store_.IsRefused(name_) ? kError : kOk; }

    // Finishes the call: with `check` when it is a failure; otherwise `body(store)` does the
    // call's work and returns kOk or a failure of its own. Success is written as the state's
    // [Sim] Note says (kOk, or kOkWithNote for the entries it lists).
    template <typename Body>
    int Run(int check, Body&& body) {
        if (check != kOk) {
            return line_.Finish(check);
        }
        const int result = body(store_);
        return result == kOk ? line_.Succeed(store_) : line_.Finish(result);
    }

  private:
    void Log(int value) { line_.Int(value); }
    void Log(const void* pointer) { line_.Pointer(pointer); }
    void Log(const std::string& text) { line_.Text(text); }
    void Log(const LoggedRecord& record) { line_.Record(record.record, record.words); }
    // A C string would otherwise log as a pointer.
    void Log(const char*) = delete;

    SimStore store_;
    CallLine line_;
    const char* name_;
};

}  // namespace sim
