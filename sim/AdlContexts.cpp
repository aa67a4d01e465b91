#include "sim/AdlContexts.h"

#include <array>

#include "sim/SimAdapters.h"
#include "sim/SimErrors.h"
#include "sim/core/SimPersonality.h"

namespace sim {

namespace {

struct Context {
    int id = 0;
    bool open = false;
    AdlMallocCallback allocate = nullptr;
};

// More than a process ever holds at once: a program that leaks contexts runs out, visibly.
constexpr size_t kMaxContexts = 64;

struct Contexts {
    std::array<Context, kMaxContexts> slots;
    int opened = 0;
    int legacyCount = 0;
    AdlMallocCallback legacyAllocate = nullptr;
};

Contexts& All() {
    static Contexts contexts;
    return contexts;
}

Context* Find(AdlContextHandle handle) {
    for (Context& context : All().slots) {
        if (&context == handle && context.open) {
            return &context;
        }
    }
    return nullptr;
}

}  // namespace

void OpenLegacyContext(AdlMallocCallback allocate) {
    All().legacyAllocate = allocate;
    ++All().legacyCount;
}

void CloseLegacyContext() {
    if (All().legacyCount > 0 && --All().legacyCount == 0) {
        All().legacyAllocate = nullptr;
    }
}

bool LegacyContextOpen() {
    return All().legacyCount > 0;
}

AdlMallocCallback LegacyAllocator() {
    return All().legacyAllocate;
}

AdlContextHandle OpenContext(AdlMallocCallback allocate) {
    for (Context& context : All().slots) {
        if (!context.open) {
            context = Context{++All().opened, true, allocate};
            return &context;
        }
    }
    return nullptr;
}

bool CloseContext(AdlContextHandle handle) {
    Context* context = Find(handle);
    if (context == nullptr) {
        return false;
    }
    context->open = false;
    context->allocate = nullptr;
    return true;
}

AdlMallocCallback ContextAllocator(AdlContextHandle handle) {
    if (handle == nullptr) {
        return LegacyAllocator();
    }
    const Context* context = Find(handle);
    return context != nullptr ? context->allocate : nullptr;
}

std::string ContextName(AdlContextHandle handle) {
    if (handle == nullptr) {
        return "null";
    }
    const Context* context = Find(handle);
    return context != nullptr ? "ctx" + std::to_string(context->id) : "unknown";
}

int CheckOverdriveCall(const SimStore& store, const char* name, AdlContextHandle handle,
                       int adapterIndex, int version) {
    if (store.IsRefused(name)) {
        return kError;
    }
    if (ContextAllocator(handle) == nullptr) {
        return kNotInitialized;
    }
    if (OverdriveVersion(ParsePersonality(store.GetString("Sim", "Personality"))) != version) {
        return kNotSupported;
    }
    // Every adapter record belongs to the one simulated card.
    if (SimAdapters(store).FindAdapter(adapterIndex) == nullptr) {
        return kInvalidAdapterIndex;
    }
    return kOk;
}

}  // namespace sim
