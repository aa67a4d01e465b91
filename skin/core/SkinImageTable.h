// The compiled-in table of skin images: which "RES_PNG" resource holds the picture of each name.
// Pure data and lookups, shared by the registry, its tests and the skin benchmark.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct SkinImageRow {
    std::uint16_t id;     // integer resource id of type "RES_PNG"
    const wchar_t* name;  // registry name, unique, compared exactly (case-sensitive)
};

inline constexpr std::size_t kSkinImageCount = 171;

// Every skin image, in registration order.
extern const std::array<SkinImageRow, kSkinImageCount> SkinImageTable;

// The row with exactly this name, or null.
const SkinImageRow* FindSkinImageRow(std::wstring_view name);
// The row with this resource id, or null.
const SkinImageRow* FindSkinImageRowById(std::uint16_t id);
