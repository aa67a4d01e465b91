// A small INI document: [Section] headers and Key=Value lines, matched without regard to case
// as the Windows profile functions do, kept in file order so that a rewrite changes only what
// was set. Lines starting with ';' or '#' are comments and are not kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class IniDocument {
  public:
    static IniDocument Parse(std::string_view text);
    std::string Serialize() const;

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    bool Has(std::string_view section, std::string_view key) const {
        return Get(section, key).has_value();
    }
    // Adds the section or key when missing; keeps the position of an existing key.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    bool empty() const { return sections_.empty(); }

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// "a, b ,c" -> {"a", "b", "c"}; empty items are dropped.
std::vector<std::string> SplitList(std::string_view text);
// A decimal integer (optional sign), saturated to 32 bits; nullopt when it is not one.
std::optional<int> ParseInt(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace sim
