#include "settings/RunConfigFile.h"

#include <shlobj.h>

#include "settings/core/ProfileSection.h"

#include <cwchar>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kUserConfigFileName[] = L"\\TVRunConfig.dat";

// Sections of the settings file are a few hundred characters; a section that fills even the
// largest buffer is read key by key instead.
constexpr DWORD kFirstSectionBuffer = 4096;
constexpr DWORD kLargestSectionBuffer = 1u << 20;

// The section a group's rows are written to (each group owns whole sections; the clock group
// has one).
const wchar_t* SectionOf(SettingsGroup group) {
    for (const SettingField& row : SettingFields()) {
        if (row.group == group) {
            return row.section;
        }
    }
    return L"";
}

// The signed decimal text a number is written as.
std::wstring ProfileIntText(int value) {
    wchar_t text[16];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", value);
    return text;
}

// The whole section as GetPrivateProfileSectionW gives it, or nothing when it does not fit.
std::optional<std::wstring> ReadSection(const wchar_t* section, const wchar_t* file) {
    for (DWORD size = kFirstSectionBuffer; size <= kLargestSectionBuffer; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');  // an unreadable file leaves it untouched
        const DWORD length = ::GetPrivateProfileSectionW(section, buffer.data(), size, file);
        if (length < size - 2) {
            return std::wstring(buffer.data(), length);
        }
    }
    return std::nullopt;
}

using SectionCache = std::map<std::wstring, std::optional<ProfileSection>, std::less<>>;

// A section as read once (nothing when it does not fit the largest buffer).
const std::optional<ProfileSection>& CachedSection(SectionCache& sections, const wchar_t* section,
                                                   const wchar_t* file) {
    auto [found, first] = sections.try_emplace(section);
    if (first) {
        if (const std::optional<std::wstring> text = ReadSection(section, file)) {
            found->second.emplace(*text);
        }
    }
    return found->second;
}

bool FileExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(search);
    return true;
}

}  // namespace

RunConfigFile::RunConfigFile(std::wstring userConfigPath, std::wstring templatePath)
    : userConfigPath_(std::move(userConfigPath)), templatePath_(std::move(templatePath)) {}

std::wstring RunConfigFile::DocumentsConfigPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) {
        return {};
    }
    folder[MAX_PATH] = L'\0';
    if (folder[0] == L'\0') {
        return {};
    }
    return std::wstring(folder) + kUserConfigFileName;
}

void RunConfigFile::PrepareUserCopy() const {
    if (userConfigPath_.empty()) {
        return;
    }
    if (!FileExists(userConfigPath_)) {
        ::CopyFileW(templatePath_.c_str(), userConfigPath_.c_str(), TRUE);
    }
    // An installed template is often read-only, and the copy inherits that.
    const DWORD attributes = ::GetFileAttributesW(userConfigPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesW(userConfigPath_.c_str(),
                             writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
}

void RunConfigFile::Load(RunSettings& settings) const {
    const wchar_t* file = activePath().c_str();
    // One read per section; the values are those GetPrivateProfileIntW would give key by key.
    SectionCache sections;
    for (const SettingField& row : SettingFields()) {
        const std::optional<ProfileSection>& section = CachedSection(sections, row.section, file);
        const std::int32_t value =
            section
                ? section->Int(row.key, 0)
                : static_cast<std::int32_t>(::GetPrivateProfileIntW(row.section, row.key, 0, file));
        StoreFileValue(row, settings, value);
    }
    wchar_t keys[64] = {};
    settings.Clock.Saved = ::GetPrivateProfileStringW(SectionOf(SettingsGroup::Clock), nullptr, L"",
                                                      keys, ARRAYSIZE(keys), file) > 0;
}

bool RunConfigFile::Save(SettingsGroup group, RunSettings& settings) const {
    const wchar_t* file = activePath().c_str();
    // Every write rewrites the whole file: a key whose text is already the one we would write is
    // left as it is (one read of its section tells), so a hotkey's save writes one key, not six.
    SectionCache sections;
    bool written = true;
    for (const SettingField& row : SettingFields()) {
        if (row.group != group) {
            continue;
        }
        const std::optional<ProfileSection>& section = CachedSection(sections, row.section, file);
        // Without the section read, every key counts as changed.
        const std::wstring* stored = section ? section->Text(row.key) : nullptr;
        const std::int32_t value = FileValue(row, settings);
        BOOL done = TRUE;
        if (row.absentWhenZero && value == 0) {
            if (!section || stored != nullptr) {
                done = ::WritePrivateProfileStringW(row.section, row.key, nullptr, file);
            }
        } else if (stored == nullptr || *stored != ProfileIntText(value)) {
            done = WriteProfileInt(row.section, row.key, value, file);
        }
        written = done && written;
    }
    if (group == SettingsGroup::Clock && written) {
        settings.Clock.Saved = true;
    }
    return written;
}

BOOL WriteProfileInt(const wchar_t* section, const wchar_t* key, int value, const wchar_t* file) {
    return ::WritePrivateProfileStringW(section, key, ProfileIntText(value).c_str(), file);
}
