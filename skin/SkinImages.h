// The skin image registry: every picture of the user interface, decoded once at start-up from
// the executable's "RES_PNG" resources and found by its exact (case-sensitive) name.
#pragma once

#include <windows.h>

#include <cstddef>

#include "skin/GdiplusFwd.h"

// Decodes every image of the table into the registry. Call once, after GDI+ has started; a
// second call while the registry is filled does nothing.
void LoadSkinImages();
// The image registered under exactly this name, or null (also for a null name, and before
// LoadSkinImages or after ReleaseSkinImages). Never inserts.
Gdiplus::Image* FindSkinImage(const wchar_t* name);
// Empties the registry and deletes its lock. Makes no GDI+ call (GDI+ is already shut down), so
// the image objects and their memory stay allocated until the process ends.
void ReleaseSkinImages();
// How many images the registry holds.
std::size_t SkinImageCount();
// Decodes one "RES_PNG" resource (or a bitmap resource of the same id) of this executable. A
// resource that does not decode still yields an image object, with its last status reset to Ok.
Gdiplus::Image* LoadResourceImage(WORD id);
