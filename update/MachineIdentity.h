// The machine identity handed to the update library, from the in-house MachineId.dll.
#pragma once

#include <cstddef>
#include <string>

// 15 characters and the terminator.
inline constexpr std::size_t kMachineIdSize = 16;

class MachineIdentity {
  public:
    // libraryPath: the full path of the identity library.
    explicit MachineIdentity(std::wstring libraryPath);

    // Asks the library unless it has answered before, then copies the identity (empty while it
    // was never obtained) to buffer. True when the identity has been obtained.
    bool Get(char (&buffer)[kMachineIdSize]);

  private:
    std::wstring libraryPath_;
    char identity_[kMachineIdSize] = {};
    bool obtained_ = false;
};

// The process's identity, from MachineId.dll next to the executable.
bool GetMachineId(char (&buffer)[kMachineIdSize]);
