#include "sim/core/IniDocument.h"

#include <cstdint>
#include <limits>

namespace sim {

namespace {

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    Section* current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.find(']');
            const std::string_view name =
                Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            current = doc.FindSection(name);
            if (current == nullptr) {
                doc.sections_.push_back(Section{std::string(name), {}});
                current = &doc.sections_.back();
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        doc.Set(current->name, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string text;
    for (const Section& section : sections_) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.key + "=" + entry.value + "\r\n";
        }
    }
    return text;
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    for (Section& section : sections_) {
        if (EqualsIgnoreCase(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    for (const Section& section : sections_) {
        if (EqualsIgnoreCase(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) {
            if (EqualsIgnoreCase(entry.key, key)) {
                return entry.value;
            }
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        sections_.push_back(Section{std::string(section), {}});
        found = &sections_.back();
    }
    for (Entry& entry : found->entries) {
        if (EqualsIgnoreCase(entry.key, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    found->entries.push_back(Entry{std::string(key), std::string(value)});
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        if (!item.empty()) {
            items.emplace_back(item);
        }
        if (comma == std::string_view::npos) {
            return items;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (value <= int64_t{std::numeric_limits<int>::max()} + 1) {
            value = value * 10 + (c - '0');
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}  // namespace sim
