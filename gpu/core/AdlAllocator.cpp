#include "gpu/core/AdlAllocator.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct Allocation {
    const void* block;
    size_t size;
};

// Few blocks are alive at once (one display list per adapter searched), so a list will do.
struct Registry {
    std::mutex lock;
    std::vector<Allocation> live;
};

Registry& Allocations() {
    static Registry registry;
    return registry;
}

}  // namespace

void* VELMORA_STDCALL AdlAllocate(int size) {
    if (size < 1) {
        return nullptr;
    }
    void* block = std::calloc(1, static_cast<size_t>(size));
    if (block != nullptr) {
        Registry& registry = Allocations();
        std::lock_guard<std::mutex> hold(registry.lock);
        registry.live.push_back(Allocation{block, static_cast<size_t>(size)});
    }
    return block;
}

void AdlFree(void* block) {
    if (block == nullptr) {
        return;
    }
    Registry& registry = Allocations();
    {
        std::lock_guard<std::mutex> hold(registry.lock);
        const auto found = std::find_if(registry.live.begin(), registry.live.end(),
                                        [block](const Allocation& a) { return a.block == block; });
        if (found == registry.live.end()) {
            return;
        }
        registry.live.erase(found);
    }
    std::free(block);
}

std::optional<size_t> AdlAllocationSize(const void* block) {
    Registry& registry = Allocations();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (const Allocation& allocation : registry.live) {
        if (allocation.block == block) {
            return allocation.size;
        }
    }
    return std::nullopt;
}
