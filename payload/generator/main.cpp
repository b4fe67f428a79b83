// korvanta-gen: draws the icon sets and writes the two embedded archives, the program icon
// and a contact sheet of every icon.

#include "archive_reader.h"
#include "contact_sheet.h"
#include "emblem_art.h"
#include "ico_file.h"
#include "png_writer.h"
#include "set_content.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace korvanta::payload;

namespace {

constexpr char kUsage[] =
    "usage: korvanta-gen archives --out DIR [--foreign-art DIR] [--stock-art DIR]\n"
    "       korvanta-gen icon --out FILE\n"
    "       korvanta-gen contact-sheet --out FILE.png --archives DIR\n";

int Fail(const std::string &message) {
    std::fprintf(stderr, "korvanta-gen: %s\n", message.c_str());
    return 1;
}

// "--name value" pairs after the subcommand; nothing if one is unknown or lacks its value.
std::optional<std::map<std::string, std::string>> Options(int argc, char **argv,
                                                          const std::vector<std::string> &known) {
    std::map<std::string, std::string> options;
    for (int i = 2; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc || std::find(known.begin(), known.end(), name) == known.end())
            return std::nullopt;
        options[name] = argv[i + 1];
    }
    return options;
}

bool WriteFile(const fs::path &path, const std::vector<uint8_t> &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return static_cast<bool>(out.flush());
}

// One set's files: the real artwork from the folder the option names, or drawn ones. An
// error text when the folder cannot be used.
std::string SetFiles(IconSet set, const std::map<std::string, std::string> &options,
                     const std::string &option, FileMap &files) {
    if (!options.contains(option)) {
        files = DrawnFiles(set);
        return {};
    }
    return LoadArtFolder(set, options.at(option), files);
}

int Archives(const std::map<std::string, std::string> &options) {
    if (!options.contains("--out"))
        return Fail("archives needs --out DIR");
    FileMap foreign, stock;
    const bool foreign_art = options.contains("--foreign-art");
    const bool stock_art = options.contains("--stock-art");
    if (std::string e = SetFiles(IconSet::Foreign, options, "--foreign-art", foreign); !e.empty())
        return Fail(e);
    if (std::string e = SetFiles(IconSet::Stock, options, "--stock-art", stock); !e.empty())
        return Fail(e);
    // The shared files are one set of files: real artwork for one side supplies both.
    if (foreign_art && !stock_art)
        CopySharedFiles(IconSet::Foreign, foreign, stock);
    else if (stock_art && !foreign_art)
        CopySharedFiles(IconSet::Stock, stock, foreign);
    if (const auto differ = SharedMismatches(foreign, stock); !differ.empty()) {
        const fs::path where = stock_art ? fs::path(options.at("--stock-art")) / differ.front()
                                         : fs::path(differ.front());
        return Fail(where.string() + ": differs from the same file of the foreign set; the "
                                     "shared files must be byte-identical");
    }

    const fs::path out = options.at("--out");
    std::error_code ec;
    fs::create_directories(out, ec);
    if (!WriteFile(out / "foreign.zip", PackArchive(IconSet::Foreign, foreign)) ||
        !WriteFile(out / "stock.zip", PackArchive(IconSet::Stock, stock)))
        return Fail(out.string() + ": cannot write the archives");
    return 0;
}

int Icon(const std::map<std::string, std::string> &options) {
    if (!options.contains("--out"))
        return Fail("icon needs --out FILE");
    if (!WriteFile(options.at("--out"), EncodeIco(DrawProgramIcon())))
        return Fail(options.at("--out") + ": cannot be written");
    return 0;
}

int Sheet(const std::map<std::string, std::string> &options) {
    if (!options.contains("--out") || !options.contains("--archives"))
        return Fail("contact-sheet needs --out FILE.png and --archives DIR");
    const fs::path dir = options.at("--archives");
    FileMap foreign, stock;
    for (auto [name, files] : {std::pair{"foreign.zip", &foreign}, std::pair{"stock.zip", &stock}})
        if (std::string e = ReadArchive(dir / name, *files); !e.empty())
            return Fail(e);
    if (!WriteFile(options.at("--out"), EncodePng(ContactSheet(foreign, stock))))
        return Fail(options.at("--out") + ": cannot be written");
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    try {
        if (command == "archives")
            if (auto o = Options(argc, argv, {"--out", "--foreign-art", "--stock-art"}))
                return Archives(*o);
        if (command == "icon")
            if (auto o = Options(argc, argv, {"--out"}))
                return Icon(*o);
        if (command == "contact-sheet")
            if (auto o = Options(argc, argv, {"--out", "--archives"}))
                return Sheet(*o);
    } catch (const std::exception &e) {
        return Fail(e.what()); // zlib refusing its fixed settings: nothing the user can fix
    }
    std::fputs(kUsage, stderr);
    return 2;
}
