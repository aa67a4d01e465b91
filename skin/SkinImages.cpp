#include "skin/SkinImages.h"

#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "skin/core/SkinImageTable.h"

namespace {

constexpr const wchar_t* kSkinResourceType = L"RES_PNG";

// The registry state. The lock exists only while `ready` is set: lookups before loading or
// after release find nothing instead of entering a critical section that does not exist.
struct Registry {
    CRITICAL_SECTION lock{};
    bool ready = false;
    std::map<std::wstring, Gdiplus::Image*, std::less<>> images;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

class LockGuard {
  public:
    explicit LockGuard(CRITICAL_SECTION& lock) : lock_(lock) { ::EnterCriticalSection(&lock_); }
    ~LockGuard() { ::LeaveCriticalSection(&lock_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

  private:
    CRITICAL_SECTION& lock_;
};

// Copies the resource bytes into a fixed global block that outlives the image: GDI+ may read the
// stream lazily, so neither the stream nor anything else frees the block.
HGLOBAL CopyToGlobalBlock(const void* bytes, DWORD size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    if (block == nullptr) {
        return nullptr;
    }
    void* target = ::GlobalLock(block);
    if (target == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    return block;
}

// Creates the image object from the stream. The memory comes from GdipAlloc, as the GDI+ classes
// expect for their `delete`; checking it here avoids constructing into a null block, which the
// class's own operator new would allow when GDI+ is not running.
Gdiplus::Image* CreateImage(IStream* stream) {
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Image));
    if (memory == nullptr) {
        return nullptr;
    }
    return ::new (memory) Gdiplus::Image(stream, FALSE);
}

}  // namespace

Gdiplus::Image* LoadResourceImage(WORD id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), kSkinResourceType);
    if (resource == nullptr) {
        resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    }
    if (resource == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, resource);
    if (size == 0) {
        return nullptr;
    }
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return nullptr;
    }
    HGLOBAL block = CopyToGlobalBlock(bytes, size);
    if (block == nullptr) {
        return nullptr;
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, FALSE, &stream)) || stream == nullptr) {
        ::GlobalUnlock(block);
        ::GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Image* image = CreateImage(stream);
    stream->Release();
    if (image != nullptr) {
        // Reading the status clears it, so a later status check does not see the decode result.
        image->GetLastStatus();
    }
    ::GlobalUnlock(block);
    return image;
}

void LoadSkinImages() {
    Registry& state = registry();
    if (state.ready) {
        return;
    }
    ::InitializeCriticalSection(&state.lock);
    state.ready = true;
    LockGuard guard(state.lock);
    // Decoding dominates start-up: the second half of the table is decoded on a helper thread
    // while this thread decodes the first. Both finish before anything is registered, so
    // callers see the same registry as with one thread.
    std::array<Gdiplus::Image*, kSkinImageCount> decoded{};
    const std::size_t half = kSkinImageCount / 2;
    auto decodeRange = [&decoded](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) {
            decoded[i] = LoadResourceImage(SkinImageTable[i].id);
        }
    };
    std::thread helper;
    try {
        helper = std::thread(decodeRange, half, kSkinImageCount);
    } catch (const std::system_error&) {
        decodeRange(half, kSkinImageCount);  // no thread to be had: decode it here
    }
    decodeRange(0, half);
    if (helper.joinable()) {
        helper.join();
    }
    for (std::size_t i = 0; i < kSkinImageCount; ++i) {
        if (decoded[i] != nullptr) {
            state.images.emplace(SkinImageTable[i].name, decoded[i]);
        }
    }
}

Gdiplus::Image* FindSkinImage(const wchar_t* name) {
    Registry& state = registry();
    if (name == nullptr || !state.ready) {
        return nullptr;
    }
    LockGuard guard(state.lock);
    auto found = state.images.find(std::wstring_view(name));
    return found != state.images.end() ? found->second : nullptr;
}

void ReleaseSkinImages() {
    Registry& state = registry();
    if (!state.ready) {
        return;
    }
    {
        LockGuard guard(state.lock);
        state.images.clear();
    }
    ::DeleteCriticalSection(&state.lock);
    state.ready = false;
}

std::size_t SkinImageCount() {
    Registry& state = registry();
    if (!state.ready) {
        return 0;
    }
    LockGuard guard(state.lock);
    return state.images.size();
}
