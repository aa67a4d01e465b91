// What the program sets in versync.dll, and the request a check makes from it.
#pragma once

#include <string>

struct VersyncSettings {
    std::string processRootPath;
    std::string processFileName;
    std::string updateRootPath;
    std::string updaterFileName;
    std::string configFileName;
    std::string softwareMark;
    std::string machineId;
    std::string serverAddress;
    int unionId = 0;
    int serverPort = 0;
    bool unionIdSet = false;
};

// Texts the library keeps are cut to this many bytes.
inline constexpr std::size_t kMaxSettingLength = 1024;

// True when every field is set and usable (the machine identity may be empty: the program passes
// an empty one when it has none): a plain server name or address, a port of 1-65535,
// plain file names for the updater and the configuration file. Anything less means no check.
bool CanCheck(const VersyncSettings& settings);

// "http://<address>:<port>/update/<mark>/manifest<suffix>?union=<id>&machine=<id>", the texts
// escaped: the manifest with suffix "", its detached signature with ".sig".
std::string ManifestUrl(const VersyncSettings& settings, const char* suffix);

// True for a file name without a folder part: no separator, no drive, not "." or "..".
bool IsPlainFileName(const std::string& name);
