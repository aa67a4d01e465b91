#include <cstddef>

#include "skin/core/ItemListLayout.h"

namespace skin {
namespace {

// Each row: its normal faces, then the same with "D", then with "M" (row 2: "_D" and "_M").
constexpr const wchar_t* kLabels[kLabelRows][kLabelSlots] = {
    {L"GPU核心频率", L"GPU电压", L"MEM频率", L"风扇转速", L"GPU核心频率D", L"GPU电压D", L"MEM频率D",
     L"风扇转速D", L"GPU核心频率M", L"GPU电压M", L"MEM频率M", L"风扇转速M"},
    {L"画质调节", L"3D设置", L"超频设置", L"画质调节D", L"3D设置D", L"超频设置D", L"画质调节M",
     L"3D设置M", L"超频设置M"},
    {L"3D_办公模式", L"3D_高清娱乐", L"3D_3D游戏", L"3D_办公模式_D", L"3D_高清娱乐_D",
     L"3D_3D游戏_D", L"3D_办公模式_M", L"3D_高清娱乐_M", L"3D_3D游戏_M"},
    {L"显卡名称",      L"BIOS日期",      L"显存大小",      L"显存类型",      L"核心时钟频率",
     L"显存时钟频率",  L"显卡厂商",      L"驱动程序版本",  L"显卡名称D",     L"BIOS日期D",
     L"显存大小D",     L"显存类型D",     L"核心时钟频率D", L"显存时钟频率D", L"显卡厂商D",
     L"驱动程序版本D", L"显卡名称M",     L"BIOS日期M",     L"显存大小M",     L"显存类型M",
     L"核心时钟频率M", L"显存时钟频率M", L"显卡厂商M",     L"驱动程序版本M"},
    {L"桌面区域", L"颜色质量", L"刷新率", L"旋转", L"桌面区域D", L"颜色质量D", L"刷新率D", L"旋转D",
     L"桌面区域M", L"颜色质量M", L"刷新率M", L"旋转M"},
    {L"标准模式", L"办公模式", L"游戏模式", L"图片浏览", L"标准模式D", L"办公模式D", L"游戏模式D",
     L"图片浏览D", L"标准模式M", L"办公模式M", L"游戏模式M", L"图片浏览M"},
    {L"标准设置", L"取消重叠", L"只适应消除重叠", L"各向异形过滤", L"Catalyst A.L.",
     L"Mipmap详细度", L"标准设置D", L"取消重叠D", L"只适应消除重叠D", L"各向异形过滤D",
     L"Catalyst A.L.D", L"Mipmap详细度D", L"标准设置M", L"取消重叠M", L"只适应消除重叠M",
     L"各向异形过滤M", L"Catalyst A.L.M", L"Mipmap详细度M"},
};

constexpr ListPageLayout kLayouts[] = {
    {4, 0, 33, 13}, {3, 1, 30, 10}, {3, 2, 30, 15}, {8, 3, 15, 5},
    {4, 4, 30, 10}, {4, 5, 30, 10}, {6, 6, 30, 5},
};

}  // namespace

const wchar_t* ListLabelName(int row, int slot) {
    if (row < 0 || row >= kLabelRows || slot < 0 || slot >= kLabelSlots) {
        return nullptr;
    }
    return kLabels[row][slot];
}

std::optional<ListPageLayout> ListLayoutForPage(int pageType) {
    if (pageType < 1 || pageType > kLabelRows) {
        return std::nullopt;
    }
    return kLayouts[pageType - 1];
}

std::array<IntRect, kMaxListItems> LayOutListItems(const IntRect& frame,
                                                   const ListPageLayout& layout, int itemWidth,
                                                   int itemHeight) {
    std::array<IntRect, kMaxListItems> items{};
    int y = frame.top + layout.firstTop;
    for (int i = 0; i < layout.itemCount && i < kMaxListItems; ++i) {
        items[static_cast<std::size_t>(i)] = {frame.left, y, frame.left + itemWidth,
                                              y + itemHeight};
        y += itemHeight + layout.gap;
    }
    return items;
}

}  // namespace skin
