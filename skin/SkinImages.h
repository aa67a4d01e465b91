// The skin image registry: every picture of the user interface, decoded once at start-up from
// the executable's "RES_PNG" resources and found by its exact (case-sensitive) name.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Image;
}

// Decodes every image of the table into the registry. Call once, after GDI+ has started.
void LoadSkinImages();
// The image registered under exactly this name, or null (also for a null name). Never inserts.
Gdiplus::Image* FindSkinImage(const wchar_t* name);
// Empties the registry and deletes its lock. Makes no GDI+ call (GDI+ is already shut down).
void ReleaseSkinImages();
// Decodes one "RES_PNG" resource (or a bitmap resource of the same id) of this executable.
Gdiplus::Image* LoadResourceImage(WORD id);
