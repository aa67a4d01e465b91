#include "libs/gfxprobe/devices/DisplayDevices.h"

#include <windows.h>

#include <devguid.h>
#include <setupapi.h>

namespace gfxprobe {

namespace {

struct DeviceListTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using DeviceList = fw::UniqueHandle<DeviceListTraits>;

// The driver key property is read into 2048 bytes; the other texts get the same room.
constexpr DWORD kPropertyBytes = 2048;

// A text property (for a multi-string, its first string); empty when it cannot be read.
std::wstring TextProperty(HDEVINFO list, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t buffer[kPropertyBytes / sizeof(wchar_t) + 1] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(list, &device, property, nullptr,
                                             reinterpret_cast<BYTE*>(buffer), kPropertyBytes,
                                             nullptr)) {
        return {};
    }
    return buffer;  // the spare last unit keeps the text terminated
}

}  // namespace

std::vector<DisplayDevice> PresentDisplayDevices() {
    std::vector<DisplayDevice> devices;
    DeviceList list(
        ::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!list) {
        return devices;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(list.get(), index, &device); ++index) {
        if (!::IsEqualGUID(device.ClassGuid, GUID_DEVCLASS_DISPLAY)) {
            continue;
        }
        DisplayDevice found;
        found.hardwareId = TextProperty(list.get(), device, SPDRP_HARDWAREID);
        found.description = TextProperty(list.get(), device, SPDRP_DEVICEDESC);
        found.driverKey = TextProperty(list.get(), device, SPDRP_DRIVER);
        devices.push_back(std::move(found));
    }
    return devices;
}

std::wstring DriverKeyPath(const std::wstring& driverKey) {
    return L"System\\CurrentControlSet\\Control\\Class\\" + driverKey;
}

fw::RegKey OpenDriverKey(const std::wstring& driverKey) {
    HKEY key = nullptr;
    if (driverKey.empty() || ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, DriverKeyPath(driverKey).c_str(),
                                             0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    return fw::RegKey(key);
}

}  // namespace gfxprobe
