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

// A section as read once (nothing when it does not fit the largest buffer).
template <typename Sections>
std::optional<ProfileSection>& CachedSection(Sections& sections, const wchar_t* section,
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

std::optional<RunConfigFile::FileStamp> RunConfigFile::StampOf(const wchar_t* file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(file, GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return FileStamp{data.ftLastWriteTime,
                     (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

RunConfigFile::Sections& RunConfigFile::KnownSections(const wchar_t* file) const {
    // Taken before any read: a write that comes between makes the next stamp differ.
    const std::optional<FileStamp> now = StampOf(file);
    const bool same = now && stamp_ && ::CompareFileTime(&now->written, &stamp_->written) == 0 &&
                      now->size == stamp_->size;
    if (!same) {
        sections_.clear();
    }
    stamp_ = now;
    return sections_;
}

void RunConfigFile::Load(RunSettings& settings) const {
    const wchar_t* file = activePath().c_str();
    // One read per section; the values are those GetPrivateProfileIntW would give key by key.
    stamp_.reset();
    Sections& sections = KnownSections(file);
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
    // left as it is (its section, read once and kept while the file is unchanged, tells), so a
    // hotkey's save writes one key, not six, and reads nothing.
    Sections& sections = KnownSections(file);
    bool written = true;
    bool wroteAny = false;
    for (const SettingField& row : SettingFields()) {
        if (row.group != group) {
            continue;
        }
        std::optional<ProfileSection>& section = CachedSection(sections, row.section, file);
        // Without the section read, every key counts as changed.
        const std::wstring* stored = section ? section->Text(row.key) : nullptr;
        const std::int32_t value = FileValue(row, settings);
        const bool remove = row.absentWhenZero && value == 0;
        const std::wstring text = ProfileIntText(value);
        // An empty section may be a read the file's lock refused: a key is known absent only
        // from a section that holds others.
        if (remove ? (section && !section->empty() && stored == nullptr)
                   : (stored != nullptr && *stored == text)) {
            continue;
        }
        const BOOL done = ::WritePrivateProfileStringW(row.section, row.key,
                                                       remove ? nullptr : text.c_str(), file);
        wroteAny = true;
        if (done && section) {
            section->Write(row.key, remove ? nullptr : &text);
        }
        written = done && written;
    }
    if (!written) {
        // What a refused write left in the file is not known: read it afresh next time.
        stamp_.reset();
    } else if (wroteAny) {
        stamp_ = StampOf(file);
    }
    if (group == SettingsGroup::Clock && written) {
        settings.Clock.Saved = true;
    }
    return written;
}
