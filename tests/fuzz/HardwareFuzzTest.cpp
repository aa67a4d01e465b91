// The hardware library's side: the device database file, the texts it decodes, the platform's
// hardware ids and reports turned into the record, and the record turned into the page's rows.
// Whatever the bytes, every text stays within its field and ends, and the page's rows keep
// their lengths and formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "hwinfo/core/HardwareRows.h"
#include "libs/gfxprobe/core/DeviceDatabase.h"
#include "libs/gfxprobe/core/RecordBuilder.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/FileText.h"

namespace {

using fuzz::Random;
using fuzz::Tally;
using gfxprobe::DeviceDatabase;

// True when every surrogate is part of a pair.
bool IsWellFormed(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] >= 0xE000) {
                return false;
            }
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
    }
    return true;
}

// A name of random code points (any plane, no surrogates, no NUL), with its UTF-8 bytes.
std::pair<std::u16string, std::string> RandomName(Random& random) {
    std::u16string wide;
    std::string utf8;
    const std::size_t length = random.Below(24);
    for (std::size_t i = 0; i < length; ++i) {
        std::uint32_t code = 0;
        switch (random.Below(4)) {
            case 0:
                code = static_cast<std::uint32_t>(random.Between(0x80, 0x7FF));
                break;
            case 1:
                code = static_cast<std::uint32_t>(random.Between(0x800, 0xFFFD));
                break;
            case 2:
                code = static_cast<std::uint32_t>(random.Between(0x10000, 0x10FFFF));
                break;
            default:
                code = random.Chance(10) ? (random.Chance(50) ? '[' : ']')
                                         : static_cast<std::uint32_t>(random.Between(0x20, 0x7E));
        }
        if (code >= 0xD800 && code < 0xE000) {
            code = 'x';
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
        if (code >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<char16_t>(code);
        }
    }
    return {wide, utf8};
}

// What a database holds, and its file in the layout of tools/devicedb/README.md.
struct DatabaseModel {
    std::map<std::uint16_t, std::u16string> vendors;
    std::map<std::tuple<std::uint16_t, std::uint16_t>, gfxprobe::DeviceFacts> devices;
    std::map<std::tuple<std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>, std::u16string>
        boards;
    std::vector<std::uint8_t> file;
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

DatabaseModel RandomDatabase(Random& random) {
    DatabaseModel model;
    std::string pool;
    std::map<std::string, std::uint32_t> offsets;
    const auto name = [&](std::u16string& wide) {
        auto [text, utf8] = RandomName(random);
        wide = text;
        if (text.empty() && random.Chance(50)) {
            return DeviceDatabase::kNoString;
        }
        if (!offsets.contains(utf8)) {
            offsets[utf8] = static_cast<std::uint32_t>(pool.size());
            pool += utf8;
            pool += '\0';
        }
        return offsets[utf8];
    };
    std::vector<std::uint8_t> vendors, devices, boards;
    std::map<std::uint16_t, std::uint32_t> vendorNames;
    const std::size_t vendorCount = random.Below(12);
    for (std::size_t i = 0; i < vendorCount; ++i) {
        model.vendors[static_cast<std::uint16_t>(random.Word())];
    }
    for (auto& [id, text] : model.vendors) {
        Put16(vendors, id);
        Put16(vendors, 0);
        Put32(vendors, name(text));
    }
    const std::size_t deviceCount = random.Below(20);
    for (std::size_t i = 0; i < deviceCount; ++i) {
        const auto vendor = static_cast<std::uint16_t>(random.Chance(50) ? 0x1002 : random.Word());
        model.devices[{vendor, static_cast<std::uint16_t>(random.Word())}];
    }
    for (auto& [key, facts] : model.devices) {
        Put16(devices, std::get<0>(key));
        Put16(devices, std::get<1>(key));
        Put32(devices, name(facts.name));
        Put32(devices, name(facts.memoryType));
        facts.coreClockMhz = static_cast<std::uint16_t>(random.Chance(50) ? 0 : random.Word());
        facts.memoryClockMhz = static_cast<std::uint16_t>(random.Chance(50) ? 0 : random.Word());
        Put16(devices, facts.coreClockMhz);
        Put16(devices, facts.memoryClockMhz);
    }
    for (const auto& [key, facts] : model.devices) {
        if (random.Chance(40)) {
            model.boards[{std::get<0>(key), std::get<1>(key),
                          static_cast<std::uint16_t>(random.Word()),
                          static_cast<std::uint16_t>(random.Word())}];
        }
    }
    for (auto& [key, text] : model.boards) {
        Put16(boards, std::get<0>(key));
        Put16(boards, std::get<1>(key));
        Put16(boards, std::get<2>(key));
        Put16(boards, std::get<3>(key));
        Put32(boards, name(text));
    }
    std::vector<std::uint8_t>& file = model.file;
    file.assign(std::begin(DeviceDatabase::kMagic), std::end(DeviceDatabase::kMagic));
    Put32(file, DeviceDatabase::kVersion);
    Put32(file, static_cast<std::uint32_t>(model.vendors.size()));
    Put32(file, static_cast<std::uint32_t>(model.devices.size()));
    Put32(file, static_cast<std::uint32_t>(model.boards.size()));
    Put32(file, static_cast<std::uint32_t>(pool.size()));
    file.resize(DeviceDatabase::kHeaderBytes, 0);
    file.insert(file.end(), vendors.begin(), vendors.end());
    file.insert(file.end(), devices.begin(), devices.end());
    file.insert(file.end(), boards.begin(), boards.end());
    file.insert(file.end(), pool.begin(), pool.end());
    return model;
}

std::vector<std::uint8_t> SampleDatabase() {
    return testkit::ReadFileBytes(SAMPLE_DB);
}

// A broken file: its bytes mutated, or one header word replaced by a hostile one.
std::vector<std::uint8_t> Broken(Random& random, std::vector<std::uint8_t> file) {
    if (random.Chance(40) && file.size() >= DeviceDatabase::kHeaderBytes) {
        const std::size_t word = 8 + 4 * random.Below(4);
        const std::uint32_t value =
            random.Chance(50) ? static_cast<std::uint32_t>(random.Hostile32())
                              : static_cast<std::uint32_t>(file.size() + random.Between(-40, 40));
        for (std::size_t i = 0; i < 4; ++i) {
            file[word + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return file;
    }
    return fuzz::MutateBytes(random, std::move(file));
}

TEST(FuzzHardware, DeviceDatabaseFilesAreReadBackOrRefusedWithoutReadingPastThem) {
    Tally tally("device database (DeviceManuf.db3)");
    Random random(0xDB3);
    const std::vector<std::uint8_t> sample = SampleDatabase();
    ASSERT_FALSE(sample.empty()) << SAMPLE_DB;
    ASSERT_TRUE(DeviceDatabase::Parse(sample));
    // Files to break: the sample and a few made here.
    std::vector<std::vector<std::uint8_t>> sound = {sample};
    for (int i = 0; i < 63; ++i) {
        sound.push_back(RandomDatabase(random).file);
    }
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        if (n % 4 == 0) {
            const DatabaseModel model = RandomDatabase(random);
            // A sound file reads back every name it was made from.
            const auto db = DeviceDatabase::Parse(model.file);
            if (!db) {
                tally.Fault("a sound database of " + std::to_string(model.file.size()) +
                            " bytes refused");
                continue;
            }
            for (const auto& [id, text] : model.vendors) {
                if (db->VendorName(id).value_or(u"") != text) {
                    tally.Fault("vendor " + std::to_string(id) + " reads back wrong");
                }
            }
            for (const auto& [key, facts] : model.devices) {
                const auto read = db->Device(std::get<0>(key), std::get<1>(key));
                if (!read || read->name != facts.name || read->memoryType != facts.memoryType ||
                    read->coreClockMhz != facts.coreClockMhz ||
                    read->memoryClockMhz != facts.memoryClockMhz) {
                    tally.Fault("device reads back wrong");
                }
            }
            for (const auto& [key, text] : model.boards) {
                const gfxprobe::PciIds ids{std::get<0>(key), std::get<1>(key), std::get<2>(key),
                                           std::get<3>(key)};
                if (db->SubsystemName(ids).value_or(u"") != text) {
                    tally.Fault("board reads back wrong");
                }
            }
            continue;
        }
        const auto db = DeviceDatabase::Parse(
            Broken(random, n % 4 == 1 ? sample : sound[random.Below(sound.size())]));
        if (!db) {
            tally.Rejected();
            continue;
        }
        // Whatever was accepted answers every question with well-formed text or nothing.
        for (int q = 0; q < 8; ++q) {
            const auto vendor =
                static_cast<std::uint16_t>(random.Chance(50) ? 0x1002 : random.Word());
            const auto device = static_cast<std::uint16_t>(random.Word());
            const auto name = db->VendorName(vendor);
            const auto facts = db->Device(vendor, device);
            const auto board = db->SubsystemName(
                {vendor, device, static_cast<std::uint16_t>(random.Word()), 0x174B});
            if ((name && !IsWellFormed(*name)) || (board && !IsWellFormed(*board)) ||
                (facts && (!IsWellFormed(facts->name) || !IsWellFormed(facts->memoryType)))) {
                tally.Fault("a text with a broken surrogate");
            }
        }
    }
}

TEST(FuzzHardware, Utf8TextsDecodeToWellFormedUtf16) {
    Tally tally("UTF-8 texts (database strings)");
    Random random(0x7F8);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        auto [wide, utf8] = RandomName(random);
        if (random.Chance(50)) {
            if (gfxprobe::Utf8ToUtf16(utf8.data(), utf8.size()) != wide) {
                tally.Fault("valid UTF-8 decoded wrongly");
            }
            continue;
        }
        const std::string bytes =
            random.Chance(50) ? fuzz::MutateBytes(random, utf8) : fuzz::RandomBytes(random, 64);
        const std::u16string decoded = gfxprobe::Utf8ToUtf16(bytes.data(), bytes.size());
        if (!IsWellFormed(decoded) || decoded.size() > bytes.size()) {
            tally.Fault("malformed UTF-8 gave malformed UTF-16");
        }
        if (decoded.find(u'\uFFFD') != std::u16string::npos) {
            tally.Rejected();
        }
    }
}

std::u16string AsciiU16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

TEST(FuzzHardware, HardwareIdsGiveTheirPciIdsOrNothing) {
    Tally tally("PCI hardware ids (registry)");
    Random random(0x1D5);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const gfxprobe::PciIds ids{
            static_cast<std::uint16_t>(random.Word()), static_cast<std::uint16_t>(random.Word()),
            static_cast<std::uint16_t>(random.Word()), static_cast<std::uint16_t>(random.Word())};
        char text[96];
        std::snprintf(text, sizeof(text),
                      random.Chance(50) ? "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%04X%04X&REV_%02X"
                                        : "pci\\ven_%04x&dev_%04x&subsys_%04x%04x&rev_%02x",
                      ids.vendor, ids.device, ids.subDevice, ids.subVendor,
                      static_cast<unsigned>(random.Below(256)));
        const std::u16string valid = AsciiU16(text);
        const auto parsed = gfxprobe::ParsePciHardwareId(valid);
        if (!parsed || parsed->vendor != ids.vendor || parsed->device != ids.device ||
            parsed->subVendor != ids.subVendor || parsed->subDevice != ids.subDevice) {
            tally.Fault("hardware id " + std::string(text) + " not read back");
        }
        const std::u16string mutated = fuzz::MutateWide(random, valid);
        const auto odd = gfxprobe::ParsePciHardwareId(mutated);
        if (!odd) {
            tally.Rejected();
            continue;
        }
        std::u16string head = mutated.substr(0, 4);
        for (char16_t& c : head) {
            c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
        }
        if (head != u"PCI\\") {
            tally.Fault("a hardware id that is not PCI's was read");
        }
    }
}

gfxprobe::AdapterReport RandomReport(Random& random, const DatabaseModel& model) {
    gfxprobe::AdapterReport report;
    std::u16string id = u"PCI\\VEN_1002&DEV_9442&SUBSYS_0502174B&REV_00";
    if (!model.devices.empty() && random.Chance(60)) {
        const auto& key = std::next(model.devices.begin(),
                                    static_cast<std::ptrdiff_t>(random.Below(model.devices.size())))
                              ->first;
        char text[64];
        std::snprintf(text, sizeof(text), "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%08X", std::get<0>(key),
                      std::get<1>(key), static_cast<unsigned>(random.Word()));
        id = AsciiU16(text);
    }
    report.hardwareId = random.Chance(80) ? id : fuzz::MutateWide(random, id);
    for (std::u16string* text : {&report.description, &report.driverDesc, &report.providerName,
                                 &report.driverVersion, &report.chipType, &report.adapterString,
                                 &report.biosString, &report.biosDate, &report.memoryType}) {
        if (random.Chance(30)) {
            continue;
        }
        std::u16string base = u"ATI Radeon HD 4850";
        if (random.Chance(20)) {
            base = std::u16string(random.Between(500, 2000), u'W');  // beyond the field
        } else if (random.Chance(10)) {
            // Characters of two units each, beyond the field, starting on either parity.
            base = random.Chance(50) ? u"W" : u"";
            for (std::int64_t i = random.Between(250, 600); i > 0; --i) {
                base += u"\U0001F600";
            }
        }
        *text = random.Chance(60) ? base : fuzz::MutateWide(random, base);
    }
    static const std::int64_t kSizes[] = {
        -1, 0, 1, 512LL * 1024, 1 << 20, 512LL << 20, (1LL << 40) + 1, (1LL << 62)};
    report.memoryBytes =
        random.Chance(50) ? kSizes[random.Below(std::size(kSizes))] : random.Hostile64();
    report.dxgiMemoryBytes =
        random.Chance(50) ? kSizes[random.Below(std::size(kSizes))] : random.Hostile64();
    return report;
}

std::u16string FieldOf(const char16_t (&field)[kRecordTextUnits]) {
    const char16_t* end = std::find(field, field + kRecordTextUnits, u'\0');
    return std::u16string(field, end);
}

bool IsPrefixOf(const std::u16string& text, const std::u16string& whole) {
    return whole.compare(0, text.size(), text) == 0;
}

bool IsLead(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsTrail(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// Whether keeping the first `kept` units of `whole` cuts a surrogate pair in two.
bool SplitsAPair(const std::u16string& whole, std::size_t kept) {
    return kept > 0 && kept < whole.size() && IsLead(whole[kept - 1]) && IsTrail(whole[kept]);
}

// Characters of a row: a surrogate pair counts once.
std::size_t Characters(const std::wstring& text) {
    std::size_t pairs = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsLead(static_cast<char32_t>(text[i])) && IsTrail(static_cast<char32_t>(text[i + 1]))) {
            ++pairs;
            ++i;
        }
    }
    return text.size() - pairs;
}

TEST(FuzzHardware, PlatformReportsBuildARecordWhoseTextsEndInsideTheirFields) {
    Tally tally("record builder (platform report)");
    Random random(0xB111D);
    // A few databases, each met by many reports.
    std::vector<DatabaseModel> models;
    std::vector<DeviceDatabase> databases;
    for (int i = 0; i < 64; ++i) {
        models.push_back(RandomDatabase(random));
        databases.push_back(DeviceDatabase::Parse(models.back().file).value_or(DeviceDatabase()));
    }
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const std::size_t pick = random.Below(models.size());
        const DeviceDatabase& db = databases[pick];
        const gfxprobe::AdapterReport report = RandomReport(random, models[pick]);
        const DisplayInfoRecord record = gfxprobe::BuildRecord(report, db);
        const char16_t(*fields[])[kRecordTextUnits] = {
            &record.cardName,       &record.cardVendor,    &record.memoryType,
            &record.chipType,       &record.adapterString, &record.biosDate,
            &record.biosString,     &record.driverVersion, &record.hardwareId,
            &record.driverProvider, &record.deviceName};
        for (const auto* field : fields) {
            if (std::find(*field, *field + kRecordTextUnits, u'\0') == *field + kRecordTextUnits) {
                tally.Fault("a record text without its terminator");
            }
        }
        // The card name is one the system or the database gave, cut to its field.
        const std::u16string name = FieldOf(record.cardName);
        std::u16string known;
        if (const auto ids = gfxprobe::ParsePciHardwareId(report.hardwareId)) {
            if (const auto facts = db.Device(ids->vendor, ids->device)) {
                known = gfxprobe::MarketingName(facts->name);
            }
        }
        if (!IsPrefixOf(name, known) && !IsPrefixOf(name, report.driverDesc) &&
            !IsPrefixOf(name, report.adapterString) && !IsPrefixOf(name, report.description)) {
            tally.Fault("card name from nowhere");
        }
        // Only a text that fills the field was cut; the cut falls between characters.
        for (const std::u16string* source : std::initializer_list<const std::u16string*>{
                 &known, &report.driverDesc, &report.adapterString, &report.description}) {
            if (name.size() + 2 >= kRecordTextUnits && IsPrefixOf(name, *source) &&
                SplitsAPair(*source, name.size())) {
                tally.Fault("the card name's cut splits a surrogate pair");
            }
        }
        if (record.memorySizeMb != kUnknownNumber &&
            (record.memorySizeMb < 0 || record.memorySizeMb > 1024 * 1024)) {
            tally.Fault("memory size " + std::to_string(record.memorySizeMb) + " MB");
        }
        if (report.memoryBytes <= 0 && report.dxgiMemoryBytes <= 0 &&
            record.memorySizeMb != kUnknownNumber) {
            tally.Fault("a memory size from no report");
        }
        if (name.empty()) {
            tally.Rejected();
        }
    }
}

// "<digits><suffix>", the number at most `limit`.
bool IsNumberText(const std::wstring& text, const std::wstring& suffix, double limit) {
    if (text.size() <= suffix.size() ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::wstring digits = text.substr(0, text.size() - suffix.size());
    const bool negative = digits[0] == L'-';
    if (digits.size() == (negative ? 1u : 0u) ||
        !std::all_of(digits.begin() + (negative ? 1 : 0), digits.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return false;
    }
    return std::stod(std::string(digits.begin(), digits.end())) <= limit;
}

TEST(FuzzHardware, AnyLibraryRecordGivesRowsOfBoundedLengthAndKnownFormat) {
    Tally tally("hardware rows (GfxProbe record)");
    Random random(0x2085);
    const DatabaseModel model = RandomDatabase(random);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        DisplayInfoRecord record;
        if (random.Chance(30)) {
            // Any bytes at all: unterminated texts, NaN clocks, huge counts.
            auto* bytes = reinterpret_cast<unsigned char*>(&record);
            for (std::size_t i = 0; i < sizeof(record); ++i) {
                bytes[i] = static_cast<unsigned char>(random.Word());
            }
        } else {
            record = gfxprobe::BuildRecord(RandomReport(random, model), DeviceDatabase());
            if (random.Chance(50)) {
                char16_t(*texts[])[kRecordTextUnits] = {&record.cardName, &record.cardVendor,
                                                        &record.memoryType, &record.biosDate};
                std::fill_n(*texts[random.Below(4)], kRecordTextUnits,
                            static_cast<char16_t>(random.Between(1, 0xFFFF)));
            }
            record.coreClock = random.AnyFloat();
            record.memoryClock = random.AnyFloat();
            record.memorySizeMb = random.Hostile32();
        }
        hwinfo::Rows rows;
        rows[hwinfo::kDriverVersionRow] = L"8.593.100.0";
        hwinfo::FillRowsFromRecord(record, rows);
        if (rows[hwinfo::kDriverVersionRow] != L"8.593.100.0") {
            tally.Fault("the driver version row was touched");
        }
        for (const std::wstring& row : rows) {
            if (row.find(L'\0') != std::wstring::npos) {
                tally.Fault("a row with a NUL inside");
            }
        }
        // The name and vendor rows: a prefix of their field of at most so many characters (and
        // the name's mark), never ending between the halves of a pair.
        const std::u16string name = FieldOf(record.cardName);
        const std::u16string vendor = FieldOf(record.cardVendor);
        const std::wstring& nameRow = rows[hwinfo::kCardNameRow];
        const std::size_t nameShown =
            nameRow == std::wstring(name.begin(), name.end()) ? nameRow.size() : nameRow.size() - 5;
        for (const auto& [field, shown] :
             {std::pair{&name, nameShown}, std::pair{&vendor, rows[hwinfo::kVendorRow].size()}}) {
            if (SplitsAPair(*field, shown)) {
                tally.Fault("a row cut splits a surrogate pair");
            }
        }
        if (Characters(nameRow.substr(0, nameShown)) > hwinfo::kCardNameShown ||
            Characters(rows[hwinfo::kVendorRow]) > hwinfo::kVendorShown ||
            rows[hwinfo::kBiosDateRow].size() > kRecordTextUnits ||
            rows[hwinfo::kMemoryTypeRow].size() > kRecordTextUnits) {
            tally.Fault("a row longer than it may be shown");
        }
        if (rows[hwinfo::kCoreClockRow].empty() && rows[hwinfo::kMemoryClockRow].empty()) {
            tally.Rejected();
        }
        for (hwinfo::Row clock : {hwinfo::kCoreClockRow, hwinfo::kMemoryClockRow}) {
            // A clock just below a million MHz shows rounded up to it.
            if (!rows[clock].empty() && !IsNumberText(rows[clock], L" MHz", 1.0e6)) {
                tally.Fault("clock row \"" + fuzz::Printable(rows[clock]) + "\"");
            }
        }
        const std::wstring& size = rows[hwinfo::kMemorySizeRow];
        if (size.empty() != (record.memorySizeMb < 0) ||
            (!size.empty() && size != std::to_wstring(record.memorySizeMb) + L" MB")) {
            tally.Fault("memory size row \"" + fuzz::Printable(size) + "\"");
        }
        const std::wstring driverClock = hwinfo::ClockText(random.Hostile32());
        if (!driverClock.empty() && !IsNumberText(driverClock, L"MHz", 1.0e6)) {
            tally.Fault("driver clock text \"" + fuzz::Printable(driverClock) + "\"");
        }
    }
}

}  // namespace
