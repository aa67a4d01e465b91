#include "skin/SkinImages.h"

#include <objbase.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/Handles.h"

#include "skin/core/ImageHeader.h"
#include "skin/core/SkinImageTable.h"

namespace {

constexpr const wchar_t* kSkinResourceType = L"RES_PNG";

// A registered picture whose pixels are not decoded yet: its resource bytes (mapped as long as
// the executable) and the size its header states.
struct PendingPicture {
    const void* bytes = nullptr;
    DWORD size = 0;
    std::optional<skin::ImageSize> headerSize;
    // Whether anybody looked the picture up: the pages look up what they draw when they are made.
    bool lookedUp = false;
};

// The registry state. The lock exists only while `ready` is set: lookups before loading or
// after release find nothing instead of entering a critical section that does not exist.
// Every image is an object from the start; `pending` holds those not decoded yet.
struct Registry {
    CRITICAL_SECTION lock{};
    bool ready = false;
    std::map<std::wstring, Gdiplus::Image*, std::less<>> images;
    std::unordered_map<Gdiplus::Image*, PendingPicture> pending;
    // Pending pictures the prefetch thread is decoding, outside the lock; whoever needs one of
    // them waits on `decodedOne` until it is done.
    std::unordered_set<Gdiplus::Image*> decoding;
    CONDITION_VARIABLE decodedOne = CONDITION_VARIABLE_INIT;
    // The prefetch thread's work, taken from the front, and its handle.
    std::vector<Gdiplus::Image*> prefetchQueue;
    fw::KernelHandle prefetchThread;
    // The thread takes queued pictures; it clears this, under the lock, when it finds none left.
    bool prefetchRunning = false;
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

// Copies the resource bytes into a fixed global block; the caller frees it, if ever (see
// StreamOverCopy).
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

// Creates an image object from a stream (or, for a null stream, an empty one that draws
// nothing) at `memory`, and clears the status the construction left. The memory comes from
// GdipAlloc, as the GDI+ classes expect for their `delete`.
Gdiplus::Image* ConstructImage(void* memory, IStream* stream) {
    auto* image = ::new (memory) Gdiplus::Image(stream, FALSE);
    image->GetLastStatus();  // reading the status clears it
    return image;
}

Gdiplus::Image* CreateImage(IStream* stream) {
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Image));
    return memory != nullptr ? ConstructImage(memory, stream) : nullptr;
}

// The bytes of the "RES_PNG" resource (or the bitmap resource) of that id; false when there is
// none, it is empty or it cannot be loaded.
bool FindResourceBytes(WORD id, const void*& bytes, DWORD& size) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), kSkinResourceType);
    if (resource == nullptr) {
        resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    }
    if (resource == nullptr) {
        return false;
    }
    size = ::SizeofResource(module, resource);
    if (size == 0) {
        return false;
    }
    HGLOBAL loaded = ::LoadResource(module, resource);
    bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    return bytes != nullptr;
}

// A stream over a copy of the bytes in a fixed global block that the stream does not free: an
// image made from the stream may read it lazily for as long as it lives, so the block is freed
// only once no image reads it (DecodeInPlace); null when the memory or the stream cannot be had.
IStream* StreamOverCopy(const void* bytes, DWORD size) {
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
    ::GlobalUnlock(block);
    return stream;
}

static_assert(sizeof(Gdiplus::Bitmap) == sizeof(Gdiplus::Image));

// True for a still picture; an animation keeps its frames in the decoded image only.
bool HasOneFrame(Gdiplus::Image& image) {
    GUID dimension{};
    return image.GetFrameDimensionsCount() == 1 &&
           image.GetFrameDimensionsList(&dimension, 1) == Gdiplus::Ok &&
           image.GetFrameCount(&dimension) == 1;
}

// Copies the decoded picture's pixels, as 32-bit ARGB, into a new bitmap in the storage of
// `image` (a bitmap is an image object of the same size). False when either side's pixels cannot
// be had; `image` is then still a valid object, to be made anew.
bool CopyPixelsInPlace(Gdiplus::Image* image, Gdiplus::Bitmap& decoded) {
    const auto width = static_cast<INT>(decoded.GetWidth());
    const auto height = static_cast<INT>(decoded.GetHeight());
    const Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData pixels{};
    if (width <= 0 || height <= 0 ||
        decoded.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &pixels) !=
            Gdiplus::Ok) {
        return false;
    }
    image->~Image();
    auto* copy = ::new (image) Gdiplus::Bitmap(width, height, PixelFormat32bppARGB);
    const bool copied =
        copy->GetLastStatus() == Gdiplus::Ok &&
        copy->LockBits(&area, Gdiplus::ImageLockModeWrite | Gdiplus::ImageLockModeUserInputBuf,
                       PixelFormat32bppARGB, &pixels) == Gdiplus::Ok &&
        copy->UnlockBits(&pixels) == Gdiplus::Ok;
    decoded.UnlockBits(&pixels);
    return copied;
}

// Decodes a pending picture into its own image object, in place: every holder of the pointer
// sees the pixels from now on. A picture that cannot be decoded stays an empty image. The object
// keeps a copy of a still picture's pixels, not the decoded image: that one keeps its decoder,
// and with it a second copy of every pixel (Wine's GDI+), and its stream for as long as it lives.
// The copy needs neither, so the stream's block is freed with it.
void DecodeInPlace(Gdiplus::Image* image, const PendingPicture& picture) {
    IStream* stream = StreamOverCopy(picture.bytes, picture.size);
    if (stream == nullptr) {
        return;
    }
    bool copied = false;
    {
        Gdiplus::Bitmap decoded(stream, FALSE);
        copied = decoded.GetLastStatus() == Gdiplus::Ok && HasOneFrame(decoded) &&
                 CopyPixelsInPlace(image, decoded);
    }
    HGLOBAL block = nullptr;
    if (!copied) {
        image->~Image();
        ConstructImage(image, stream);  // it keeps the stream, and so the block, for good
    } else if (FAILED(::GetHGlobalFromStream(stream, &block))) {
        block = nullptr;
    }
    stream->Release();
    if (block != nullptr) {
        ::GlobalFree(block);
    }
}

// The next queued picture that is still pending and not being decoded, marked as being decoded;
// null when the queue is done. Called under the lock.
Gdiplus::Image* TakeQueuedPicture(Registry& state, PendingPicture& picture) {
    while (!state.prefetchQueue.empty()) {
        Gdiplus::Image* image = state.prefetchQueue.front();
        state.prefetchQueue.erase(state.prefetchQueue.begin());
        auto found = state.pending.find(image);
        if (found != state.pending.end() && state.decoding.insert(image).second) {
            picture = found->second;
            return image;
        }
    }
    return nullptr;
}

DWORD WINAPI PrefetchThread(void*) {
    // GDI+ may reach the codecs through COM; this thread has no apartment of its own otherwise.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Registry& state = registry();
    for (;;) {
        PendingPicture picture;
        Gdiplus::Image* image = nullptr;
        {
            LockGuard guard(state.lock);
            image = TakeQueuedPicture(state, picture);
            if (image == nullptr) {
                state.prefetchRunning = false;  // pictures queued from now on need a new thread
                break;
            }
        }
        // Nobody touches the object meanwhile: every use goes through DecodedSkinImage, which
        // waits while the picture is marked as being decoded.
        DecodeInPlace(image, picture);
        {
            LockGuard guard(state.lock);
            state.pending.erase(image);
            state.decoding.erase(image);
        }
        ::WakeAllConditionVariable(&state.decodedOne);
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return 0;
}

}  // namespace

Gdiplus::Image* LoadResourceImage(WORD id) {
    const void* bytes = nullptr;
    DWORD size = 0;
    if (!FindResourceBytes(id, bytes, size)) {
        return nullptr;
    }
    IStream* stream = StreamOverCopy(bytes, size);
    if (stream == nullptr) {
        return nullptr;
    }
    Gdiplus::Image* image = CreateImage(stream);
    stream->Release();
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
    // Only the objects are made here; each picture is decoded when it is first drawn, so
    // start-up pays for the pictures of the first frame and no more.
    for (const SkinImageRow& row : SkinImageTable) {
        PendingPicture picture;
        if (!FindResourceBytes(row.id, picture.bytes, picture.size)) {
            continue;
        }
        Gdiplus::Image* image = CreateImage(nullptr);
        if (image == nullptr) {
            continue;
        }
        picture.headerSize =
            skin::ReadImageSize(static_cast<const std::uint8_t*>(picture.bytes), picture.size);
        state.images.emplace(row.name, image);
        state.pending.emplace(image, picture);
    }
}

Gdiplus::Image* DecodedSkinImage(Gdiplus::Image* image) {
    Registry& state = registry();
    if (image == nullptr || !state.ready) {
        return image;
    }
    LockGuard guard(state.lock);
    while (state.decoding.count(image) != 0) {
        ::SleepConditionVariableCS(&state.decodedOne, &state.lock, INFINITE);
    }
    auto found = state.pending.find(image);
    if (found != state.pending.end()) {
        DecodeInPlace(image, found->second);
        state.pending.erase(found);
    }
    return image;
}

namespace {

// Queues the pictures; a thread that still runs takes them, otherwise a new one starts (after
// the one that ended is joined). Without a thread they are simply decoded when first drawn.
void Prefetch(const std::vector<Gdiplus::Image*>& images) {
    Registry& state = registry();
    {
        LockGuard guard(state.lock);
        state.prefetchQueue.insert(state.prefetchQueue.end(), images.begin(), images.end());
        if (state.prefetchRunning || state.prefetchQueue.empty()) {
            return;
        }
        state.prefetchRunning = true;
    }
    if (state.prefetchThread) {
        // It has left its loop: the wait is for its last few instructions.
        ::WaitForSingleObject(state.prefetchThread.get(), INFINITE);
    }
    state.prefetchThread.reset(::CreateThread(nullptr, 0, &PrefetchThread, nullptr, 0, nullptr));
    if (!state.prefetchThread) {
        LockGuard guard(state.lock);
        state.prefetchRunning = false;
    }
}

}  // namespace

void PrefetchSkinImages(std::span<const wchar_t* const> names) {
    if (!registry().ready) {
        return;
    }
    std::vector<Gdiplus::Image*> images;
    for (const wchar_t* name : names) {
        if (Gdiplus::Image* image = FindSkinImage(name)) {
            images.push_back(image);
        }
    }
    Prefetch(images);
}

void PrefetchLookedUpSkinImages() {
    Registry& state = registry();
    if (!state.ready) {
        return;
    }
    std::vector<Gdiplus::Image*> images;
    {
        LockGuard guard(state.lock);
        for (const SkinImageRow& row : SkinImageTable) {
            const auto named = state.images.find(std::wstring_view(row.name));
            if (named == state.images.end()) {
                continue;
            }
            const auto found = state.pending.find(named->second);
            if (found != state.pending.end() && found->second.lookedUp) {
                images.push_back(named->second);
            }
        }
    }
    Prefetch(images);
}

bool SkinPrefetchIdle() {
    Registry& state = registry();
    if (!state.ready) {
        return true;
    }
    LockGuard guard(state.lock);
    return !state.prefetchRunning;
}

void FinishSkinPrefetch() {
    Registry& state = registry();
    if (!state.ready || !state.prefetchThread) {
        return;
    }
    {
        LockGuard guard(state.lock);
        state.prefetchQueue.clear();  // a picture being decoded is finished
    }
    ::WaitForSingleObject(state.prefetchThread.get(), INFINITE);
    state.prefetchThread.reset();
    state.prefetchRunning = false;
}

bool SkinImageSize(Gdiplus::Image* image, int& width, int& height) {
    if (image == nullptr) {
        return false;
    }
    Registry& state = registry();
    if (state.ready) {
        LockGuard guard(state.lock);
        auto found = state.pending.find(image);
        if (found != state.pending.end() && found->second.headerSize) {
            width = found->second.headerSize->width;
            height = found->second.headerSize->height;
            return true;
        }
    }
    DecodedSkinImage(image);
    width = static_cast<int>(image->GetWidth());
    height = static_cast<int>(image->GetHeight());
    return image->GetLastStatus() == Gdiplus::Ok;
}

Gdiplus::Image* FindSkinImage(const wchar_t* name) {
    Registry& state = registry();
    if (name == nullptr || !state.ready) {
        return nullptr;
    }
    LockGuard guard(state.lock);
    auto found = state.images.find(std::wstring_view(name));
    if (found == state.images.end()) {
        return nullptr;
    }
    if (const auto picture = state.pending.find(found->second); picture != state.pending.end()) {
        picture->second.lookedUp = true;
    }
    return found->second;
}

void ReleaseSkinImages() {
    Registry& state = registry();
    if (!state.ready) {
        return;
    }
    FinishSkinPrefetch();
    {
        LockGuard guard(state.lock);
        state.images.clear();
        state.pending.clear();
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
