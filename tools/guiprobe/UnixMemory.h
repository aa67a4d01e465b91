// The calling process's memory as Linux counts it, read from /proc/self/status through Wine's
// Z: drive. Under Wine 8 GetProcessMemoryInfo reports no private bytes (PrivateUsage is the
// swap in use, normally 0); the anonymous resident memory (RssAnon: heaps, stacks, private
// mappings) is the figure that grows when memory leaks.
#pragma once

#include <optional>

namespace guiprobe {

struct UnixMemory {
    long long anonymousKb = 0;  // RssAnon
    long long residentKb = 0;   // VmRSS, the working set
};

std::optional<UnixMemory> ReadOwnUnixMemory();

}  // namespace guiprobe
