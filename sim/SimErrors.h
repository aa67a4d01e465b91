// Result codes of the simulated driver, as ADL defines them.
#pragma once

namespace sim {

inline constexpr int kOkWithNote = 1;  // ADL_OK_WARNING: done, with something to tell
inline constexpr int kOk = 0;
inline constexpr int kError = -1;
inline constexpr int kNotInitialized = -2;
inline constexpr int kInvalidParameter = -3;
inline constexpr int kInvalidAdapterIndex = -5;
inline constexpr int kNotSupported = -8;
inline constexpr int kNullPointer = -9;

}  // namespace sim
