// Fixed settings of the update check: where the update server is and the values that identify
// this product to the update library.
#pragma once

// The update server, looked up by name at every start. The release build names the real host.
inline constexpr char kUpdateServerHost[] = "update.velmora.example";
inline constexpr int kUpdateServerPort = 4040;

// Product identification handed to the update library.
inline constexpr char kUpdateProcessFileName[] = "584Qbmzta7261k.wxyz";
inline constexpr char kUpdaterProgramName[] = "TVUpdater.exe";
inline constexpr char kUpdateCfgFileName[] = "Update.xml";
inline constexpr char kSoftwareMark[] = "tvcm";
inline constexpr int kUnionId = 8899;

// Where the libraries live, relative to the executable's directory.
inline constexpr char kUpdateSubdirectory[] = "\\update";
inline constexpr wchar_t kUpdaterLibraryPath[] = L"\\update\\versync.dll";
inline constexpr wchar_t kMachineIdLibraryPath[] = L"\\MachineId.dll";
