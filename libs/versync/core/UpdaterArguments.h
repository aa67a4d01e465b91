// What versync.dll hands TVUpdater.exe on its command line, and how the updater reads it back:
//
//   /wait <process id> /url <package address> /size <bytes> /sha256 <hex> /restart "<program>"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct UpdaterArguments {
    std::uint32_t waitProcessId = 0;  // the program to wait for; 0 waits for nothing
    std::string url;
    std::uint64_t size = 0;
    std::string sha256;        // lower-case hexadecimal
    std::wstring restartPath;  // the program's executable, started again after the install
};

// The arguments as one command-line tail (without the updater's own name).
std::wstring FormatUpdaterArguments(const UpdaterArguments& arguments);

// The arguments from the command line split into words (without the updater's own name).
// Empty when a switch is missing, repeated or unknown, or a value is not acceptable.
std::optional<UpdaterArguments> ParseUpdaterArguments(const std::vector<std::wstring>& words);
