// Prints the compressed size of the skin and how long decoding it takes in-process:
//   skinbench.exe [runs]
// "create" is the registry's own work at start-up (one image object per resource); "first
// draw" adds drawing every image once, which is where a lazy decoder does the real decoding.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "skin/SkinImages.h"
#include "skin/core/SkinImageTable.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct Run {
    double create = 0;
    double draw = 0;
    int missing = 0;
    std::vector<std::pair<double, const SkinImageRow*>> perImage;
};

Run DecodeAll() {
    Run run;
    std::vector<std::unique_ptr<Gdiplus::Image>> images;
    const double start = Now();
    for (const SkinImageRow& row : SkinImageTable) {
        const double before = Now();
        images.emplace_back(LoadResourceImage(row.id));
        run.perImage.emplace_back(Now() - before, &row);
        if (!images.back()) {
            ++run.missing;
        }
    }
    run.create = Now() - start;
    Gdiplus::Bitmap target(800, 328, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics g(&target);
        for (const auto& image : images) {
            if (image) {
                g.DrawImage(image.get(), 0, 0, static_cast<INT>(image->GetWidth()),
                            static_cast<INT>(image->GetHeight()));
            }
        }
    }
    run.draw = Now() - start;
    return run;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 2;
    }
    unsigned long long bytes = 0;
    HMODULE self = ::GetModuleHandleW(nullptr);
    for (const SkinImageRow& row : SkinImageTable) {
        if (HRSRC res = ::FindResourceW(self, MAKEINTRESOURCEW(row.id), L"RES_PNG")) {
            bytes += ::SizeofResource(self, res);
        }
    }
    std::printf("skin: %zu images, %llu bytes compressed (%.2f MB)\n", kSkinImageCount, bytes,
                static_cast<double>(bytes) / (1024.0 * 1024.0));

    DecodeAll();  // warm-up: loads the codecs
    std::vector<double> create, draw;
    int missing = 0;
    Run last;
    for (int i = 0; i < runs; ++i) {
        last = DecodeAll();
        create.push_back(last.create);
        draw.push_back(last.draw);
        missing = last.missing;
    }
    std::printf("create all images:          median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                Median(create), *std::min_element(create.begin(), create.end()),
                *std::max_element(create.begin(), create.end()), runs);
    std::printf("create and first draw:      median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                Median(draw), *std::min_element(draw.begin(), draw.end()),
                *std::max_element(draw.begin(), draw.end()), runs);

    std::sort(last.perImage.begin(), last.perImage.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    double largest = 0;
    std::printf("slowest to create (last run):");
    for (size_t i = 0; i < 7 && i < last.perImage.size(); ++i) {
        std::printf(" %d:%.1fms", last.perImage[i].second->id, last.perImage[i].first);
        largest += last.perImage[i].first;
    }
    std::printf("\n  (the seven together %.1f ms)\n", largest);

    const double start = Now();
    LoadSkinImages();
    const double registry = Now() - start;
    std::printf("LoadSkinImages (registry):  %.1f ms, %zu images registered, %d missing\n",
                registry, SkinImageCount(), missing);
    Gdiplus::GdiplusShutdown(token);
    ReleaseSkinImages();
    return missing == 0 && SkinImageCount() == 0 ? 0 : 1;
}
