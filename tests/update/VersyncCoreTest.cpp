// The update library's pure parts: the manifest it believes once signed, versions, the updater's
// command line and the settings a check needs.
#include "libs/versync/core/ProductVersion.h"
#include "libs/versync/core/UpdateManifest.h"
#include "libs/versync/core/UpdaterArguments.h"
#include "libs/versync/core/VersyncSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kDigest(64, 'a');

std::string Manifest(const std::string& attributes) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<update " + attributes + "/>\n";
}

std::string Attributes(const std::string& version = "1.2.0.0",
                       const std::string& url = "http://127.0.0.1:4040/p/setup.exe",
                       const std::string& size = "1234", const std::string& sha = kDigest) {
    return "mark=\"tvcm\" version=\"" + version + "\" url=\"" + url + "\" size=\"" + size +
           "\" sha256=\"" + sha + "\"";
}

TEST(UpdateManifest, ReadsEveryFieldOfAWellFormedManifest) {
    const auto m = ParseUpdateManifest(
        Manifest(Attributes("1.2.3", "https://h/setup.exe", "77", std::string(64, 'F'))));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->mark, "tvcm");
    EXPECT_EQ(m->version, "1.2.3");
    EXPECT_EQ(m->versionNumber, *ParseProductVersion("1.2.3.0"));
    EXPECT_EQ(m->url, "https://h/setup.exe");
    EXPECT_EQ(m->size, 77u);
    EXPECT_EQ(m->sha256, std::string(64, 'f'));
    // A byte-order mark, no declaration, single quotes, an explicit end tag, unknown attributes.
    EXPECT_TRUE(ParseUpdateManifest("\xEF\xBB\xBF<update " + Attributes() + "/>"));
    EXPECT_TRUE(
        ParseUpdateManifest("<update mark='tvcm' version='1' url='http://h/x' size='1' "
                            "sha256='" +
                            kDigest + "' note='x'></update>"));
}

TEST(UpdateManifest, RejectsAnythingItCannotReadWhole) {
    const std::vector<std::string> bad = {
        "",
        Manifest(Attributes()).substr(0, 60),    // truncated
        Manifest(Attributes() + " size=\"1\""),  // repeated attribute
        Manifest(Attributes("1.2.0.0.1")),       // five version parts
        Manifest(Attributes("1.x")),
        Manifest(Attributes("1.0", "ftp://h/setup.exe")),         // not http
        Manifest(Attributes("1.0", "http://h/set up.exe")),       // blank in the address
        Manifest(Attributes("1.0", "http://h/\"x")),              // quote in the address
        Manifest(Attributes("1.0", "http:///setup.exe")),         // no host
        Manifest(Attributes("1.0", "http://h/x", "0")),           // empty package
        Manifest(Attributes("1.0", "http://h/x", "4294967296")),  // beyond the size limit
        Manifest(Attributes("1.0", "http://h/x", "-1")),
        Manifest(Attributes("1.0", "http://h/x", "1", kDigest.substr(1))),
        Manifest(Attributes("1.0", "http://h/x", "1", std::string(64, 'g'))),
        Manifest(Attributes("1.0", "http://h/x&amp;y")),  // entities are not read
        "<update mark=\"tvcm\" version=\"1\" url=\"http://h/x\" size=\"1\"/>",  // no digest
        Manifest(Attributes()) + "<update/>",                                   // a second element
        "<!-- x -->" + Manifest(Attributes()),
        "<updates " + Attributes() + "/>",
        "<update " + Attributes() + ">junk</update>",
        "<update " + Attributes(),               // never closed
        "<update mark=\"tvcm\"version=\"1\"/>",  // no blank between
    };
    for (const std::string& text : bad) {
        EXPECT_FALSE(ParseUpdateManifest(text)) << text;
    }
}

TEST(ProductVersion, ComparesPartByPartWithMissingPartsZero) {
    EXPECT_EQ(ParseProductVersion("1.2"), ParseProductVersion("1.2.0.0"));
    EXPECT_LT(*ParseProductVersion("1.2.0.9"), *ParseProductVersion("1.10"));
    EXPECT_LT(*ParseProductVersion("1.65535.65535.65535"), *ParseProductVersion("2"));
    EXPECT_EQ(*ParseProductVersion("2.0.0.1"), ProductVersionFromResource(0x20000, 0x1));
    EXPECT_EQ(*ParseProductVersion("65535.65535.65535.65535"), ~0ull);
    for (const char* bad :
         {"", ".", "1.", ".1", "1..2", "1.2.3.4.5", "65536", "1.-2", "+1", " 1", "1 ", "000001"}) {
        EXPECT_FALSE(ParseProductVersion(bad)) << bad;
    }
}

UpdaterArguments SomeArguments() {
    UpdaterArguments a;
    a.waitProcessId = 4242;
    a.url = "http://127.0.0.1:4040/p/setup.exe";
    a.size = 1234;
    a.sha256 = kDigest;
    a.restartPath = L"C:\\Program Files\\Velmora\\Velmora.exe";
    return a;
}

// The words the Windows command-line splitter makes of a tail without embedded quotes.
std::vector<std::wstring> Split(const std::wstring& tail) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    for (wchar_t c : tail + L" ") {
        if (c == L'"') {
            quoted = !quoted;
        } else if (c == L' ' && !quoted) {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    return words;
}

TEST(UpdaterArguments, WhatTheLibraryWritesTheUpdaterReadsBack) {
    const auto parsed = ParseUpdaterArguments(Split(FormatUpdaterArguments(SomeArguments())));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->waitProcessId, 4242u);
    EXPECT_EQ(parsed->url, SomeArguments().url);
    EXPECT_EQ(parsed->size, 1234u);
    EXPECT_EQ(parsed->sha256, kDigest);
    EXPECT_EQ(parsed->restartPath, SomeArguments().restartPath);
}

TEST(UpdaterArguments, RefusesMissingRepeatedUnknownOrUnsafeValues) {
    const std::vector<std::wstring> good = Split(FormatUpdaterArguments(SomeArguments()));
    auto with = [&good](std::size_t index, const std::wstring& value) {
        std::vector<std::wstring> words = good;
        words[index] = value;
        return words;
    };
    EXPECT_FALSE(ParseUpdaterArguments({}));
    EXPECT_FALSE(ParseUpdaterArguments(std::vector<std::wstring>(good.begin(), good.end() - 2)));
    EXPECT_FALSE(ParseUpdaterArguments(with(2, L"/wait")));        // repeated, /url missing
    EXPECT_FALSE(ParseUpdaterArguments(with(0, L"/run")));         // unknown switch
    EXPECT_FALSE(ParseUpdaterArguments(with(1, L"99999999999")));  // not a process id
    EXPECT_FALSE(ParseUpdaterArguments(with(3, L"file://C:/x.exe")));
    EXPECT_FALSE(ParseUpdaterArguments(with(3, L"http://h/\u00e9")));
    EXPECT_FALSE(ParseUpdaterArguments(with(5, L"0")));
    EXPECT_FALSE(ParseUpdaterArguments(with(7, L"abc")));
    EXPECT_FALSE(ParseUpdaterArguments(with(9, L"Velmora.exe")));  // not a full path
}

VersyncSettings CompleteSettings() {
    VersyncSettings s;
    s.processRootPath = "C:\\app";
    s.processFileName = "584Qbmzta7261k.wxyz";
    s.updateRootPath = "C:\\app\\update";
    s.updaterFileName = "TVUpdater.exe";
    s.configFileName = "Update.xml";
    s.softwareMark = "tvcm";
    s.machineId = "AB CD/1";
    s.serverAddress = "127.0.0.1";
    s.serverPort = 4040;
    s.unionId = 8899;
    s.unionIdSet = true;
    return s;
}

TEST(VersyncSettings, ACheckNeedsEveryFieldAndAUsableServer) {
    EXPECT_TRUE(CanCheck(CompleteSettings()));
    VersyncSettings noIdentity = CompleteSettings();
    noIdentity.machineId.clear();
    EXPECT_TRUE(CanCheck(noIdentity));

    std::vector<VersyncSettings> unusable(9, CompleteSettings());
    unusable[0].serverAddress.clear();
    unusable[1].serverPort = 0;
    unusable[2].serverPort = 65536;
    unusable[3].serverAddress = "h/../x";
    unusable[4].unionIdSet = false;
    unusable[5].updaterFileName = "..\\evil.exe";
    unusable[6].configFileName = "C:Update.xml";
    unusable[7].updateRootPath.clear();
    unusable[8].softwareMark.clear();
    for (std::size_t i = 0; i < unusable.size(); ++i) {
        EXPECT_FALSE(CanCheck(unusable[i])) << i;
    }
}

TEST(VersyncSettings, RequestNamesTheProductAndEscapesTheIdentity) {
    EXPECT_EQ(ManifestUrl(CompleteSettings(), ""),
              "http://127.0.0.1:4040/update/tvcm/manifest?union=8899&machine=AB%20CD%2F1");
    EXPECT_EQ(ManifestUrl(CompleteSettings(), ".sig"),
              "http://127.0.0.1:4040/update/tvcm/manifest.sig?union=8899&machine=AB%20CD%2F1");
}

}  // namespace
