#include "tools/guiprobe/UnixMemory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace guiprobe {

std::optional<UnixMemory> ReadOwnUnixMemory() {
    std::FILE* status = ::_wfopen(L"Z:\\proc\\self\\status", L"r");
    if (status == nullptr) {
        return std::nullopt;
    }
    UnixMemory memory;
    bool anonymous = false;
    bool resident = false;
    char line[256];
    while (std::fgets(line, sizeof(line), status) != nullptr) {
        anonymous = anonymous || std::sscanf(line, "RssAnon: %lld", &memory.anonymousKb) == 1;
        resident = resident || std::sscanf(line, "VmRSS: %lld", &memory.residentKb) == 1;
    }
    std::fclose(status);
    if (!anonymous || !resident) {
        return std::nullopt;
    }
    return memory;
}

}  // namespace guiprobe
