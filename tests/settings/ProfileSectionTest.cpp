// Reading numbers from a section's "name=value" list as GetPrivateProfileInt reads them key by
// key. The expected numbers are what Wine's GetPrivateProfileIntW returned for the same values.
#include "settings/core/ProfileSection.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A section buffer holding one entry.
std::wstring One(const std::wstring& entry) {
    std::wstring text = entry;
    text.push_back(L'\0');
    text.push_back(L'\0');
    return text;
}

// A section buffer holding the entries, each ending in a NUL, and the empty entry after them.
std::wstring Entries(std::initializer_list<const wchar_t*> entries) {
    std::wstring text;
    for (const wchar_t* entry : entries) {
        text += entry;
        text.push_back(L'\0');
    }
    text.push_back(L'\0');
    return text;
}

std::int32_t ValueOf(const std::wstring& value) {
    return ProfileSection(One(L"Key=" + value)).Int(L"Key", -99);
}

TEST(ProfileSection, NumbersAreReadWithPrefixesSignsAndThirtyTwoBitWrapping) {
    EXPECT_EQ(ValueOf(L"12"), 12);
    EXPECT_EQ(ValueOf(L"0x10"), 16);
    EXPECT_EQ(ValueOf(L"0X10"), 0);  // only a lower-case prefix counts
    EXPECT_EQ(ValueOf(L"0b101"), 5);
    EXPECT_EQ(ValueOf(L"0o17"), 15);
    EXPECT_EQ(ValueOf(L"010"), 10);
    EXPECT_EQ(ValueOf(L"\t  -5"), -5);
    EXPECT_EQ(ValueOf(L"+7"), 7);
    EXPECT_EQ(ValueOf(L"-0x10"), -16);
    EXPECT_EQ(ValueOf(L"12abc"), 12);
    EXPECT_EQ(ValueOf(L"4294967297"), 1);
    EXPECT_EQ(ValueOf(L"99999999999999"), 276447231);
    EXPECT_EQ(ValueOf(L"0xfffffffff"), -1);
    EXPECT_EQ(ValueOf(L"-2147483648"), INT32_MIN);
    for (const wchar_t* nothing : {L"-", L"0x", L"z", L"- 5", L"--5", L"'12"}) {
        EXPECT_EQ(ValueOf(nothing), 0) << nothing;
    }
}

TEST(ProfileSection, QuotesAndTheTwentyNineCharacterBufferAreTheProfileFunctions) {
    EXPECT_EQ(ValueOf(L"'9'"), 9);
    EXPECT_EQ(ValueOf(L"\"11\""), 11);
    EXPECT_EQ(ValueOf(L"\" 5\""), 5);
    EXPECT_EQ(ValueOf(L"'7\""), 0);    // quotes that do not match stay
    EXPECT_EQ(ValueOf(L"\"\""), -99);  // nothing left: the default
    EXPECT_EQ(ValueOf(L"''"), -99);
    // 28 and 29 digits in quotes both keep 28 digits; 33 plain digits keep 29.
    EXPECT_EQ(ValueOf(L"\"1234567890123456789012345678\""), -1103563954);
    EXPECT_EQ(ValueOf(L"\"12345678901234567890123456789\""), -1103563954);
    EXPECT_EQ(ValueOf(L"123456789012345678901234567890123"), 1849262357);
}

TEST(ProfileSection, TheFirstEntryOfANameCountsWhateverItsCase) {
    std::wstring text = Entries({L"NoEq", L"noeq=5", L"Dup=1", L"DUP=2", L"Empty=", L"Equals==3"});
    text += L"After=4";  // past the list's end
    const ProfileSection section(text);
    EXPECT_EQ(section.Int(L"NOEQ", 77), 77);  // the entry without "=" comes first
    EXPECT_EQ(section.Int(L"dup", 0), 1);
    EXPECT_EQ(section.Int(L"Empty", 6), 6);
    EXPECT_EQ(section.Int(L"Equals", 0), 0);  // the value is "=3"
    EXPECT_EQ(section.Int(L"After", 8), 8);
    EXPECT_EQ(section.Int(L"Missing", 9), 9);
    // The text is the first entry's as the file holds it.
    ASSERT_NE(section.Text(L"dup"), nullptr);
    EXPECT_EQ(*section.Text(L"dup"), L"1");
    EXPECT_EQ(section.Text(L"NoEq"), nullptr);
    EXPECT_EQ(*section.Text(L"Equals"), L"=3");
    EXPECT_EQ(section.Text(L"After"), nullptr);
}

TEST(ProfileSection, BlanksAroundNamesAndValuesAreIgnoredAsTheFileLoaderIgnoresThem) {
    EXPECT_EQ(ProfileSection(One(L"Fan =5")).Int(L"Fan", -1), 5);
    EXPECT_EQ(ProfileSection(One(L" Fan= 5")).Int(L"Fan", -1), 5);
    // A quoted value keeps its quotes' meaning with blanks around it.
    EXPECT_EQ(ProfileSection(One(L"\tFan\x1A=\v'7'\f ")).Int(L"Fan", -1), 7);
    // A name of blanks alone is no name, and an entry without "=" stays one.
    EXPECT_EQ(ProfileSection(One(L" Fan ")).Int(L"Fan", -1), -1);
    EXPECT_EQ(ProfileSection(One(L"Fan=  ")).Int(L"Fan", -1), -1);
    // Blanks inside a name, and Unicode spaces the profile functions keep, are part of it.
    EXPECT_EQ(ProfileSection(One(L"F an=5")).Int(L"Fan", -1), -1);
    EXPECT_EQ(ProfileSection(One(L"Fan\u3000=5")).Int(L"Fan", -1), -1);
    EXPECT_EQ(ProfileSection(One(L"Fan=\u00A0'5'")).Int(L"Fan", -1), 0);
}

TEST(ProfileSection, ABufferWithoutItsFinalEntryIsReadToItsEnd) {
    const std::wstring text = L"A=1";  // no terminating NULs at all
    EXPECT_EQ(ProfileSection(text).Int(L"A", 0), 1);
    EXPECT_EQ(ProfileSection(std::wstring()).Int(L"A", 5), 5);
}

// What the section holds after a write must be what the file holds: a save that trusts it
// leaves alone the keys it finds already holding their text.
TEST(ProfileSection, AWriteChangesWhatTheNextReadSeesAsTheProfileFunctionsChangeTheFile) {
    ProfileSection section(Entries({L"NoEq", L"Dup=1", L"DUP=2"}));
    const std::wstring five = L"5";
    const std::wstring seven = L" 7 ";
    section.Write(L"dup", &five);
    EXPECT_EQ(*section.Text(L"Dup"), L"5");
    section.Write(L"NOEQ", &seven);  // an entry without "=" takes the value
    EXPECT_EQ(*section.Text(L"NoEq"), L"7");
    section.Write(L"New", &five);
    EXPECT_EQ(section.Int(L"new", 0), 5);
    // Removing the first entry of a name leaves the next one the first.
    section.Write(L"Dup", nullptr);
    EXPECT_EQ(*section.Text(L"dup"), L"2");
    section.Write(L"Dup", nullptr);
    EXPECT_EQ(section.Text(L"dup"), nullptr);
    section.Write(L"Missing", nullptr);
    EXPECT_EQ(section.Int(L"New", 0), 5);
}

}  // namespace
