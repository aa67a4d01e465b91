// Texts from outside: the registry's browser command and the driver's temperature, the update
// manifest, product versions, the updater's command line, the update library's settings, the
// machine key, and the headers of the embedded pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "libs/machineid/core/IdentityText.h"
#include "libs/versync/core/ProductVersion.h"
#include "libs/versync/core/UpdateManifest.h"
#include "libs/versync/core/UpdaterArguments.h"
#include "libs/versync/core/VersyncSettings.h"
#include "mainwindow/core/BrowserCommand.h"
#include "mainwindow/core/IndicatorReadings.h"
#include "skin/core/ImageHeader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Random;
using fuzz::Tally;

constexpr wchar_t kVendorSite[] = L"http://www.velmora.example/drivers";

TEST(FuzzTexts, RegisteredBrowserCommandsOpenTheVendorSiteOnce) {
    Tally tally("browser command (registry)");
    Random random(0xB0C);
    const std::wstring kCommands[] = {
        L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome \"%1\"",
        L"C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE -url %1", L"\"C:\\Browser\\browser.exe\"",
        L"rundll32.exe url.dll,FileProtocolHandler %1"};
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const std::wstring registered =
            fuzz::MutateWide(random, kCommands[random.Below(std::size(kCommands))]);
        const std::wstring line = velmora::BrowserCommandLine(registered, kVendorSite);
        const std::wstring tail = std::wstring(L" ") + kVendorSite;
        // The registered program and its options, then the address: no placeholder is passed on.
        const std::wstring head = line.substr(0, line.size() - tail.size());
        if (line.size() < tail.size() || line.compare(head.size(), tail.size(), tail) != 0 ||
            registered.compare(0, head.size(), head) != 0) {
            tally.Fault("command \"" + fuzz::Printable(line) + "\"");
            continue;
        }
        if (registered.find(L"%1") == std::wstring::npos) {
            tally.Rejected();  // no placeholder: the address follows the whole command
        }
    }
}

TEST(FuzzTexts, AnyTemperatureReadingShowsInsideTheGauge) {
    Tally tally("temperature readings (driver)");
    Random random(0x7E3);
    int previous = indicator::kLowestTemperature;
    std::uint32_t previousReading = 0;
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const std::optional<std::uint32_t> reading =
            random.Chance(5)
                ? std::nullopt
                : std::optional<std::uint32_t>(
                      random.Chance(50) ? static_cast<std::uint32_t>(random.Between(0, 110000))
                                        : static_cast<std::uint32_t>(random.Hostile32()));
        const int shown = indicator::GaugeTemperature(reading);
        if (shown < indicator::kLowestTemperature || shown > indicator::kHighestTemperature) {
            tally.Fault("gauge shows " + std::to_string(shown));
        }
        if (!reading || *reading > 100000) {
            tally.Rejected();
            continue;
        }
        // Believable readings rise with the temperature.
        if (*reading >= previousReading && previousReading <= 100000 && shown < previous) {
            tally.Fault("a warmer reading shows cooler");
        }
        previous = shown;
        previousReading = *reading;
    }
}

std::string Hex(Random& random, std::size_t digits, bool upper) {
    std::string text;
    for (std::size_t i = 0; i < digits; ++i) {
        text += (upper ? "0123456789ABCDEF" : "0123456789abcdef")[random.Below(16)];
    }
    return text;
}

struct ManifestFields {
    std::string mark, version, url, size, sha256;
    std::uint64_t versionNumber = 0, sizeNumber = 0;
};

ManifestFields RandomFields(Random& random) {
    ManifestFields f;
    f.mark = random.Chance(70) ? "tvcm" : fuzz::RandomAscii(random, 12);
    std::erase_if(f.mark, [](char c) { return c == '"' || c == '\'' || c == '<' || c == '&'; });
    if (f.mark.empty()) {
        f.mark = "m";
    }
    const std::size_t parts = 1 + random.Below(4);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto part = static_cast<std::uint32_t>(random.Chance(20) ? 65535 : random.Below(300));
        f.versionNumber = f.versionNumber << 16 | (i < parts ? part : 0);
        if (i < parts) {
            f.version += (i > 0 ? "." : "") + std::to_string(part);
        }
    }
    f.url = std::string(random.Chance(50) ? "http://" : "https://") +
            (random.Chance(50) ? "127.0.0.1:4040" : "updates.velmora.example") + "/packages/" +
            "setup-" + std::to_string(random.Below(1000)) + ".exe";
    f.sizeNumber =
        static_cast<std::uint64_t>(random.Between(1, static_cast<std::int64_t>(kMaxPackageSize)));
    f.size = std::to_string(f.sizeNumber);
    f.sha256 = Hex(random, 64, random.Chance(30));
    return f;
}

std::string ManifestText(Random& random, const ManifestFields& f) {
    const char quote = random.Chance(80) ? '"' : '\'';
    const auto attribute = [&](const std::string& name, const std::string& value) {
        return (random.Chance(80) ? " " : "\n\t ") + name + "=" + quote + value + quote;
    };
    std::vector<std::string> attributes = {
        attribute("mark", f.mark), attribute("version", f.version), attribute("url", f.url),
        attribute("size", f.size), attribute("sha256", f.sha256)};
    if (random.Chance(30)) {
        attributes.push_back(attribute("note", "anything"));
    }
    std::shuffle(attributes.begin(), attributes.end(), std::mt19937(random.Word()));
    std::string text = random.Chance(20) ? "\xEF\xBB\xBF" : "";
    if (random.Chance(70)) {
        text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    }
    text += "<update";
    for (const std::string& a : attributes) {
        text += a;
    }
    text += random.Chance(80) ? "/>" : "></update>";
    return text + (random.Chance(30) ? "\r\n" : "");
}

TEST(FuzzTexts, UpdateManifestsReadBackWholeOrAreRejectedWhole) {
    Tally tally("update manifest (versync)");
    Random random(0x3A1F);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const ManifestFields f = RandomFields(random);
        const std::string text = ManifestText(random, f);
        if (n % 3 == 0) {
            const auto manifest = ParseUpdateManifest(text);
            std::string lowered = f.sha256;
            std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                           [](char c) { return static_cast<char>(std::tolower(c)); });
            if (!manifest || manifest->mark != f.mark || manifest->version != f.version ||
                manifest->versionNumber != f.versionNumber || manifest->url != f.url ||
                manifest->size != f.sizeNumber || manifest->sha256 != lowered) {
                tally.Fault("manifest not read back: " + text);
            }
            continue;
        }
        const std::string mutated = fuzz::MutateBytes(random, text);
        const auto manifest = ParseUpdateManifest(mutated);
        if (!manifest) {
            tally.Rejected();
            continue;
        }
        // What is accepted is safe to download and to pass on the updater's command line.
        if (manifest->mark.empty() || !ParseProductVersion(manifest->version) ||
            *ParseProductVersion(manifest->version) != manifest->versionNumber ||
            !IsAcceptablePackageUrl(manifest->url) || manifest->size == 0 ||
            manifest->size > kMaxPackageSize || !IsSha256Hex(manifest->sha256) ||
            std::any_of(manifest->sha256.begin(), manifest->sha256.end(),
                        [](char c) { return c >= 'A' && c <= 'F'; })) {
            tally.Fault("accepted manifest with unusable fields: " + mutated);
        }
    }
}

TEST(FuzzTexts, ProductVersionsCompareLikeTheirParts) {
    Tally tally("product version (manifest)");
    Random random(0x7E25);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const ManifestFields a = RandomFields(random);
        const ManifestFields b = RandomFields(random);
        const auto va = ParseProductVersion(a.version);
        const auto vb = ParseProductVersion(b.version);
        if (!va || !vb || *va != a.versionNumber || *vb != b.versionNumber) {
            tally.Fault("version " + a.version + " or " + b.version + " misread");
            continue;
        }
        const std::string mutated = fuzz::MutateBytes(random, a.version);
        const auto odd = ParseProductVersion(mutated);
        if (!odd) {
            tally.Rejected();
            continue;
        }
        // An accepted text is digits and dots only, and its number spells it back.
        char spelled[32];
        std::snprintf(spelled, sizeof(spelled), "%u.%u.%u.%u", static_cast<unsigned>(*odd >> 48),
                      static_cast<unsigned>(*odd >> 32 & 0xFFFF),
                      static_cast<unsigned>(*odd >> 16 & 0xFFFF),
                      static_cast<unsigned>(*odd & 0xFFFF));
        if (mutated.find_first_not_of("0123456789.") != std::string::npos ||
            ParseProductVersion(spelled) != odd) {
            tally.Fault("version \"" + mutated + "\" accepted as " + spelled);
        }
    }
}

// The words CommandLineToArgvW makes of a command-line tail: blanks separate words outside
// quotes; 2n backslashes before a quote give n and the quote toggles quoting, 2n+1 give n and a
// literal quote; other backslashes are literal.
std::vector<std::wstring> SplitLikeWindows(const std::wstring& line) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (c == L'\\') {
            std::size_t slashes = 0;
            while (i < line.size() && line[i] == L'\\') {
                ++slashes, ++i;
            }
            if (i < line.size() && line[i] == L'"') {
                word.append(slashes / 2, L'\\');
                if (slashes % 2 == 1) {
                    word += L'"';
                } else {
                    quoted = !quoted;
                }
            } else {
                word.append(slashes, L'\\');
                --i;
            }
            inWord = true;
        } else if (c == L'"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == L' ' || c == L'\t') && !quoted) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::wstring RandomProgramPath(Random& random) {
    std::wstring path = random.Chance(80) ? L"C:\\Program Files (x86)\\Velmora\\" : L"\\\\srv\\";
    const std::wstring folder = fuzz::RandomWide(random, 20);
    for (wchar_t c : folder) {
        if (c != L'"' && c != L'\0') {
            path += c;
        }
    }
    return path + L"\\Velmora.exe";
}

TEST(FuzzTexts, UpdaterCommandLinesReadBackThroughWindowsWordSplitting) {
    Tally tally("updater arguments (command line)");
    Random random(0x7FDA);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const ManifestFields f = RandomFields(random);
        UpdaterArguments a;
        a.waitProcessId = random.Word();
        a.url = f.url;
        a.size = f.sizeNumber;
        a.sha256 = std::string(f.sha256);
        std::transform(a.sha256.begin(), a.sha256.end(), a.sha256.begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
        a.restartPath = RandomProgramPath(random);
        const std::wstring line = FormatUpdaterArguments(a);
        const auto parsed = ParseUpdaterArguments(SplitLikeWindows(line));
        if (!parsed || parsed->waitProcessId != a.waitProcessId || parsed->url != a.url ||
            parsed->size != a.size || parsed->sha256 != a.sha256 ||
            parsed->restartPath != a.restartPath) {
            tally.Fault("command line \"" + fuzz::Printable(line) + "\" not read back");
            continue;
        }
        std::vector<std::wstring> words = SplitLikeWindows(fuzz::MutateWide(random, line));
        if (random.Chance(30) && !words.empty()) {
            words[random.Below(words.size())] = fuzz::MutateWide(random, words[0]);
        }
        const auto odd = ParseUpdaterArguments(words);
        if (!odd) {
            tally.Rejected();
            continue;
        }
        const bool drive = odd->restartPath.size() >= 3 && odd->restartPath[1] == L':';
        const bool unc = odd->restartPath.rfind(L"\\\\", 0) == 0;
        if (!IsAcceptablePackageUrl(odd->url) || !IsSha256Hex(odd->sha256) || odd->size == 0 ||
            odd->size > kMaxPackageSize || (!drive && !unc) ||
            odd->restartPath.find(L'"') != std::wstring::npos) {
            tally.Fault("accepted unusable arguments");
        }
    }
}

TEST(FuzzTexts, UpdateSettingsMakeARequestAddressWithoutRawBytes) {
    Tally tally("update settings (versync)");
    Random random(0x5E7);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        VersyncSettings s;
        const auto text = [&random](const char* plausible) {
            return random.Chance(60) ? std::string(plausible)
                                     : fuzz::MutateBytes(random, std::string(plausible));
        };
        s.processRootPath = text("C:\\Program Files\\Velmora");
        s.processFileName = text("Velmora.exe");
        s.updateRootPath = text("C:\\Program Files\\Velmora\\update");
        s.updaterFileName = text("TVUpdater.exe");
        s.configFileName = text("update.ini");
        s.softwareMark = text("tvcm");
        s.machineId = random.Chance(50) ? text("0123456789ABCDE") : fuzz::RandomBytes(random, 40);
        s.serverAddress = text("updates.velmora.example");
        s.serverPort =
            random.Chance(60) ? static_cast<int>(random.Between(1, 65535)) : random.Hostile32();
        s.unionId = random.Hostile32();
        s.unionIdSet = random.Chance(90);
        if (!CanCheck(s)) {
            tally.Rejected();
            continue;
        }
        for (const char* suffix : {"", ".sig"}) {
            const std::string url = ManifestUrl(s, suffix);
            // Escaped: nothing but visible ASCII, no blank, quote or angle bracket.
            const bool raw = std::any_of(url.begin(), url.end(), [](char c) {
                const auto u = static_cast<unsigned char>(c);
                return u <= 0x20 || u >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\';
            });
            if (raw || url.rfind("http://" + s.serverAddress + ":", 0) != 0) {
                tally.Fault("request address \"" + url + "\"");
            }
        }
        if (!IsPlainFileName(s.updaterFileName) || !IsPlainFileName(s.configFileName)) {
            tally.Fault("a file name with a folder part accepted");
        }
    }
}

TEST(FuzzTexts, MachineKeysGiveAFixedLengthIdentityIgnoringLetterCase) {
    Tally tally("machine identity (registry key)");
    Random random(0x1D);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const std::wstring key =
            random.Chance(50) ? fuzz::MutateWide(random, L"6f1d2e3c-4b5a-4978-8695-a4b3c2d1e0f9")
                              : fuzz::RandomWide(random, 80);
        const std::string identity = IdentityText(key);
        if (key.empty()) {
            tally.Rejected();
            if (!identity.empty()) {
                tally.Fault("an identity for no key");
            }
            continue;
        }
        if (identity.size() != kIdentityLength ||
            identity.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
            tally.Fault("identity \"" + identity + "\"");
        }
        std::wstring upper = key;
        for (wchar_t& c : upper) {
            c = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
        }
        if (IdentityText(upper) != identity) {
            tally.Fault("the same key in capitals gives another identity");
        }
    }
}

std::vector<std::uint8_t> PictureHeader(Random& random, std::uint32_t width, std::uint32_t height,
                                        bool png) {
    std::vector<std::uint8_t> bytes;
    if (png) {
        bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        for (std::uint32_t v : {width, height}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                bytes.push_back(static_cast<std::uint8_t>(v >> shift));
            }
        }
    } else {
        const char* tag = random.Chance(50) ? "GIF89a" : "GIF87a";
        bytes.assign(tag, tag + 6);
        for (std::uint32_t v : {width, height}) {
            bytes.push_back(static_cast<std::uint8_t>(v));
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    const std::size_t rest = random.Below(64);
    for (std::size_t i = 0; i < rest; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(random.Word()));
    }
    return bytes;
}

TEST(FuzzTexts, PictureHeadersGiveTheirSizeOrNothing) {
    Tally tally("picture headers (PNG/GIF)");
    Random random(0x1346);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const bool png = random.Chance(50);
        const std::uint32_t limit = png ? 0x7FFFFFFFu : 0xFFFFu;
        const auto width = static_cast<std::uint32_t>(random.Between(1, limit));
        const auto height = static_cast<std::uint32_t>(
            random.Chance(50) ? random.Between(1, 400) : random.Between(1, limit));
        std::vector<std::uint8_t> bytes = PictureHeader(random, width, height, png);
        const auto size = skin::ReadImageSize(bytes.data(), bytes.size());
        if (!size || size->width != static_cast<int>(width) ||
            size->height != static_cast<int>(height)) {
            tally.Fault("header of " + std::to_string(width) + " x " + std::to_string(height) +
                        " misread");
        }
        // A header cut short is never read past its end (ASan watches the copy's bounds).
        const std::vector<std::uint8_t> cut(
            bytes.begin(),
            bytes.begin() + static_cast<std::ptrdiff_t>(random.Below(png ? 24 : 10)));
        if (skin::ReadImageSize(cut.data(), cut.size())) {
            tally.Fault("a truncated header gave a size");
        }
        const std::vector<std::uint8_t> mutated = fuzz::MutateBytes(random, bytes);
        const auto odd = skin::ReadImageSize(mutated.data(), mutated.size());
        if (!odd) {
            tally.Rejected();
        } else if (odd->width < 1 || odd->height < 1) {
            tally.Fault("a size below one pixel");
        }
    }
}

}  // namespace
