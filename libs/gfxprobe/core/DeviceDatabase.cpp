#include "libs/gfxprobe/core/DeviceDatabase.h"

#include <algorithm>
#include <cstring>

namespace gfxprobe {

namespace {

// A sorted table of fixed-size rows keyed by their leading 16-bit words: the index of the row
// whose key equals `key`, or nothing.
template <size_t KeyWords, typename ReadWord>
std::optional<size_t> FindRow(size_t count, const uint16_t (&key)[KeyWords], ReadWord word) {
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        int order = 0;
        for (size_t k = 0; k < KeyWords && order == 0; ++k) {
            const uint16_t value = word(middle, k);
            order = value < key[k] ? -1 : (value > key[k] ? 1 : 0);
        }
        if (order == 0) {
            return middle;
        }
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return std::nullopt;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The hex number of `digits` digits right after `tag` in `text`.
std::optional<uint32_t> HexAfter(const std::u16string& upper, const std::u16string& tag,
                                 size_t digits) {
    const size_t at = upper.find(tag);
    if (at == std::u16string::npos || upper.size() < at + tag.size() + digits) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int digit = HexDigit(upper[at + tag.size() + i]);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

}  // namespace

std::optional<DeviceDatabase> DeviceDatabase::Parse(std::vector<uint8_t> bytes) {
    DeviceDatabase db;
    db.bytes_ = std::move(bytes);
    if (db.bytes_.size() < kHeaderBytes || std::memcmp(db.bytes_.data(), kMagic, 4) != 0 ||
        db.U32(4) != kVersion) {
        return std::nullopt;
    }
    db.vendorCount_ = db.U32(8);
    db.deviceCount_ = db.U32(12);
    db.subsystemCount_ = db.U32(16);
    db.stringBytes_ = db.U32(20);
    // 64-bit sums: counts near 2^32 must not wrap around to a size that fits.
    const uint64_t expected = uint64_t{kHeaderBytes} + uint64_t{db.vendorCount_} * kVendorBytes +
                              uint64_t{db.deviceCount_} * kDeviceBytes +
                              uint64_t{db.subsystemCount_} * kSubsystemBytes + db.stringBytes_;
    if (expected != db.bytes_.size()) {
        return std::nullopt;
    }
    db.vendorsAt_ = kHeaderBytes;
    db.devicesAt_ = db.vendorsAt_ + db.vendorCount_ * kVendorBytes;
    db.subsystemsAt_ = db.devicesAt_ + db.deviceCount_ * kDeviceBytes;
    db.stringsAt_ = db.subsystemsAt_ + db.subsystemCount_ * kSubsystemBytes;
    return db;
}

uint16_t DeviceDatabase::U16(size_t at) const {
    return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
}

uint32_t DeviceDatabase::U32(size_t at) const {
    return static_cast<uint32_t>(U16(at)) | (static_cast<uint32_t>(U16(at + 2)) << 16);
}

std::optional<std::u16string> DeviceDatabase::String(uint32_t offset) const {
    if (offset == kNoString || offset >= stringBytes_) {
        return std::nullopt;
    }
    const char* start = reinterpret_cast<const char*>(bytes_.data() + stringsAt_ + offset);
    const size_t room = stringBytes_ - offset;
    const void* end = std::memchr(start, '\0', room);
    if (end == nullptr) {
        return std::nullopt;
    }
    return Utf8ToUtf16(start, static_cast<size_t>(static_cast<const char*>(end) - start));
}

std::optional<std::u16string> DeviceDatabase::VendorName(uint16_t vendor) const {
    const uint16_t key[1] = {vendor};
    const auto row = FindRow(
        vendorCount_, key, [this](size_t r, size_t) { return U16(vendorsAt_ + r * kVendorBytes); });
    if (!row) {
        return std::nullopt;
    }
    return String(U32(vendorsAt_ + *row * kVendorBytes + 4));
}

std::optional<DeviceFacts> DeviceDatabase::Device(uint16_t vendor, uint16_t device) const {
    const uint16_t key[2] = {vendor, device};
    const auto row = FindRow(deviceCount_, key, [this](size_t r, size_t k) {
        return U16(devicesAt_ + r * kDeviceBytes + 2 * k);
    });
    if (!row) {
        return std::nullopt;
    }
    const size_t at = devicesAt_ + *row * kDeviceBytes;
    DeviceFacts facts;
    facts.name = String(U32(at + 4)).value_or(u"");
    facts.memoryType = String(U32(at + 8)).value_or(u"");
    facts.coreClockMhz = U16(at + 12);
    facts.memoryClockMhz = U16(at + 14);
    return facts;
}

std::optional<std::u16string> DeviceDatabase::SubsystemName(const PciIds& ids) const {
    const uint16_t key[4] = {ids.vendor, ids.device, ids.subVendor, ids.subDevice};
    const auto row = FindRow(subsystemCount_, key, [this](size_t r, size_t k) {
        return U16(subsystemsAt_ + r * kSubsystemBytes + 2 * k);
    });
    if (!row) {
        return std::nullopt;
    }
    return String(U32(subsystemsAt_ + *row * kSubsystemBytes + 8));
}

std::u16string Utf8ToUtf16(const char* text, size_t length) {
    std::u16string out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        size_t extra = 0;
        uint32_t code = 0;
        uint32_t minimum = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= extra && i + k < length && (bytes[i + k] & 0xC0) == 0x80; ++k) {
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (k <= extra || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            out.push_back(u'\uFFFD');
            i += k;
            continue;
        }
        i += k;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::optional<PciIds> ParsePciHardwareId(const std::u16string& hardwareId) {
    std::u16string upper = hardwareId;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    });
    if (upper.rfind(u"PCI\\", 0) != 0) {
        return std::nullopt;
    }
    const auto vendor = HexAfter(upper, u"VEN_", 4);
    const auto device = HexAfter(upper, u"DEV_", 4);
    if (!vendor || !device) {
        return std::nullopt;
    }
    PciIds ids;
    ids.vendor = static_cast<uint16_t>(*vendor);
    ids.device = static_cast<uint16_t>(*device);
    if (const auto subsystem = HexAfter(upper, u"SUBSYS_", 8)) {
        ids.subDevice = static_cast<uint16_t>(*subsystem >> 16);
        ids.subVendor = static_cast<uint16_t>(*subsystem & 0xFFFF);
    }
    return ids;
}

}  // namespace gfxprobe
