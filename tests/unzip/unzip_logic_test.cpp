#include "unzip/entry_fields.h"
#include "unzip/entry_name.h"
#include "unzip/paths.h"
#include "unzip/progress.h"
#include "unzip/signature.h"

#include "base/double_byte.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvanta {
namespace {

using namespace std::string_literals;

constexpr LeadBytePredicate GbkLead = &IsGbkLeadByte;
bool NoLead(unsigned char) {
    return false;
}

TEST(AttributeMapping, FollowsTheBitsOfBothHalves) {
    struct Case {
        uint32_t external;
        uint32_t expected;
    } cases[] = {
        {0x00000000, 0x81}, // DOS archive: owner-write bit clear, so read-only
        {0x00000010, 0x91}, {0x40000000, 0x91}, {0x00000020, 0xa1}, {0x00000002, 0x83},
        {0x00000004, 0x85}, {0x00000001, 0x81}, {0x00000008, 0x81}, // volume bit ignored
        {0x00800000, 0x80}, {0x00800001, 0x81}, // DOS read-only wins over owner-write
        {0x00800020, 0xa0}, {0x00800010, 0x90}, {0x81a40000, 0x80}, // Unix 0100644
        {0x81240000, 0x81},                                         // Unix 0100444
        {0x41ed0000, 0x90},                                         // Unix 040755
        {0x00000037, 0xb7},                                         // every DOS bit
        {0x40800006, 0x96},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MapExternalAttributes(c.external), c.expected) << std::hex << c.external;
}

struct UtCase {
    const char *what;
    std::string field;
    ExtendedTimes expected;
};

ExtendedTimes Times(int found, int32_t w, int32_t a, int32_t c) {
    ExtendedTimes t;
    t.has_write = found & 1;
    t.has_access = found & 2;
    t.has_creation = found & 4;
    t.write = t.has_write ? w : 0;
    t.access = t.has_access ? a : 0;
    t.creation = t.has_creation ? c : 0;
    return t;
}

TEST(ExtendedTimestamp, WalksToTheFirstUtBlockAndTakesWholeTimesOnly) {
    const std::string w = "\x10\x20\x30\x40"s;   // 0x40302010
    const std::string a = "\x11\x21\x31\x41"s;   // 0x41312111
    const std::string c = "\x12\x22\x32\x42"s;   // 0x42322212
    const std::string neg = "\xff\xff\xff\xff"s; // -1: before 1970
    const int32_t W = 0x40302010, A = 0x41312111, C = 0x42322212;
    const UtCase cases[] = {
        {"no field", "", Times(0, 0, 0, 0)},
        {"exactly four bytes", "UT\x01\x00"s, Times(0, 0, 0, 0)},
        {"write only", "UT\x05\x00\x01"s + w, Times(1, W, 0, 0)},
        {"all three, in order", "UT\x0d\x00\x07"s + w + a + c, Times(7, W, A, C)},
        {"access only", "UT\x05\x00\x02"s + a, Times(2, 0, A, 0)},
        {"write and creation", "UT\x09\x00\x05"s + w + c, Times(5, W, 0, C)},
        {"unknown flag bits", "UT\x05\x00\xf9"s + w, Times(1, W, 0, 0)},
        {"other block first", "\x0a\x00\x04\x00xxxxUT\x05\x00\x01"s + w, Times(1, W, 0, 0)},
        {"two other blocks",
         "ab\x00\x00"
         "cd\x01\x00"
         "zUT\x05\x00\x01"s +
             w,
         Times(1, W, 0, 0)},
        {"other block runs past the field", "\x0a\x00\x20\x00xxxxUT\x05\x00\x01"s + w,
         Times(0, 0, 0, 0)},
        {"UT header too close to the end", "ab\x00\x00UT\x01\x00"s, Times(0, 0, 0, 0)},
        {"first UT block wins", "UT\x05\x00\x01"s + w + "UT\x05\x00\x02"s + a, Times(1, W, 0, 0)},
        {"UT with no data", "UT\x00\x00\x07"s + w, Times(0, 0, 0, 0)},
        // Short blocks: a flag announces a time the block does not hold.
        {"block shorter than its flags", "UT\x05\x00\x07"s + w + a + c, Times(1, W, 0, 0)},
        {"block cut in a time", "UT\x07\x00\x03"s + w + a, Times(1, W, 0, 0)},
        {"field ends before the block", "UT\x0d\x00\x07"s + w + a.substr(0, 3), Times(1, W, 0, 0)},
        {"field ends inside the first time", "UT\x05\x00\x01\x10\x20"s, Times(0, 0, 0, 0)},
        {"time before 1970 is passed on", "UT\x05\x00\x01"s + neg, Times(1, -1, 0, 0)},
    };
    for (const UtCase &k : cases) {
        ExtendedTimes got = ReadExtendedTimestamp(reinterpret_cast<const uint8_t *>(k.field.data()),
                                                  k.field.size());
        EXPECT_EQ(got.has_write, k.expected.has_write) << k.what;
        EXPECT_EQ(got.has_access, k.expected.has_access) << k.what;
        EXPECT_EQ(got.has_creation, k.expected.has_creation) << k.what;
        // Values of times not found are not looked at.
        EXPECT_EQ(got.has_write ? got.write : 0, k.expected.write) << k.what;
        EXPECT_EQ(got.has_access ? got.access : 0, k.expected.access) << k.what;
        EXPECT_EQ(got.has_creation ? got.creation : 0, k.expected.creation) << k.what;
    }
}

TEST(ProgressPercent, ReportsOfThe323EntryArchive) {
    std::vector<int32_t> reports;
    for (uint32_t i = 0; i < 323; ++i)
        reports.push_back(ProgressPercent(i, 323));
    reports.push_back(ProgressPercent(323, 323)); // the final report
    ASSERT_EQ(reports.size(), 324u);
    EXPECT_EQ(std::vector<int32_t>(reports.begin(), reports.begin() + 6),
              (std::vector<int32_t>{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(std::vector<int32_t>(reports.end() - 4, reports.end()),
              (std::vector<int32_t>{99, 99, 99, 100}));
    // 323 shares no factor with 100, so no quotient lies near an integer and exact integer
    // division must agree with every report.
    for (uint32_t i = 0; i < 323; ++i)
        ASSERT_EQ(reports[i], static_cast<int32_t>(i * 100 / 323)) << i;
}

TEST(ProgressPercent, DividesFirstInDoubleThenTruncates) {
    struct Case {
        uint32_t current, total;
        int32_t expected;
    } cases[] = {
        {0, 0, 0},
        {5, 0, 0},
        {0, 1, 0},
        {1, 1, 100},
        {1, 3, 33},
        {2, 3, 66},
        {53, 100, 53},
        // 0.29 and 0.57 are just below themselves in double: division first loses a point,
        // in both builds alike.
        {29, 100, 28},
        {57, 100, 56},
        {58, 100, 57},
        {0xfffffffe, 0xffffffff, 99},
        {0xffffffff, 0xffffffff, 100},
        {200, 100, 200},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ProgressPercent(c.current, c.total), c.expected) << c.current << "/" << c.total;
}

TEST(EntryName, RefusesNamesThatLandOutsideOrNowhere) {
    struct Case {
        std::string name;
        bool directory;
        bool safe;
    } cases[] = {
        {"class/", true, true},
        {"class/BigClass_1.tga", false, true},
        {"a/b/c.txt", false, true},
        {"a\\b.txt", false, true},
        {"CONSOLE.txt", false, true},
        {"COM0", false, true},
        {"LPT10", false, true},
        {"a.b.c", false, true},
        {".hidden", false, true},
        {"", false, false},
        {"", true, false},
        {"../x", false, false},
        {"a/../x", false, false},
        {"a/..", true, false},
        {"..\\x", false, false},
        {"a\\..\\..\\x", false, false},
        {"/abs", false, false},
        {"\\abs", false, false},
        {"/", true, false},
        {"C:x", false, false},
        {"C:/x", false, false},
        {"a:b", false, false},
        {"file.txt:stream", false, false},
        {"a\x01z", false, false},
        {"a\x1fz", false, false},
        {"a\tz", false, false},
        {"a*b", false, false},
        {"a?b", false, false},
        {"a\"b", false, false},
        {"a<b", false, false},
        {"a>b", false, false},
        {"a|b", false, false},
        {"a./b", false, false},
        {"a /b", false, false},
        {"a.", false, false},
        {"a ", false, false},
        {".", true, false},
        {"./a", false, false},
        {"a/./b", false, false},
        {"a//b", false, false},
        {"dir//", true, false},
        {"file/", false, false}, // a file entry ending in a separator names no file
        {"con", false, false},
        {"CON", false, false},
        {"con.txt", false, false},
        {"Nul.tar.gz", false, false},
        {"x/aux/y", false, false},
        {"prn", false, false},
        {"com1", false, false},
        {"COM9.log", false, false},
        {"lpt1", false, false},
        {"LPT9.x", false, false},
        {"con .txt", false, false},
        {"conin$", false, false},
        {"aux/", true, false},
        {"a\0b"s, false, false},
        {std::string(259, 'a'), false, true},
        {std::string(260, 'a'), false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsSafeEntryName(c.name, c.directory, GbkLead), c.safe)
            << "\"" << c.name << "\" directory=" << c.directory;
}

TEST(EntryName, DoubleByteCharactersHideNothing) {
    struct Case {
        std::string name;
        bool safe;
    } cases[] = {
        {"\x81\x5c.tga", true}, // trail byte 0x5C: part of the character, no separator
        {"\xb1\x7c.tga", true}, // trail byte 0x7C is no "|"
        {"dir/\xc0\xe0.tga", true}, {"..\x81\x5c", true}, // a component "..X" is an ordinary name
        {"a\x81", false},                                 // lead byte without a trail byte
        {"\x81/x", false},                                // no code page has "/" as a trail byte
        {"\x81.", false},           {"\x81:", false},     {"\x81\x01", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsSafeEntryName(c.name, false, GbkLead), c.safe) << c.name;
    // In a single-byte code page the same bytes are a separator and a bar.
    EXPECT_FALSE(IsSafeEntryName("\xb1\x7c.tga", false, NoLead));
}

TEST(TargetPath, JoinsDestinationAndNameWithOneBackslash) {
    struct Case {
        std::string destination, name;
        LeadBytePredicate lead;
        std::string expected;
    } cases[] = {
        {"C:\\game\\rez\\UI", "class/a.tga", GbkLead, "C:\\game\\rez\\UI\\class\\a.tga"},
        {"C:\\dest\\", "class/", GbkLead, "C:\\dest\\class\\"},
        {"", "class/a.tga", GbkLead, "\\class\\a.tga"},
        {"out", "a/b/c", GbkLead, "out\\a\\b\\c"},
        {"C:/dest", "a", GbkLead, "C:/dest\\a"},
        {"d", "a\\b", GbkLead, "d\\a\\b"},
        // The destination ends in a double-byte character whose trail byte is 0x5C.
        {"C:\\\x81\x5c", "x", GbkLead, "C:\\\x81\x5c\\x"},
        {"C:\\\x81\x5c", "x", NoLead, "C:\\\x81\x5cx"},
        {"C:\\\x81\x5c\\", "x", GbkLead, "C:\\\x81\x5c\\x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormTargetPath(c.destination, c.name, c.lead), c.expected) << c.destination;
}

TEST(DirectoryChain, PrefixesEndAtEachBackslashCharacter) {
    using V = std::vector<std::string>;
    EXPECT_EQ(DirectoryChainPrefixes("C:\\a\\b", GbkLead), (V{"C:\\", "C:\\a\\", "C:\\a\\b\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("C:\\a\\b\\", GbkLead), (V{"C:\\", "C:\\a\\", "C:\\a\\b\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("", GbkLead), (V{"\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("rel\\x", GbkLead), (V{"rel\\", "rel\\x\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("C:/a/b", GbkLead), (V{"C:/a/b\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("C:\\\x81\x5c\\b", GbkLead),
              (V{"C:\\", "C:\\\x81\x5c\\", "C:\\\x81\x5c\\b\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("C:\\\x81\x5c", GbkLead), (V{"C:\\", "C:\\\x81\x5c\\"}));
    EXPECT_EQ(DirectoryChainPrefixes("C:\\\x81\x5c", NoLead), (V{"C:\\", "C:\\\x81\\"}));
}

TEST(ParentDirectories, RelativeTargetsGetTheirLevelsUnderTheWorkingDirectory) {
    using V = std::vector<std::string>;
    const std::string wd = "W:\\wd\\";
    EXPECT_EQ(ParentDirectoriesOf("out\\class\\a.tga", wd),
              (V{"W:\\wd\\out", "W:\\wd\\out\\class"}));
    EXPECT_EQ(ParentDirectoriesOf("x/y\\a", wd), (V{"W:\\wd\\x", "W:\\wd\\x/y"}));
    EXPECT_EQ(ParentDirectoriesOf("a.tga", wd), V{});
    EXPECT_EQ(ParentDirectoriesOf("C:\\x\\a", wd), V{});
    EXPECT_EQ(ParentDirectoriesOf("\\x\\a", wd), V{});
    EXPECT_EQ(ParentDirectoriesOf("/x/a", wd), V{});
    EXPECT_EQ(ParentDirectoriesOf("..\\x\\a", wd), V{});
    EXPECT_EQ(ParentDirectoriesOf("x/../y/a", wd), V{});
    EXPECT_EQ(DirectoryLevelsUnder(wd, "class/"), (V{"W:\\wd\\class", "W:\\wd\\class/"}));
}

TEST(Signature, NeedsAWholeBlockTheHeaderAndAPositiveValueAtOffset24) {
    auto block = [](uint32_t size_high, uint16_t name_length) {
        std::string b = "PK\x03\x04"s + std::string(20, '\0'); // up to offset 24
        b += static_cast<char>(size_high & 0xff);
        b += static_cast<char>(size_high >> 8);
        b += static_cast<char>(name_length & 0xff);
        b += static_cast<char>(name_length >> 8);
        b += std::string(kSignatureBlockBytes - b.size(), 'x');
        return b;
    };
    auto passes = [](const std::string &b, size_t read) {
        return PassesSignatureTest(reinterpret_cast<const uint8_t *>(b.data()), read);
    };
    EXPECT_TRUE(passes(block(0, 6), 32));       // "class/"
    EXPECT_FALSE(passes(block(0, 6), 31));      // a file shorter than 32 bytes
    EXPECT_FALSE(passes(block(0, 0), 32));      // empty first name, size below 65536
    EXPECT_TRUE(passes(block(1, 0), 32));       // empty first name, size 65536 or more
    EXPECT_FALSE(passes(block(0, 0x8000), 32)); // negative as a signed value
    EXPECT_TRUE(passes(block(0, 0x7fff), 32));
    std::string other = block(0, 6);
    other[2] = '\x05';
    other[3] = '\x06';
    EXPECT_FALSE(passes(other, 32));
    EXPECT_FALSE(PassesSignatureTest(nullptr, 32));
}

} // namespace
} // namespace korvanta
