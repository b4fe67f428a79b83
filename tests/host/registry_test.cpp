#include "host/registry.h"

#include "host/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace korvanta {
namespace {

// Every key the tests make lies under this name in its root, and goes again afterwards.
const std::string kKey = "Software\\KorvantaTest";
const char kAbsent[] = "<absent>";

struct Stored {
    HKEY root;
    std::string key;
    std::string value; // "" for the unnamed value
    DWORD type;
    std::string data; // UTF-8 for the string types, which are stored in UTF-16; bytes otherwise
    // Units at the end of data left out of the stored count. Wine's RegSetValueExW stores a
    // string's NUL when it follows the counted units, so an unterminated value needs one.
    size_t hidden = 0;
};

std::wstring Units(const std::string &utf8) {
    std::wstring units(utf8.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      units.data(), static_cast<int>(units.size()));
    units.resize(n > 0 ? n : 0);
    return units;
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

bool Store(const Stored &s) {
    RegistryKey key;
    const std::wstring value = Units(s.value);
    std::string bytes = s.data;
    size_t hidden = s.hidden;
    if (IsString(s.type)) {
        const std::wstring units = Units(s.data);
        bytes.assign(reinterpret_cast<const char *>(units.data()), units.size() * sizeof(wchar_t));
        hidden *= sizeof(wchar_t);
    }
    return RegCreateKeyExW(s.root, Units(s.key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                           key.Receive(), nullptr) == ERROR_SUCCESS &&
           RegSetValueExW(key.get(), value.empty() ? nullptr : value.c_str(), 0, s.type,
                          reinterpret_cast<const BYTE *>(bytes.data()),
                          static_cast<DWORD>(bytes.size() - hidden)) == ERROR_SUCCESS;
}

std::string Sz(const std::string &text) {
    return text + '\0';
}

std::string Read(int32_t code, const std::string &path, const char *fallback = "default") {
    Text found = ReadRegistryText(code, path.c_str(), fallback);
    return found.absent() ? kAbsent : found.get();
}

std::string SystemDrive() {
    char drive[MAX_PATH] = {};
    GetEnvironmentVariableA("SystemDrive", drive, MAX_PATH);
    return drive;
}

class RegistryLookup : public ::testing::Test {
protected:
    void TearDown() override {
        for (HKEY root :
             {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CURRENT_CONFIG, HKEY_CLASSES_ROOT})
            RegDeleteTreeA(root, kKey.c_str());
        RegDeleteTreeA(HKEY_USERS, (".DEFAULT\\" + kKey).c_str());
        RegDeleteValueA(HKEY_CURRENT_USER, "KorvantaTestValue");
    }
};

TEST_F(RegistryLookup, ValuesOfEachTypeAndShape) {
    const DWORD number = 42;
    // Characters of no single code page, one of them outside the BMP: the path crosses as UTF-16.
    const std::string wide = "键𠀀\u00FF";
    const std::string game = kKey + "\\Game";
    const Stored stored[] = {
        {HKEY_LOCAL_MACHINE, kKey + "\\CrossFire", "InstallPath", REG_SZ, Sz("D:\\Games\\CF")},
        {HKEY_CURRENT_USER, game, "Expand", REG_EXPAND_SZ, Sz("%SystemDrive%\\CF")},
        {HKEY_CURRENT_USER, game, "Dword", REG_DWORD, std::string((const char *)&number, 4)},
        {HKEY_CURRENT_USER, game, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
        {HKEY_CURRENT_USER, game, "Binary", REG_BINARY, "D:\\CF"},
        {HKEY_CURRENT_USER, game, "Empty", REG_SZ, Sz("")},
        {HKEY_CURRENT_USER, game, "SizeZero", REG_SZ, ""},
        {HKEY_CURRENT_USER, game, "", REG_SZ, Sz("unnamed")},
        {HKEY_CURRENT_USER, game, "Game", REG_SZ, Sz("named")},
        {HKEY_CURRENT_USER, "", "KorvantaTestValue", REG_SZ, Sz("at the root")},
        {HKEY_CURRENT_USER, game + "\\Wide" + wide, "Name" + wide, REG_SZ, Sz("wide")},
        {HKEY_CURRENT_USER, game, "Chinese", REG_SZ, Sz("D:\\游戏\\穿越火线")},
        {HKEY_CURRENT_USER, game, "Outside", REG_SZ, Sz("D:\\Jeux \u00E9t\u00E9 \u0416 😀")},
        {HKEY_CURRENT_USER, game, "LoneSurrogate", REG_BINARY, ""},
        {HKEY_CURRENT_USER, game, "Long", REG_SZ, Sz(std::string(5000, 'L') + "end")},
        {HKEY_CURRENT_USER, game, "Slot", REG_SZ, Sz(std::string(511, 'S'))},
    };
    for (const Stored &s : stored)
        ASSERT_TRUE(Store(s)) << s.value;
    const wchar_t lone[] = L"D:\\CF\xD800";
    {
        RegistryKey key;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_CURRENT_USER, Units(game).c_str(), 0, KEY_WRITE, key.Receive()),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), L"LoneSurrogate", 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>(lone), sizeof lone),
                  ERROR_SUCCESS);
    }
    struct Case {
        int32_t code;
        std::string path;
        const char *fallback;
        std::string expected;
    };
    const Case cases[] = {
        {4, kKey + "\\CrossFire\\InstallPath", "您的电脑未安装穿越火线", "D:\\Games\\CF"},
        {4, kKey + "\\NoCrossFire\\InstallPath", "您的电脑未安装穿越火线",
         "您的电脑未安装穿越火线"},
        {3, game + "\\Expand", "default", SystemDrive() + "\\CF"},
        {3, game + "\\Dword", "default", "default"},
        {3, game + "\\Multi", "default", "default"},
        {3, game + "\\Binary", "default", "default"},
        {3, game + "\\Empty", "default", kAbsent}, // present but empty: not the default
        {3, game + "\\SizeZero", "default", "default"},
        {3, game + "\\Missing", "default", "default"},
        {3, game + "\\Missing", nullptr, kAbsent},
        {3, game + "\\Missing", "", kAbsent},
        {3, game + "\\", "default", "unnamed"},
        {3, "KorvantaTestValue", "default", "at the root"},
        {3, game + "\\Wide" + wide + "\\Name" + wide, "default", "wide"},
        {3, game + "\\Chinese", "default", "D:\\游戏\\穿越火线"},
        {3, game + "\\Outside", "default", "D:\\Jeux \u00E9t\u00E9 \u0416 😀"},
        // No UTF-8 form: the value names nothing the program could use.
        {3, game + "\\LoneSurrogate", "default", "default"},
        {3, game + "\\Long", "default", std::string(5000, 'L') + "end"},
        {3, game + "\\Slot", "default", std::string(511, 'S')},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Read(c.code, c.path, c.fallback), c.expected) << c.path;
    const char *fallback = "default"; // the default comes back as a copy of its own
    Text copy = ReadRegistryText(3, (game + "\\Missing").c_str(), fallback);
    EXPECT_NE(copy.get(), fallback);
}

TEST_F(RegistryLookup, RootCodes) {
    const std::string path = kKey + "\\Root";
    const std::pair<HKEY, const char *> roots[] = {{HKEY_CURRENT_USER, "user"},
                                                   {HKEY_LOCAL_MACHINE, "machine"},
                                                   {HKEY_CURRENT_CONFIG, "config"},
                                                   {HKEY_CLASSES_ROOT, "classes"}};
    for (const auto &[root, data] : roots)
        ASSERT_TRUE(Store({root, path, "Which", REG_SZ, Sz(data)})) << data;
    ASSERT_TRUE(Store({HKEY_USERS, ".DEFAULT\\" + path, "Which", REG_SZ, Sz("users")}));
    const std::pair<int32_t, const char *> cases[] = {{0, "user"},    {3, "user"},   {6, "user"},
                                                      {-1, "user"},   {2, "config"}, {4, "machine"},
                                                      {1, "classes"}, {5, "default"}};
    for (const auto &[code, expected] : cases)
        EXPECT_EQ(Read(code, path + "\\Which"), expected) << code;
    EXPECT_EQ(Read(5, ".DEFAULT\\" + path + "\\Which"), "users");
}

TEST_F(RegistryLookup, StringsWithoutTerminatorEndWithTheirData) {
    // Strings are read in UTF-16: a slot of 512 bytes holds 255 units and the terminator.
    const std::string slot_filler(250, 'X'), heap_filler(1100, 'X'), raw(1000, 'R');
    struct Case {
        const char *value;
        DWORD type;
        std::string stored; // its last byte is not part of the value
        const std::string &filler;
        std::string expected;
    };
    const Case cases[] = {
        {"Short", REG_SZ, "abcZ", slot_filler, "abc"},
        {"Expand", REG_EXPAND_SZ, "%SystemDrive%Z", slot_filler, SystemDrive()},
        {"Inner", REG_SZ, std::string("ab\0cdZ", 6), slot_filler, "ab"},
        {"Full", REG_SZ, std::string(255, 'F') + "Z", slot_filler, std::string(255, 'F')},
        {"Long", REG_SZ, raw + "Z", heap_filler, raw},
    };
    const std::string raw_key = kKey + "\\Raw";
    ASSERT_TRUE(Store({HKEY_CURRENT_USER, raw_key, "SlotFiller", REG_SZ, Sz(slot_filler)}));
    ASSERT_TRUE(Store({HKEY_CURRENT_USER, raw_key, "HeapFiller", REG_SZ, Sz(heap_filler)}));
    for (const Case &c : cases)
        ASSERT_TRUE(Store({HKEY_CURRENT_USER, raw_key, c.value, c.type, c.stored, 1}));
    // Each read first leaves its scratch buffer full of X, so a byte read past the data shows.
    for (const Case &c : cases) {
        const char *filler = &c.filler == &slot_filler ? "\\SlotFiller" : "\\HeapFiller";
        ASSERT_EQ(Read(3, raw_key + filler), c.filler);
        EXPECT_EQ(Read(3, raw_key + "\\" + c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace korvanta
