#include "display/core/DisplayModes.h"

namespace display {
namespace {

constexpr std::array<std::wstring_view, 10> kResolutionTexts = {
    L"1680\u00D71050", L"1440\u00D7900", L"1400\u00D71050", L"1360\u00D7768", L"1280\u00D71024",
    L"1280\u00D7960",  L"1280\u00D7800", L"1280\u00D7768",  L"1024\u00D7768", L"800\u00D7600"};
constexpr std::array<std::wstring_view, 2> kColourTexts = {L"高品质", L"一般品质"};
constexpr std::array<std::wstring_view, 4> kRefreshTexts = {L"60", L"75", L"85", L"100"};
constexpr std::array<std::wstring_view, 4> kRotationTexts = {L"横向", L"纵向", L"横向旋转",
                                                             L"纵向旋转"};

// Page coordinates of the list.
constexpr int kPickLeft = 35;
constexpr int kPickRight = 130;
constexpr int kPickTop = 29;
constexpr int kTextCentre = 73;
constexpr int kCharacterWidth = 7;

template <std::size_t N>
std::wstring_view At(const std::array<std::wstring_view, N>& texts, int index) {
    return index >= 0 && index < static_cast<int>(N) ? texts[static_cast<std::size_t>(index)]
                                                     : std::wstring_view();
}

}  // namespace

int ChoiceCount(int category) {
    switch (category) {
        case kResolution:
            return static_cast<int>(kResolutions.size());
        case kColourQuality:
            return static_cast<int>(kColourTexts.size());
        case kRefreshRate:
            return static_cast<int>(kRefreshRatesHz.size());
        case kRotation:
            return static_cast<int>(kRotationTexts.size());
        default:
            return 0;
    }
}

std::wstring_view ChoiceText(int category, int index) {
    switch (category) {
        case kResolution:
            return At(kResolutionTexts, index);
        case kColourQuality:
            return At(kColourTexts, index);
        case kRefreshRate:
            return At(kRefreshTexts, index);
        case kRotation:
            return At(kRotationTexts, index);
        default:
            return {};
    }
}

int LoadedIndex(int category, int stored) {
    return stored >= 0 && stored < ChoiceCount(category) ? stored : 0;
}

int BitsPerPixel(int colourIndex) {
    return colourIndex == 0 ? 32 : 16;
}

int RotationCode(int rotationIndex) {
    return rotationIndex >= 1 && rotationIndex <= 3 ? rotationIndex : 0;
}

std::optional<ScreenSize> ResolutionAt(int index) {
    if (index < 0 || index >= static_cast<int>(kResolutions.size())) {
        return std::nullopt;
    }
    return kResolutions[static_cast<std::size_t>(index)];
}

std::optional<int> RefreshRateAt(int index) {
    if (index < 0 || index >= static_cast<int>(kRefreshRatesHz.size())) {
        return std::nullopt;
    }
    return kRefreshRatesHz[static_cast<std::size_t>(index)];
}

int ResolutionPage(int index) {
    return index < kRowsPerPage ? 0 : 1;
}

int IndexOnPage(int index, int page) {
    const int row = ((index % kRowsPerPage) + kRowsPerPage) % kRowsPerPage;
    return row + (page == 0 ? 0 : kRowsPerPage);
}

ShownRows RowsShown(int category, int resolutionIndex) {
    if (category == kResolution) {
        return {ResolutionPage(resolutionIndex) * kRowsPerPage, kRowsPerPage};
    }
    return {0, ChoiceCount(category)};
}

int SelectionRow(int category, int index) {
    return category == kResolution ? ((index % kRowsPerPage) + kRowsPerPage) % kRowsPerPage : index;
}

int TextX(int textLength) {
    return kTextCentre - (textLength * kCharacterWidth) / 2;
}

std::optional<int> PickedIndex(int category, int x, int y, int resolutionPage) {
    if (x <= kPickLeft || x >= kPickRight || y <= kPickTop) {
        return std::nullopt;
    }
    const int row = (y - kPickTop) / kRowHeight;
    if (category == kResolution) {
        return row < kRowsPerPage ? std::optional<int>(row + resolutionPage * kRowsPerPage)
                                  : std::nullopt;
    }
    return row < ChoiceCount(category) ? std::optional<int>(row) : std::nullopt;
}

}  // namespace display
