// The skin image registry against the real resources, under GDI+ (run under Wine).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "skin/SkinImages.h"
#include "skin/core/SkinImageTable.h"

namespace {

using Size = std::pair<UINT, UINT>;

// The pixel sizes of the skin images, by resource id, as the program's layout expects them.
Size ExpectedSize(int id) {
    auto in = [id](int first, int last) { return id >= first && id <= last; };
    if (id == 129 || id == 140 || id == 300 || id == 249 || id == 250)
        return {380, 328};
    if (id == 141 || id == 142)
        return {800, 328};
    if (in(154, 159))
        return {23, 19};
    if (in(146, 151))
        return {82, 25};
    if (id == 145 || id == 152 || id == 153)
        return {63, 25};
    if (id == 138 || id == 139)
        return {70, 26};
    if (in(251, 254))
        return {268, 178};
    if (in(160, 248) || in(264, 272) || in(284, 289))
        return {98, 17};
    if (id == 297 || id == 298)
        return {99, 145};
    if (in(291, 296))
        return {265, 18};
    if (id == 283)
        return {264, 328};
    if (id == 278 || id == 279)
        return {20, 21};
    if (in(280, 282))
        return {14, 14};
    if (in(273, 275))
        return {10, 10};
    if (in(255, 257))
        return {18, 10};
    if (in(258, 260))
        return {18, 17};
    if (in(261, 263))
        return {182, 23};
    if (id == 276)
        return {30, 15};
    if (id == 277)
        return {72, 15};
    if (in(303, 305))
        return {30, 12};
    if (id == 290)
        return {23, 80};
    if (id == 302)
        return {100, 7};
    if (id == 301)
        return {180, 18};
    if (id == 306)
        return {300, 132};
    if (in(307, 312))
        return {98, 25};
    return {0, 0};
}

// The image drawn 1:1 into a 32-bit bitmap of its own size, as ARGB pixels.
std::vector<Gdiplus::ARGB> Pixels(Gdiplus::Image* image) {
    image = DecodedSkinImage(image);
    const UINT w = image->GetWidth();
    const UINT h = image->GetHeight();
    Gdiplus::Bitmap target(static_cast<INT>(w), static_cast<INT>(h), PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&target);
        g.DrawImage(image, Gdiplus::Rect(0, 0, static_cast<INT>(w), static_cast<INT>(h)), 0, 0,
                    static_cast<INT>(w), static_cast<INT>(h), Gdiplus::UnitPixel);
    }
    std::vector<Gdiplus::ARGB> out;
    for (UINT y = 0; y < h; ++y) {
        for (UINT x = 0; x < w; ++x) {
            Gdiplus::Color c;
            target.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &c);
            out.push_back(c.GetValue());
        }
    }
    return out;
}

class SkinRegistry : public ::testing::Test {
  protected:
    void SetUp() override { LoadSkinImages(); }
    void TearDown() override { ReleaseSkinImages(); }
};

TEST_F(SkinRegistry, FindsEveryNameOfTheTableWithItsPixelSize) {
    EXPECT_EQ(SkinImageCount(), kSkinImageCount);
    for (const SkinImageRow& row : SkinImageTable) {
        Gdiplus::Image* image = FindSkinImage(row.name);
        ASSERT_NE(image, nullptr) << row.id;
        const Size expected = ExpectedSize(row.id);
        // The size is known before the pixels are decoded, and the decoded pixels agree.
        int width = 0;
        int height = 0;
        ASSERT_TRUE(SkinImageSize(image, width, height)) << row.id;
        EXPECT_EQ(static_cast<UINT>(width), expected.first) << row.id;
        EXPECT_EQ(static_cast<UINT>(height), expected.second) << row.id;
        ASSERT_EQ(DecodedSkinImage(image), image) << row.id;
        EXPECT_EQ(image->GetWidth(), expected.first) << row.id;
        EXPECT_EQ(image->GetHeight(), expected.second) << row.id;
        EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok) << row.id;
    }
}

TEST_F(SkinRegistry, PicturesAreDecodedInPlaceOnFirstUseOnly) {
    // Registering decodes nothing: a picture nobody has drawn has no pixels yet.
    Gdiplus::Image* held = FindSkinImage(L"MainDlg_BKALL");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->GetWidth(), 0u);
    held->GetLastStatus();
    int width = 0;
    int height = 0;
    EXPECT_TRUE(SkinImageSize(held, width, height));
    EXPECT_EQ(held->GetWidth(), 0u) << "a size query decoded the picture";
    held->GetLastStatus();
    // The first use decodes it where it is: the pointer a control keeps now has the pixels.
    EXPECT_EQ(DecodedSkinImage(held), held);
    EXPECT_EQ(held->GetWidth(), 800u);
    EXPECT_EQ(held->GetHeight(), 328u);
    EXPECT_EQ(FindSkinImage(L"MainDlg_BKALL"), held);
    const std::unique_ptr<Gdiplus::Image> own(LoadResourceImage(141));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Pixels(held), Pixels(own.get()));
    // Other pictures are still not decoded.
    Gdiplus::Image* other = FindSkinImage(L"SUBBKHARDWARE");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->GetWidth(), 0u);
    other->GetLastStatus();
}

TEST_F(SkinRegistry, PrefetchedPicturesArriveWhileOtherLookupsGoOn) {
    // Every picture on the prefetch thread while this thread uses them in the same order, so
    // that it keeps asking for the one being decoded: each is decoded once, to the same pixels
    // as its own resource gives.
    std::vector<const wchar_t*> names;
    for (const SkinImageRow& row : SkinImageTable) {
        names.push_back(row.name);
    }
    names.push_back(L"NoSuchPicture");
    names.push_back(nullptr);
    PrefetchSkinImages(names);
    for (const SkinImageRow& row : SkinImageTable) {
        Gdiplus::Image* image = FindSkinImage(row.name);
        ASSERT_EQ(DecodedSkinImage(image), image) << row.id;
        EXPECT_EQ(image->GetWidth(), ExpectedSize(row.id).first) << row.id;
        EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok) << row.id;
    }
    FinishSkinPrefetch();
    for (const wchar_t* name : {L"RbtnBack", L"LeftBk_Res", L"WaitBtnGif"}) {
        Gdiplus::Image* image = FindSkinImage(name);
        const SkinImageRow* row = FindSkinImageRow(name);
        ASSERT_NE(row, nullptr) << name;
        const std::unique_ptr<Gdiplus::Image> own(LoadResourceImage(row->id));
        ASSERT_NE(own, nullptr) << name;
        EXPECT_EQ(Pixels(image), Pixels(own.get())) << name;
    }
}

TEST_F(SkinRegistry, AFinishedPrefetchLeavesTheRestToFirstUse) {
    const wchar_t* names[] = {L"MainDlg_BKALL", L"SUBBKHARDWARE", L"RbtnBack"};
    PrefetchSkinImages(names);
    FinishSkinPrefetch();  // at once: at most the picture already started is decoded
    FinishSkinPrefetch();
    for (const wchar_t* name : names) {
        Gdiplus::Image* image = FindSkinImage(name);
        ASSERT_EQ(DecodedSkinImage(image), image) << name;
        EXPECT_GT(image->GetWidth(), 0u) << name;
    }
    // A fresh load may start another.
    ReleaseSkinImages();
    LoadSkinImages();
    PrefetchSkinImages(names);
    EXPECT_GT(DecodedSkinImage(FindSkinImage(L"RbtnBack"))->GetWidth(), 0u);
}

TEST_F(SkinRegistry, APrefetchAfterTheFirstEndedDecodesThePicturesLookedUpAndNoOthers) {
    const auto waitIdle = [] {
        for (int i = 0; i < 1000 && !SkinPrefetchIdle(); ++i) {
            ::Sleep(10);
        }
        return SkinPrefetchIdle();
    };
    const wchar_t* first[] = {L"RbtnBack"};
    PrefetchSkinImages(first);
    ASSERT_TRUE(waitIdle());
    // What a page looks up when it is made.
    Gdiplus::Image* page = FindSkinImage(L"SUBBK3");
    Gdiplus::Image* control = FindSkinImage(L"CONTROL_B1");
    ASSERT_NE(page, nullptr);
    ASSERT_NE(control, nullptr);
    PrefetchLookedUpSkinImages();
    ASSERT_TRUE(waitIdle());
    // Read without DecodedSkinImage: a picture nobody decoded is still the empty stand-in.
    EXPECT_EQ(page->GetWidth(), 268u);
    EXPECT_EQ(control->GetWidth(), 182u);
    Gdiplus::Image* later = FindSkinImage(L"Setdlg_BK");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->GetWidth(), 0u);
    later->GetLastStatus();
    // Its first use decodes it.
    EXPECT_EQ(DecodedSkinImage(later)->GetWidth(), 264u);
    FinishSkinPrefetch();
}

TEST_F(SkinRegistry, ImagesFromElsewherePassThroughUntouched) {
    std::unique_ptr<Gdiplus::Image> own(LoadResourceImage(284));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(DecodedSkinImage(own.get()), own.get());
    EXPECT_EQ(DecodedSkinImage(nullptr), nullptr);
    int width = 0;
    int height = 0;
    EXPECT_FALSE(SkinImageSize(nullptr, width, height));
    ASSERT_TRUE(SkinImageSize(own.get(), width, height));
    EXPECT_EQ(width, 98);
    EXPECT_EQ(height, 17);
}

TEST_F(SkinRegistry, NamesAreComparedExactly) {
    Gdiplus::Image* ok = FindSkinImage(L"Setdlg_OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(FindSkinImage(L"setdlg_ok"), nullptr);
    EXPECT_EQ(FindSkinImage(L"SETDLG_OK"), nullptr);
    EXPECT_EQ(FindSkinImage(L"Setdlg_OK "), nullptr);
    // A Chinese name finds its own picture, and one letter more is another picture.
    Gdiplus::Image* label = FindSkinImage(L"显卡名称");
    Gdiplus::Image* hovered = FindSkinImage(L"显卡名称M");
    ASSERT_NE(label, nullptr);
    ASSERT_NE(hovered, nullptr);
    const std::unique_ptr<Gdiplus::Image> own(LoadResourceImage(224));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Pixels(label), Pixels(own.get()));
    EXPECT_NE(Pixels(hovered), Pixels(own.get()));
}

TEST_F(SkinRegistry, NameFindsThePictureOfItsOwnResource) {
    std::unique_ptr<Gdiplus::Image> fromResource(LoadResourceImage(284));
    ASSERT_NE(fromResource, nullptr);
    EXPECT_EQ(Pixels(FindSkinImage(L"Setdlg_OK")), Pixels(fromResource.get()));
    EXPECT_NE(Pixels(FindSkinImage(L"Setdlg_OK_M")), Pixels(fromResource.get()));
}

TEST_F(SkinRegistry, NullAndUnknownNamesFindNothingAndInsertNothing) {
    EXPECT_EQ(FindSkinImage(nullptr), nullptr);
    EXPECT_EQ(FindSkinImage(L""), nullptr);
    EXPECT_EQ(FindSkinImage(L"NoSuchImage"), nullptr);
    EXPECT_EQ(FindSkinImage(L"NoSuchImage"), nullptr);
    EXPECT_EQ(SkinImageCount(), kSkinImageCount);
}

TEST_F(SkinRegistry, WaitAnimationHasThirtyFrames) {
    Gdiplus::Image* gif = DecodedSkinImage(FindSkinImage(L"WaitBtnGif"));
    ASSERT_NE(gif, nullptr);
    const UINT dimensions = gif->GetFrameDimensionsCount();
    ASSERT_GE(dimensions, 1u);
    std::vector<GUID> ids(dimensions);
    ASSERT_EQ(gif->GetFrameDimensionsList(ids.data(), dimensions), Gdiplus::Ok);
    EXPECT_EQ(gif->GetFrameCount(&ids[0]), 30u);

    // Frames really differ: the light moves.
    ASSERT_EQ(gif->SelectActiveFrame(&Gdiplus::FrameDimensionTime, 3), Gdiplus::Ok);
    const auto third = Pixels(gif);
    ASSERT_EQ(gif->SelectActiveFrame(&Gdiplus::FrameDimensionTime, 15), Gdiplus::Ok);
    EXPECT_NE(Pixels(gif), third);
}

TEST_F(SkinRegistry, ReleaseEmptiesAndAFreshLoadRefills) {
    ReleaseSkinImages();
    EXPECT_EQ(FindSkinImage(L"RbtnBack"), nullptr);
    EXPECT_EQ(SkinImageCount(), 0u);
    ReleaseSkinImages();  // a second release is harmless
    LoadSkinImages();
    EXPECT_NE(FindSkinImage(L"RbtnBack"), nullptr);
    LoadSkinImages();  // a second load keeps the registry as it is
    EXPECT_EQ(SkinImageCount(), kSkinImageCount);
}

TEST(SkinRegistryLifetime, LookupsOutsideTheLoadedLifetimeFindNothing) {
    EXPECT_EQ(FindSkinImage(L"RbtnBack"), nullptr);
    EXPECT_EQ(SkinImageCount(), 0u);
}

TEST(ResourceImageLoader, MissingAndEmptyResourcesGiveNoImage) {
    EXPECT_EQ(LoadResourceImage(9001), nullptr);
    EXPECT_EQ(LoadResourceImage(9003), nullptr);
    EXPECT_EQ(LoadResourceImage(0), nullptr);
}

TEST(ResourceImageLoader, UndecodableBytesStillGiveAnImageWithCleanStatus) {
    std::unique_ptr<Gdiplus::Image> image(LoadResourceImage(9002));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    // Drawing it over an opaque picture leaves every pixel as it was, and fails quietly.
    constexpr Gdiplus::ARGB kBackground = 0xFF336699;
    Gdiplus::Bitmap target(4, 4, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&target);
        g.Clear(Gdiplus::Color(kBackground));
        g.DrawImage(image.get(), 0, 0, 4, 4);
    }
    for (INT y = 0; y < 4; ++y) {
        for (INT x = 0; x < 4; ++x) {
            Gdiplus::Color c;
            target.GetPixel(x, y, &c);
            EXPECT_EQ(c.GetValue(), kBackground) << x << "," << y;
        }
    }
}

TEST(ResourceImageLoader, FallsBackToABitmapResourceOfTheSameId) {
    std::unique_ptr<Gdiplus::Image> image(LoadResourceImage(9004));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
}

// The program itself carries exactly the table's images, in Chinese (PRC).
BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
    auto* ids = reinterpret_cast<std::vector<std::uintptr_t>*>(out);
    ids->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<std::uintptr_t>(name) : 0);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
    reinterpret_cast<std::set<WORD>*>(out)->insert(language);
    return TRUE;
}

TEST(ProgramResources, VelmoraExeHoldsExactlyTheTablesImagesInChinese) {
    HMODULE exe = ::LoadLibraryExW(L"Velmora.exe", nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "Velmora.exe beside the test";
    std::vector<std::uintptr_t> ids;
    ::EnumResourceNamesW(exe, L"RES_PNG", CollectName, reinterpret_cast<LONG_PTR>(&ids));
    std::set<std::uintptr_t> found(ids.begin(), ids.end());
    std::set<std::uintptr_t> expected;
    for (const SkinImageRow& row : SkinImageTable) {
        expected.insert(row.id);
    }
    EXPECT_EQ(ids.size(), kSkinImageCount);
    EXPECT_EQ(found, expected);
    for (std::uintptr_t id : found) {
        std::set<WORD> languages;
        ::EnumResourceLanguagesW(exe, L"RES_PNG", MAKEINTRESOURCEW(id), CollectLanguage,
                                 reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::set<WORD>{MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)})
            << id;
    }
    ::FreeLibrary(exe);
}

TEST(ProgramResources, VelmoraExeHoldsTheDialogsStringAndIcon) {
    HMODULE exe = ::LoadLibraryExW(L"Velmora.exe", nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    for (int id : {102, 105, 106, 107, 108, 109, 110, 111}) {
        EXPECT_NE(::FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr) << id;
    }
    EXPECT_NE(::FindResourceW(exe, MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14)), nullptr);
    wchar_t text[64] = {};
    EXPECT_GT(::LoadStringW(exe, 101, text, 64), 0);
    EXPECT_STREQ(text, L"关于 Talvane(&A)...");
    ::FreeLibrary(exe);
}

}  // namespace
