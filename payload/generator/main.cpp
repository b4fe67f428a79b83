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
    "usage: korvanta-gen archives --out DIR [ART] [--report FILE]\n"
    "       korvanta-gen check ART\n"
    "       korvanta-gen icon --out FILE\n"
    "       korvanta-gen contact-sheet --out FILE.png --archives DIR\n"
    "ART: --foreign-art DIR and/or --stock-art DIR; --foreign-art-from FILE and\n"
    "     --stock-art-from FILE name the folder by a file that holds its path\n";

const std::vector<std::string> kArtOptions = {"--foreign-art", "--stock-art", "--foreign-art-from",
                                              "--stock-art-from"};

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

std::optional<std::string> ReadText(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof())
        return std::nullopt;
    return text;
}

// The build runs the generator at every build when it reads art folders; a file left as it
// was keeps its time, so that nothing built from it is built again.
bool WriteIfChanged(const fs::path &path, const std::vector<uint8_t> &bytes) {
    const std::optional<std::string> old = ReadText(path);
    if (old && old->size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), old->begin()))
        return true;
    return WriteFile(path, bytes);
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
    return WriteIfChanged(options.at("--report"), {text.begin(), text.end()});
}

// The art folder an option names: "--foreign-art DIR", or "--foreign-art-from FILE" with the
// path in a file, which no command line, build tool or shell takes apart on its way. Nothing
// when neither is given, or when the file cannot be read, which is a problem.
std::optional<std::string> FolderOption(const std::map<std::string, std::string> &options,
                                        const std::string &option,
                                        std::vector<std::string> &problems) {
    if (options.contains(option))
        return options.at(option);
    if (!options.contains(option + "-from"))
        return std::nullopt;
    const std::string &file = options.at(option + "-from");
    const std::optional<std::string> path = ReadText(file);
    if (!path || path->empty()) {
        problems.push_back(file + ": cannot be read, or names no folder");
        return std::nullopt;
    }
    return path;
}

// One set's files: from the folder the option names, or drawn when `draw` (a check has no
// use for them). Adds the folder's problems and report lines.
SetSource TakeSet(IconSet set, const std::map<std::string, std::string> &options,
                  const std::string &option, bool draw, std::vector<std::string> &problems,
                  std::vector<std::string> &report) {
    SetSource source;
    const std::optional<std::string> folder = FolderOption(options, option, problems);
    if (!folder) {
        if (draw)
            source.files = DrawnFiles(set);
        return source;
    }
    source.folder = *folder;
    ArtFolder art = LoadArtFolder(set, source.folder);
    problems.insert(problems.end(), art.problems.begin(), art.problems.end());
    const std::vector<std::string> lines = DescribeArtFolder(set, source.folder, art);
    report.insert(report.end(), lines.begin(), lines.end());
    source.files = std::move(art.files);
    source.sources = std::move(art.sources);
    return source;
}

// Both sets' files, from the folders the options name or drawn, and every problem of the
// folders; when there is none, the report of what came from where.
struct Sets {
    SetSource foreign, stock;
    std::vector<std::string> problems;
    std::vector<std::string> report;
};

Sets TakeSets(const std::map<std::string, std::string> &options, bool draw) {
    Sets sets;
    std::vector<std::string> foreign_report, stock_report;
    SetSource &foreign = sets.foreign, &stock = sets.stock;
    foreign =
        TakeSet(IconSet::Foreign, options, "--foreign-art", draw, sets.problems, foreign_report);
    stock = TakeSet(IconSet::Stock, options, "--stock-art", draw, sets.problems, stock_report);
    if (!foreign.folder.empty() || !stock.folder.empty()) {
        const std::vector<std::string> differ =
            JoinSharedFiles(foreign, stock, draw ? DrawnThumbsDb() : std::vector<uint8_t>{});
        sets.problems.insert(sets.problems.end(), differ.begin(), differ.end());
    }
    if (!sets.problems.empty())
        return sets; // nothing is built: the refusal names the problems alone
    for (auto [set, source, lines] : {std::tuple{IconSet::Foreign, &foreign, &foreign_report},
                                      std::tuple{IconSet::Stock, &stock, &stock_report}}) {
        if (source->folder.empty()) {
            const SetSource &other = set == IconSet::Foreign ? stock : foreign;
            sets.report.push_back(
                std::string(SetName(set)) + ": drawn" +
                (other.folder.empty() ? "" : ", its 22 shared files from " + other.folder));
            continue;
        }
        sets.report.insert(sets.report.end(), lines->begin(), lines->end());
        if (!source->thumbs_note.empty())
            sets.report.push_back("  Thumbs.db: " + source->thumbs_note);
    }
    return sets;
}

// "the icon folders are refused, 2 problems:" and a line for each.
std::vector<std::string> Refusal(const std::vector<std::string> &problems) {
    std::vector<std::string> lines = {"the icon folders are refused, " +
                                      std::to_string(problems.size()) +
                                      (problems.size() == 1 ? " problem:" : " problems:")};
    for (const std::string &p : problems)
        lines.push_back("  " + p);
    return lines;
}

bool HasArtOption(const std::map<std::string, std::string> &options) {
    return std::any_of(kArtOptions.begin(), kArtOptions.end(),
                       [&](const std::string &o) { return options.contains(o); });
}

// Judges the art folders without building anything: the refusal on standard output, or
// nothing when they can be packed.
int Check(const std::map<std::string, std::string> &options) {
    if (!HasArtOption(options))
        return Fail("check needs --foreign-art DIR or --stock-art DIR");
    const Sets sets = TakeSets(options, false);
    if (sets.problems.empty())
        return 0;
    for (const std::string &line : Refusal(sets.problems))
        std::printf("%s\n", line.c_str());
    return 1;
}

int Archives(const std::map<std::string, std::string> &options) {
    if (!options.contains("--out"))
        return Fail("archives needs --out DIR");
    const Sets sets = TakeSets(options, true);
    if (!sets.problems.empty()) {
        // A report file holds the refusal too, so that what reads it afterwards sees the
        // whole story.
        const std::vector<std::string> refusal = Refusal(sets.problems);
        if (options.contains("--report"))
            Report(options, refusal);
        for (const std::string &line : refusal)
            std::fprintf(stderr, "korvanta-gen: %s\n", line.c_str());
        return 1;
    }

    const fs::path out = options.at("--out");
    std::error_code ec;
    fs::create_directories(out, ec);
    if (!WriteIfChanged(out / "foreign.zip", PackArchive(IconSet::Foreign, sets.foreign.files)) ||
        !WriteIfChanged(out / "stock.zip", PackArchive(IconSet::Stock, sets.stock.files)))
        return Fail(out.string() + ": cannot write the archives");
    if (HasArtOption(options) || options.contains("--report"))
        if (!Report(options, sets.report))
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
        std::vector<std::string> art_options = kArtOptions;
        if (command == "check")
            if (auto o = Options(argc, argv, art_options))
                return Check(*o);
        art_options.insert(art_options.end(), {"--out", "--report"});
        if (command == "archives")
            if (auto o = Options(argc, argv, art_options))
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
