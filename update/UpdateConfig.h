// Fixed settings of the update check: where the update server is and the values that identify
// this product to the update library.
#pragma once

// The update server, looked up by name at every start. Its name is given to the build (each
// build of the program links its own definition, see CMakeLists.txt); an empty name means this
// build has no update server, so the library is handed no address and checks nothing.
const char* UpdateServerHost();
inline constexpr int kUpdateServerPort = 4040;

// Product identification handed to the update library.
inline constexpr char kUpdateProcessFileName[] = "584Qbmzta7261k.wxyz";
inline constexpr char kUpdaterProgramName[] = "TVUpdater.exe";
inline constexpr char kUpdateCfgFileName[] = "Update.xml";
inline constexpr char kSoftwareMark[] = "tvcm";
inline constexpr int kUnionId = 8899;

// Where the libraries and the update folder's files live, relative to the executable's directory.
inline constexpr char kUpdateSubdirectory[] = "\\update";
inline constexpr wchar_t kUpdateCfgFilePath[] = L"\\update\\Update.xml";
inline constexpr wchar_t kUpdaterLibraryPath[] = L"\\update\\versync.dll";
inline constexpr wchar_t kMachineIdLibraryPath[] = L"\\MachineId.dll";
