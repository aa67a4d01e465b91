// The hotkey value: key names, the text form with its refusal, captures from key presses and Alt
// characters, values from the settings file, and the modifier flags for registration.
#include "shortcuts/core/HotKeyValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace {

using namespace shortcuts;

TEST(KeyName, OnlyArrowsDigitsLettersKeypadAndF1ToF12HaveNames) {
    EXPECT_EQ(GetKeyName(0x25), L"LEFT");
    EXPECT_EQ(GetKeyName(0x26), L"UP");
    EXPECT_EQ(GetKeyName(0x27), L"RIGHT");
    EXPECT_EQ(GetKeyName(0x28), L"DOWN");
    EXPECT_EQ(GetKeyName('0'), L"0");
    EXPECT_EQ(GetKeyName('9'), L"9");
    EXPECT_EQ(GetKeyName('A'), L"A");
    EXPECT_EQ(GetKeyName('Z'), L"Z");
    EXPECT_EQ(GetKeyName(0x60), L"NUM0");
    EXPECT_EQ(GetKeyName(0x69), L"NUM9");
    EXPECT_EQ(GetKeyName(0x70), L"F1");
    EXPECT_EQ(GetKeyName(0x79), L"F10");
    EXPECT_EQ(GetKeyName(0x7B), L"F12");

    // Every other code, including the neighbours of each range, has no name.
    std::set<unsigned> named;
    for (unsigned key = 0; key < 0x100; ++key) {
        if (!GetKeyName(key).empty()) {
            named.insert(key);
        }
    }
    EXPECT_EQ(named.size(), 4u + 10u + 26u + 10u + 12u);
    for (unsigned unnamed :
         {0x00u, 0x08u, 0x09u, 0x0Du, 0x10u, 0x11u, 0x12u, 0x1Bu, 0x20u, 0x24u, 0x29u,
          0x2Du, 0x2Fu, 0x3Au, 0x40u, 0x5Bu, 0x5Fu, 0x6Au, 0x6Fu, 0x7Cu, 0xFFu}) {
        EXPECT_EQ(named.count(unnamed), 0u) << unnamed;
    }
    EXPECT_TRUE(GetKeyName(0x141).empty());  // 'A' plus 0x100 is not 'A'
    EXPECT_TRUE(GetKeyName(UINT64_MAX).empty());
}

TEST(FormatHotKey, JoinsShiftCtrlAltAndTheKeyInThatOrder) {
    struct Case {
        HotKeyValue value;
        const wchar_t* text;
    };
    for (const Case& c :
         {Case{0x00111270, L"CTRL+ALT+F1"}, Case{0x10110035, L"SHIFT+CTRL+5"},
          Case{0x00001241, L"ALT+A"}, Case{0x10000070, L"SHIFT+F1"}, Case{0x00110028, L"CTRL+DOWN"},
          Case{0x00000041, L"A"}, Case{0x00111200, L"CTRL+ALT"}, Case{0x00111220, L"CTRL+ALT"},
          Case{0, L""}}) {
        const HotKeyText result = FormatHotKey(c.value);
        EXPECT_EQ(result.text, c.text) << std::hex << c.value;
        EXPECT_EQ(result.value, c.value) << std::hex << c.value;
    }
}

TEST(FormatHotKey, ShiftCtrlAltTogetherIsRefusedWithValueZero) {
    for (HotKeyValue value : {0x10111258u, 0x10111200u, 0x101112FFu}) {
        const HotKeyText result = FormatHotKey(value);
        EXPECT_TRUE(result.text.empty()) << std::hex << value;
        EXPECT_EQ(result.value, 0u) << std::hex << value;
    }
}

TEST(FormatHotKey, MarkerBytesHoldingAnythingElseShowNoModifier) {
    EXPECT_EQ(FormatHotKey(0x11121041).text, L"A");  // markers in the wrong bytes
    EXPECT_EQ(FormatHotKey(0x7F111241).text, L"CTRL+ALT+A");
    EXPECT_EQ(FormatHotKey(0x10FF1341).text, L"SHIFT+A");
    // A byte that merely contains its marker's bits is not the marker.
    EXPECT_EQ(FormatHotKey(0x30331341).text, L"A");
}

TEST(Capture, KeyDownTakesTheHeldModifiersAndAKeyAloneAsCtrlAlt) {
    EXPECT_EQ(CaptureKeyDown('A', false, true, true), 0x00111241u);
    EXPECT_EQ(CaptureKeyDown('A', false, true, true), 1118785u);  // what the file then holds
    EXPECT_EQ(CaptureKeyDown(0x70, false, true, true), 0x00111270u);
    EXPECT_EQ(CaptureKeyDown('5', true, true, false), 0x10110035u);
    EXPECT_EQ(CaptureKeyDown(0x27, true, false, false), 0x10000027u);
    EXPECT_EQ(CaptureKeyDown('Q', false, false, false), 0x00111251u);
    EXPECT_EQ(CaptureKeyDown(0x7B, false, false, false), 0x0011127Bu);
    // The refused combination is captured as is; the field's text form turns it into 0.
    EXPECT_EQ(CaptureKeyDown('X', true, true, true), 0x10111258u);
}

TEST(Capture, UnnamedKeysGiveNothingWhateverIsHeld) {
    for (unsigned key :
         {0x08u, 0x09u, 0x0Du, 0x10u, 0x11u, 0x12u, 0x1Bu, 0x20u, 0x24u, 0x2Du, 0x7Cu, 0x1041u}) {
        EXPECT_FALSE(CaptureKeyDown(key, false, false, false).has_value()) << key;
        EXPECT_FALSE(CaptureKeyDown(key, true, true, true).has_value()) << key;
    }
}

TEST(Capture, AltCharactersAreUpperCasedAndOnlyLettersAndDigitsCount) {
    EXPECT_EQ(CaptureAltCharacter('a', false, true), 0x00001241u);
    EXPECT_EQ(CaptureAltCharacter('A', false, true), 0x00001241u);
    EXPECT_EQ(CaptureAltCharacter('z', false, true), 0x0000125Au);
    EXPECT_EQ(CaptureAltCharacter('7', false, true), 0x00001237u);
    // Shift held with Alt belongs to the combination.
    EXPECT_EQ(CaptureAltCharacter('B', true, true), 0x10001242u);
    EXPECT_FALSE(CaptureAltCharacter('a', false, false).has_value());
    // Punctuation sharing its number with a named key ('%' = LEFT, '`' = NUM0, '{' = F12) and
    // anything outside the character range give nothing.
    for (std::int64_t c : {std::int64_t{'%'}, std::int64_t{'('}, std::int64_t{'`'},
                           std::int64_t{'{'}, std::int64_t{' '}, std::int64_t{0x141},
                           std::int64_t{-'a'}, std::int64_t{LLONG_MIN}, std::int64_t{LLONG_MAX}}) {
        EXPECT_FALSE(CaptureAltCharacter(c, false, true).has_value()) << c;
    }
}

TEST(StoredValue, IsBoundedToWhatACaptureCanProduce) {
    EXPECT_EQ(BoundHotKey(1118785), 0x00111241u);
    EXPECT_EQ(BoundHotKey(0x10110035), 0x10110035u);
    EXPECT_EQ(BoundHotKey(0x7F111241), 0x00111241u);
    EXPECT_EQ(BoundHotKey(0x10000070), 0x10000070u);
    EXPECT_EQ(BoundHotKey(0x00001241), 0x00001241u);
    EXPECT_EQ(BoundHotKey(0), 0u);
    // What would not register shows as no hotkey: modifiers without a named key, a bare key (also
    // one whose marker bytes hold something else), all three modifiers.
    EXPECT_EQ(BoundHotKey(0x00111200), 0u);
    EXPECT_EQ(BoundHotKey(0x00000041), 0u);
    EXPECT_EQ(BoundHotKey(65), 0u);
    EXPECT_EQ(BoundHotKey(0x20000043), 0u);
    EXPECT_EQ(BoundHotKey(0x10111241), 0u);
    // Nothing left that can be shown: no hotkey.
    for (std::int64_t stored :
         {std::int64_t{-1}, std::int64_t{INT_MIN}, std::int64_t{INT_MAX}, std::int64_t{0x7F7F7F20},
          std::int64_t{0x100000000}, std::int64_t{LLONG_MIN}, std::int64_t{LLONG_MAX}}) {
        EXPECT_EQ(BoundHotKey(stored), 0u) << stored;
    }
}

TEST(RegistrableHotKey, NeedsANamedKeyAndOneOrTwoModifiers) {
    EXPECT_TRUE(IsRegistrableHotKey(0x00111241));   // Ctrl+Alt+A
    EXPECT_TRUE(IsRegistrableHotKey(0x10000070));   // Shift+F1
    EXPECT_TRUE(IsRegistrableHotKey(0x10110028));   // Shift+Ctrl+Down
    EXPECT_TRUE(IsRegistrableHotKey(0x00001230));   // Alt+0
    EXPECT_FALSE(IsRegistrableHotKey(0x00000041));  // bare A
    EXPECT_FALSE(IsRegistrableHotKey(0x10111241));  // all three
    EXPECT_FALSE(IsRegistrableHotKey(0x00111200));  // no key
    EXPECT_FALSE(IsRegistrableHotKey(0x001112BA));  // a key without a name
    // Marker bytes holding anything else give no modifier.
    EXPECT_FALSE(IsRegistrableHotKey(0x7F7F7F41));
    EXPECT_FALSE(IsRegistrableHotKey(0x11101341));
}

TEST(RegisterModifiers, MapsTheThreeMarkersToTheSystemFlags) {
    EXPECT_EQ(RegisterModifiers(0x00111241), kModControl | kModAlt);
    EXPECT_EQ(RegisterModifiers(0x10000070), kModShift);
    EXPECT_EQ(RegisterModifiers(0x00001241), kModAlt);
    EXPECT_EQ(RegisterModifiers(0x7F7F7F41), 0u);
    EXPECT_EQ(kModAlt, 1u);
    EXPECT_EQ(kModControl, 2u);
    EXPECT_EQ(kModShift, 4u);
}

}  // namespace
