// The skin image registry: every picture of the user interface, registered at start-up from the
// executable's "RES_PNG" resources and found by its exact (case-sensitive) name. A picture's
// pixels are decoded when it is first drawn: call DecodedSkinImage (the drawing helpers do).
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

#include "skin/GdiplusFwd.h"

// Registers every image of the table. Call once, after GDI+ has started; a second call while
// the registry is filled does nothing.
void LoadSkinImages();
// The image registered under exactly this name, or null (also for a null name, and before
// LoadSkinImages or after ReleaseSkinImages). Never inserts.
Gdiplus::Image* FindSkinImage(const wchar_t* name);
// Starts decoding these registered pictures, in order, on a thread of their own, so that the
// first frame finds them ready; meanwhile a lookup waits only when it needs the one being decoded.
// Unknown names are skipped; without a thread the pictures are decoded when first drawn. Call
// after LoadSkinImages; a call while the thread still runs adds to its queue.
void PrefetchSkinImages(std::span<const wchar_t* const> names);
// The same for every picture looked up with FindSkinImage and not decoded yet, in the registry's
// order: once the pages are made, their pictures, decoded while the start screen waits for the
// first click. Pictures nobody asked for yet (the dialogs made later) are left for their first use.
void PrefetchLookedUpSkinImages();
// Whether no prefetch thread is at work (its queue is done, or none was started).
bool SkinPrefetchIdle();
// Drops the pictures not started yet and waits for the prefetch thread to end. Call before GDI+
// shuts down; ReleaseSkinImages calls it too.
void FinishSkinPrefetch();
// Empties the registry and deletes its lock (after FinishSkinPrefetch). Makes no GDI+ call (GDI+ is
// already shut down), so the image objects and their memory stay allocated until the process ends.
void ReleaseSkinImages();
// How many images the registry holds.
std::size_t SkinImageCount();
// The image of one "RES_PNG" resource (or a bitmap resource of the same id) of this executable,
// decoded on first use. A resource that does not decode still yields an image object, with a
// clean status; it draws nothing.
Gdiplus::Image* LoadResourceImage(WORD id);
// The image ready to draw: a registry picture is decoded in place on its first use, under the
// registry's lock (a picture that does not decode stays an empty image that draws nothing); any
// other image is returned as it is.
Gdiplus::Image* DecodedSkinImage(Gdiplus::Image* image);
// The image's pixel size: a registry picture's header tells it without decoding. False for null
// and for a picture that neither states nor decodes to a size.
bool SkinImageSize(Gdiplus::Image* image, int& width, int& height);
