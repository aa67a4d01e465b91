// The display-modes page's fixed choices and the arithmetic of its list: which rows show, where
// the selection bar and the texts sit, and which entry a click picks.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace display {

// The four categories, in the order of the item list and of the picture's quarters.
enum Category : int { kResolution = 0, kColourQuality = 1, kRefreshRate = 2, kRotation = 3 };
constexpr int kCategoryCount = 4;

struct ScreenSize {
    int width;
    int height;
};
constexpr std::array<ScreenSize, 10> kResolutions = {{{1680, 1050},
                                                      {1440, 900},
                                                      {1400, 1050},
                                                      {1360, 768},
                                                      {1280, 1024},
                                                      {1280, 960},
                                                      {1280, 800},
                                                      {1280, 768},
                                                      {1024, 768},
                                                      {800, 600}}};
constexpr std::array<int, 4> kRefreshRatesHz = {60, 75, 85, 100};
// The resolution list shows five rows a page.
constexpr int kRowsPerPage = 5;
constexpr int kRowHeight = 25;

// How many choices a category has (0 for an unknown category).
int ChoiceCount(int category);
// The text of a choice; empty outside the lists.
std::wstring_view ChoiceText(int category, int index);
// A stored index, or 0 when it is not one of the category's choices.
int LoadedIndex(int category, int stored);

// What Apply sets: 32 bits per pixel for index 0, else 16; the rotation code the driver gets
// (1–3 as they are, 0 for anything else); nothing for an unknown resolution or refresh rate.
int BitsPerPixel(int colourIndex);
int RotationCode(int rotationIndex);
std::optional<ScreenSize> ResolutionAt(int index);
std::optional<int> RefreshRateAt(int index);

// The resolution page an index is on (0 for 0–4, 1 for 5–9) and the index a paging button
// gives: the same row on the other page.
int ResolutionPage(int index);
int IndexOnPage(int index, int page);

// The rows the list shows: the indices of the current page for resolutions, all for the rest.
struct ShownRows {
    int first;
    int count;
};
ShownRows RowsShown(int category, int resolutionIndex);
// The selection bar's row for a category's selected index.
int SelectionRow(int category, int index);
// The x of a row's text in page coordinates: about centred on 73.
int TextX(int textLength);

// The index a click at page point (x, y) picks, or nothing: only 35 < x < 130 and y > 29
// count, and only rows the category has. On the resolution list the shown page decides.
std::optional<int> PickedIndex(int category, int x, int y, int resolutionPage);

}  // namespace display
