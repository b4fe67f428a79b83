// korvanta-gen: draws the icon sets and writes the two embedded archives, the program icon
// and a contact sheet of every icon.

#include "archive_reader.h"
#include "art_folder.h"
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
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using namespace korvanta::payload;

namespace {

constexpr char kUsage[] =
    "usage: korvanta-gen archives --out DIR [--foreign-art DIR] [--stock-art DIR] [--report FILE]\n"
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

// Writes the report where it was asked for, else to standard output.
bool Report(const std::map<std::string, std::string> &options,
            const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    if (!options.contains("--report")) {
        std::fputs(text.c_str(), stdout);
        return true;
    }
    return WriteFile(options.at("--report"), {text.begin(), text.end()});
}

// One set's files: from the folder the option names, or drawn. Adds the folder's problems
// and report lines.
SetSource TakeSet(IconSet set, const std::map<std::string, std::string> &options,
                  const std::string &option, std::vector<std::string> &problems,
                  std::vector<std::string> &report) {
    SetSource source;
    if (!options.contains(option)) {
        source.files = DrawnFiles(set);
        return source;
    }
    source.folder = options.at(option);
    ArtFolder art = LoadArtFolder(set, source.folder);
    problems.insert(problems.end(), art.problems.begin(), art.problems.end());
    const std::vector<std::string> lines = DescribeArtFolder(set, source.folder, art);
    report.insert(report.end(), lines.begin(), lines.end());
    source.files = std::move(art.files);
    source.sources = std::move(art.sources);
    return source;
}

int Archives(const std::map<std::string, std::string> &options) {
    if (!options.contains("--out"))
        return Fail("archives needs --out DIR");
    std::vector<std::string> problems, foreign_report, stock_report;
    SetSource foreign =
        TakeSet(IconSet::Foreign, options, "--foreign-art", problems, foreign_report);
    SetSource stock = TakeSet(IconSet::Stock, options, "--stock-art", problems, stock_report);
    if (!foreign.folder.empty() || !stock.folder.empty()) {
        const std::vector<std::string> differ = JoinSharedFiles(foreign, stock, DrawnThumbsDb());
        problems.insert(problems.end(), differ.begin(), differ.end());
    }
    std::vector<std::string> report;
    for (auto [set, source, lines] : {std::tuple{IconSet::Foreign, &foreign, &foreign_report},
                                      std::tuple{IconSet::Stock, &stock, &stock_report}}) {
        if (source->folder.empty()) {
            const SetSource &other = set == IconSet::Foreign ? stock : foreign;
            report.push_back(
                std::string(SetName(set)) + ": drawn" +
                (other.folder.empty() ? "" : ", its 22 shared files from " + other.folder));
            continue;
        }
        report.insert(report.end(), lines->begin(), lines->end());
        if (!source->thumbs_note.empty())
            report.push_back("  Thumbs.db: " + source->thumbs_note);
    }
    if (!problems.empty()) {
        // The problems go to standard error; a report file holds them as well, so that what
        // reads it afterwards sees the whole story.
        const std::string head = "the icon folders are refused, " +
                                 std::to_string(problems.size()) +
                                 (problems.size() == 1 ? " problem:" : " problems:");
        std::string text = "korvanta-gen: " + head + "\n";
        for (const std::string &p : problems)
            text += "  " + p + "\n";
        if (options.contains("--report")) {
            report.push_back(head);
            for (const std::string &p : problems)
                report.push_back("  " + p);
        }
        Report(options, report);
        std::fputs(text.c_str(), stderr);
        return 1;
    }

    const fs::path out = options.at("--out");
    std::error_code ec;
    fs::create_directories(out, ec);
    if (!WriteFile(out / "foreign.zip", PackArchive(IconSet::Foreign, foreign.files)) ||
        !WriteFile(out / "stock.zip", PackArchive(IconSet::Stock, stock.files)))
        return Fail(out.string() + ": cannot write the archives");
    if (!foreign.folder.empty() || !stock.folder.empty() || options.contains("--report"))
        if (!Report(options, report))
            return Fail(options.at("--report") + ": cannot be written");
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
            if (auto o = Options(argc, argv, {"--out", "--foreign-art", "--stock-art", "--report"}))
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
