// The display adapters Windows' device installation knows: their hardware ids, descriptions and
// driver keys. Shared by the hardware page (driver version) and the hardware probe library.
#pragma once

#include <string>
#include <vector>

#include "framework/Handles.h"

namespace gfxprobe {

struct DisplayDevice {
    // The first hardware id, e.g. "PCI\VEN_1002&DEV_6719&SUBSYS_0B001002&REV_00"; may be empty.
    std::wstring hardwareId;
    // The device description; may be empty.
    std::wstring description;
    // The driver key under the class key, e.g. "{4D36E968-E325-11CE-BFC1-08002BE10318}\0000";
    // empty when it cannot be read.
    std::wstring driverKey;
};

// Every present device of the display-adapter class, in the order device installation
// enumerates them (over all classes). Empty when the devices cannot be listed.
std::vector<DisplayDevice> PresentDisplayDevices();

// "System\CurrentControlSet\Control\Class\<driverKey>" under HKEY_LOCAL_MACHINE.
std::wstring DriverKeyPath(const std::wstring& driverKey);

// The driver key opened for reading; empty when it cannot be opened.
fw::RegKey OpenDriverKey(const std::wstring& driverKey);

}  // namespace gfxprobe
