#include "unzip/paths.h"

namespace korvanta {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Whether the last character of the text (walked from its start) is a single-byte "\".
bool EndsWithBackslashChar(std::string_view text, LeadBytePredicate is_lead) {
    return !text.empty() && LastBackslash(text, is_lead) == text.size() - 1;
}

} // namespace

std::string FormTargetPath(std::string_view destination, std::string_view entry_name,
                           LeadBytePredicate is_lead) {
    std::string target(destination);
    if (!EndsWithBackslashChar(destination, is_lead))
        target += '\\';
    for (char c : entry_name)
        target += c == '/' ? '\\' : c;
    return target;
}

std::vector<std::string> DirectoryChainPrefixes(std::string_view path, LeadBytePredicate is_lead) {
    std::string full(path);
    if (!EndsWithBackslashChar(full, is_lead))
        full += '\\';
    std::vector<std::string> prefixes;
    for (size_t at = 0; at < full.size();) {
        size_t length = CharLength(full, at, is_lead);
        if (length == 1 && full[at] == '\\')
            prefixes.push_back(full.substr(0, at + 1));
        at += length;
    }
    return prefixes;
}

std::vector<std::string> DirectoryLevelsUnder(std::string_view working_dir, std::string_view part) {
    std::vector<std::string> levels;
    for (size_t at = 0; at < part.size(); ++at) {
        if (IsSeparator(part[at]))
            levels.push_back(std::string(working_dir) + std::string(part.substr(0, at)));
    }
    levels.push_back(std::string(working_dir) + std::string(part));
    return levels;
}

std::vector<std::string> ParentDirectoriesOf(std::string_view target,
                                             std::string_view working_dir) {
    const size_t last = target.find_last_of("/\\");
    if (last == std::string_view::npos)
        return {};
    std::string_view part = target.substr(0, last);
    const bool absolute =
        (!part.empty() && IsSeparator(part[0])) || (part.size() >= 2 && part[1] == ':');
    if (absolute || part.find("../") != std::string_view::npos ||
        part.find("..\\") != std::string_view::npos)
        return {};
    return DirectoryLevelsUnder(working_dir, part);
}

} // namespace korvanta
