// scripts/release.sh with a modder's folder, end to end: a folder of the forms real folders
// hold, at a path no shell or build tool may take apart, is packed into the package's
// korvanta.exe, each file kept or converted as it should be and the archive's layout as the
// drawn one's; folders with every kind of fault are refused before the build, naming each
// problem once, and the output folder stays as it was.

#include "archive_rules.h"
#include "png_forms.h"
#include "png_writer.h"
#include "tga.h"
#include "tga_forms.h"
#include "tests/support/files.h"
#include "zip_parse.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace payload_test;
using namespace korvanta::payload;
namespace fs = std::filesystem;

namespace {

const fs::path kWork = KORVANTA_OWN_ICONS_WORK;
// Where the folders lie, relative to kWork: what a command line, CMake list, build tool or
// shell could split or reinterpret.
const fs::path kOddPath = "-icons ;$HOME $(x) 'q' \"q\" 图标";

void Write(const fs::path &path, const std::vector<uint8_t> &bytes) {
    korvanta::test::WriteAll(path.string(),
                             {reinterpret_cast<const char *>(bytes.data()), bytes.size()});
}

// The drawn foreign set as files of a folder.
fs::path DrawnFolder(const std::string &name) {
    const fs::path dir = kWork / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto &[leaf, bytes] : UnpackedSet(false))
        Write(dir / leaf, bytes);
    return dir;
}

// One word of a shell command, whatever the text holds.
std::string Quoted(const std::string &text) {
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// Runs the release script the way a modder does, from kWork (where a relative folder lies),
// writing to a folder of the test tree and building in the tested release tree, which it
// keeps; returns its exit code and everything it printed.
int Release(const fs::path &folder, const fs::path &dist, std::string &output,
            const fs::path &stock = {}) {
    const fs::path log = dist.string() + ".log"; // each case's output kept apart
    const std::string command =
        "cd " + Quoted(kWork.string()) +
        " && KORVANTA_RELEASE_KEEP=1 KORVANTA_RELEASE_DIR=" + Quoted(KORVANTA_TESTED_RELEASE_DIR) +
        " KORVANTA_DIST=" + Quoted(dist.string()) + " CMAKE_BUILD_PARALLEL_LEVEL=2 " +
        Quoted(std::string(KORVANTA_SOURCE) + "/scripts/release.sh") + " --foreign-art " +
        Quoted(folder.string()) + (stock.empty() ? "" : " --stock-art " + Quoted(stock.string())) +
        " >" + Quoted(log.string()) + " 2>&1";
    const int status = std::system(command.c_str());
    output = korvanta::test::ReadAll(log.string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A picture of the entry's size unlike the drawn icons; opaque, as a 24-bit entry keeps it.
Image Pattern(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = {uint8_t(x * 9), uint8_t(255 - y * 5), uint8_t((x * y) & 0xFF), 255};
    return img;
}

std::vector<uint8_t> Unpack(const RawZip &zip, const std::vector<uint8_t> &bytes,
                            const std::string &name) {
    for (const LocalHeader &h : zip.locals)
        if (h.name == name) {
            bool ok = false;
            std::vector<uint8_t> data = Inflate(bytes, h.dataOffset, h["compressed size"], ok);
            EXPECT_TRUE(ok) << name;
            return data;
        }
    ADD_FAILURE() << name << " is not in the archive";
    return {};
}

// The archive inside the executable: its block is the 32-bit dimension count 1, the byte
// count, then the archive, which opens with the local header of its top folder.
std::vector<uint8_t> Block(const std::vector<uint8_t> &exe, const std::string &top) {
    for (size_t at = 8; at + 30 + top.size() <= exe.size(); ++at)
        if (Le32(exe, at) == 0x04034B50 && Le16(exe, at + 26) == top.size() &&
            std::equal(top.begin(), top.end(), exe.begin() + at + 30) && Le32(exe, at - 8) == 1) {
            const size_t n = Le32(exe, at - 4);
            if (at + n <= exe.size())
                return {exe.begin() + at, exe.begin() + at + n};
        }
    ADD_FAILURE() << "no archive of " << top << " in korvanta.exe";
    return {};
}

// A ";" in the folder's path split it into two arguments on the way to the generator; a
// 16-bit PNG was converted as linear light, its colours washed out.
TEST(OwnIconsRelease, PacksAFolderOfMixedFormsIntoThePackage) {
    const fs::path folder = DrawnFolder((kOddPath / "mixed").string());
    std::map<std::string, std::vector<uint8_t>> kept = UnpackedSet(false); // entry -> bytes
    std::map<std::string, Image> converted;                                // entry -> pixels
    // An edited icon of its listed kind; a 32-bit icon where 24 bits are listed.
    kept["class_5.tga"] = EncodeTga(Pattern(23, 26), {23, 26, 24, kTgaUncompressed, true});
    Image alpha = Pattern(23, 26);
    alpha.At(0, 0).a = 0;
    kept["class_20.tga"] = EncodeTga(alpha, {23, 26, 32, kTgaUncompressed, true});
    Write(folder / "class_5.tga", kept["class_5.tga"]);
    Write(folder / "class_20.tga", kept["class_20.tga"]);
    // A top-left TGA without footer, a PNG, an upper-case name, a desktop.ini, no Thumbs.db.
    converted["BigClass_7.tga"] = Pattern(100, 100);
    Write(folder / "BigClass_7.tga",
          WriteTgaForm(Pattern(100, 100), {.bits = 24, .top_down = true}));
    converted["sclass_30.tga"] = Pattern(17, 19);
    fs::remove(folder / "sclass_30.tga");
    Write(folder / "sclass_30.png", EncodePng(Pattern(17, 19)));
    const PngFixture deep = WritePngForm(23, 26, {.colour = PNG_COLOR_TYPE_RGB, .depth = 16});
    converted["class_61.tga"] = deep.stored;
    fs::remove(folder / "class_61.tga");
    Write(folder / "class_61.png", deep.file);
    fs::rename(folder / "class_40.tga", folder / "CLASS_40.TGA");
    // A link to a plain file is read through.
    fs::rename(folder / "class_70.tga", kWork / "class_70-elsewhere.tga");
    fs::create_symlink(kWork / "class_70-elsewhere.tga", folder / "class_70.tga");
    Write(folder / "desktop.ini", {'[', ']'});
    fs::remove(folder / "Thumbs.db"); // the drawn one is the stand-in: kept[] holds it
    for (const auto &[leaf, img] : converted)
        kept.erase(leaf);

    const fs::path dist = kWork / "dist-mixed";
    fs::remove_all(dist);
    std::string output;
    ASSERT_EQ(Release(kOddPath / "mixed", dist, output), 0) << output;
    const std::vector<std::string> lines = {
        "ForeignSet: from " + fs::canonical(folder).string() +
            " (321 files, 3 converted, 1 left out)",
        "left out: desktop.ini",
        "kept: CLASS_40.TGA, as class_40.tga",
        "converted: sclass_30.png (PNG) to a 24-bit uncompressed TGA",
        "converted: class_61.png (PNG, 16 bits) to a 24-bit uncompressed TGA",
        "Thumbs.db: none in the folder, so the drawn stand-in"};
    for (const std::string &line : lines)
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    EXPECT_TRUE(fs::is_regular_file(dist / "korvanta-1.0.0-contact-sheet.png"));

    const std::vector<uint8_t> package = ReadBytes((dist / "korvanta-1.0.0-win32.zip").string());
    const RawZip package_zip = ParseZip(package);
    ASSERT_EQ(package_zip.error, "");
    const std::vector<uint8_t> exe = Unpack(package_zip, package, "korvanta.exe");
    const std::vector<uint8_t> foreign = Block(exe, "class/"), stock = Block(exe, "class2/");
    const RawZip ours = ParseZip(foreign);
    const RawZip drawn = ParseZip(ReadBytes(ArchiveDir() + "/foreign.zip"));
    ASSERT_EQ(ours.error, "");
    ASSERT_EQ(ours.centrals.size(), drawn.centrals.size());
    // The layout is the drawn archive's: names, order, times, flags, extra fields; only the
    // sizes, CRCs and offsets follow the contents.
    for (size_t i = 0; i < ours.centrals.size(); ++i) {
        const CentralHeader &a = ours.centrals[i], &b = drawn.centrals[i];
        ASSERT_EQ(a.name, b.name);
        EXPECT_EQ(a.extra, b.extra) << a.name;
        for (const auto &[field, value] : b.fields)
            if (field != "crc" && field != "compressed size" && field != "uncompressed size" &&
                field != "local header offset") {
                EXPECT_EQ(a[field], value) << a.name << " " << field;
            }
        EXPECT_EQ(ours.locals[i].name, a.name);
        EXPECT_EQ(ours.locals[i]["extra length"], 0u);
    }
    for (const auto &[leaf, bytes] : kept)
        EXPECT_EQ(Unpack(ours, foreign, "class/" + leaf), bytes) << leaf;
    for (const auto &[leaf, img] : converted) {
        const std::vector<uint8_t> file = Unpack(ours, foreign, "class/" + leaf);
        EXPECT_EQ(KindMismatch(file, *RuleFor(false, leaf)), "") << leaf;
        EXPECT_TRUE(DecodeTga(file).pixels == img.pixels) << leaf;
    }
    // The stock set is drawn, with the folder's shared files.
    const RawZip stock_zip = ParseZip(stock);
    ASSERT_EQ(stock_zip.error, "");
    for (const std::string leaf : {"Thumbs.db", "Reject.tga", "class_0.tga"})
        EXPECT_EQ(Unpack(stock_zip, stock, "class2/" + leaf), kept.at(leaf)) << leaf;
}

// A broken link hid the report behind a build-tool error, a pipe hung the generator, a
// link to /dev/zero ran it out of memory, a 1 GiB file was read whole, the problems were
// printed twice with a report of sets never built, and the folder above the icons gave 321
// "missing" lines.
TEST(OwnIconsRelease, RefusesAFolderNamingEveryProblemAndLeavesTheOutputAlone) {
    const fs::path folder = DrawnFolder((kOddPath / "faulty").string());
    Write(folder / "class_12.tga",
          EncodeTga(Pattern(24, 26), {24, 26, 24, kTgaUncompressed, true}));
    fs::remove(folder / "BigClass_3.tga");
    fs::resize_file(folder / "sclass_9.tga", 500);
    // Packets of 128 pixels: the last one claims 128 where 86 are left.
    std::vector<uint8_t> overrun = WriteTgaForm(Pattern(23, 26), {.rle = true, .footer = true});
    overrun.at(18 + 4 * (1 + 128 * 4)) = 0xFF;
    Write(folder / "class_AllEff_Ani2.tga", overrun);
    for (const char *leaf : {"class_15.tga", "class_16.tga", "class_17.tga", "class_18.tga"})
        fs::remove(folder / leaf);
    fs::create_symlink("/nonexistent/x", folder / "class_15.tga");
    ASSERT_EQ(mkfifo((folder / "class_16.tga").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "class_17.tga");
    fs::create_directory_symlink(kWork, folder / "class_18.tga");
    fs::resize_file(folder / "BigClass_20.tga", uintmax_t(1) << 30); // sparse: no disk used
    // The stock set: the folder above its icons.
    const fs::path above = kWork / kOddPath / "above";
    fs::remove_all(above);
    fs::create_directories(above / "class2");

    const fs::path dist = kWork / "dist-refused";
    fs::remove_all(dist);
    fs::create_directories(dist);
    Write(dist / "korvanta-1.0.0-win32.zip", {'o', 'l', 'd'});
    std::string output;
    EXPECT_NE(Release(kOddPath / "faulty", dist, output, kOddPath / "above"), 0);
    const fs::path named = fs::canonical(folder), above_named = fs::canonical(above);
    const std::vector<std::string> problems = {
        (named / "class_12.tga: 24 × 26 pixels, must be 23 × 26").string(),
        (named / "BigClass_3.tga: missing").string(),
        (named / "sclass_9.tga: cut short").string(),
        (named / "class_AllEff_Ani2.tga: run-length data decodes to more than").string(),
        (named / "class_15.tga: a link to /nonexistent/x, which leads nowhere").string(),
        (named / "class_16.tga: a named pipe (FIFO), not a file").string(),
        (named / "class_17.tga: a link to /dev/zero, a device, not a file").string(),
        (named / "class_18.tga: a link to ").string() + kWork.string() + ", a folder, not a file",
        (named / "BigClass_20.tga: 1073741824 bytes, more than such a file can be").string(),
        above_named.string() + ": none of the set's icons is in this folder, but it holds the "
                               "folder class2/: give the folder of the icons itself",
    };
    for (const std::string &problem : problems) {
        const size_t at = output.find(problem);
        EXPECT_NE(at, std::string::npos) << problem << "\n" << output;
        EXPECT_EQ(output.find(problem, at + 1), std::string::npos) << problem << " twice";
    }
    EXPECT_NE(output.find("release: the icon folders are refused, 10 problems:"), std::string::npos)
        << output;
    // Nothing of sets not built, and no build tool's error.
    for (const char *absent : {"ForeignSet", "StockSet", "missing and no known rule", "FAILED"})
        EXPECT_EQ(output.find(absent), std::string::npos) << absent;
    std::vector<fs::path> left;
    for (const auto &item : fs::directory_iterator(dist))
        left.push_back(item.path().filename());
    EXPECT_EQ(left, std::vector<fs::path>{"korvanta-1.0.0-win32.zip"});
    EXPECT_EQ(ReadBytes((dist / "korvanta-1.0.0-win32.zip").string()),
              (std::vector<uint8_t>{'o', 'l', 'd'}));
}

} // namespace
