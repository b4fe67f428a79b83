#include "host/tree_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace korvanta {
namespace {

using Calls = std::vector<std::string>;
constexpr uint32_t kLink = kAttributeDirectory | kAttributeReparsePoint;

// An in-memory tree playing the platform; records listings and deletions in call order.
class FakeTree final : public TreePlatform {
public:
    // A trailing backslash makes a directory; children enumerate in the order added.
    void Add(const std::string &path, uint32_t attributes = 0) {
        bool directory = path.back() == '\\';
        std::string name = directory ? path.substr(0, path.size() - 1) : path;
        attrs_[name] = attributes ? attributes : directory ? kAttributeDirectory : 0x20;
        children_[Parent(name)].push_back(name);
    }
    std::set<std::string> pinned;                 // cannot be deleted
    std::map<std::string, std::string> locations; // where an entry really leads
    Calls calls;
    int attribute_reads = 0;
    bool Has(const std::string &path) const { return attrs_.count(path) != 0; }

    uint32_t Attributes(const std::string &path) override {
        ++attribute_reads;
        return Has(path) ? attrs_[path] : kNoAttributes;
    }
    std::vector<FoundEntry> List(const std::string &pattern) override {
        calls.push_back("list " + pattern);
        std::string dir = pattern.substr(0, pattern.size() - 4); // drop "\*.*"
        if (!Has(dir) || !(attrs_[dir] & kAttributeDirectory))
            return {};
        std::vector<FoundEntry> found{{".", kAttributeDirectory}, {"..", kAttributeDirectory}};
        for (const std::string &child : children_[dir])
            found.push_back({child.substr(dir.size() + 1), attrs_[child]});
        return found;
    }
    std::string Location(const std::string &path) override {
        if (locations.count(path))
            return locations[path];
        std::string canonical = "\\\\?\\"; // no doubled or trailing backslash
        for (char c : path)
            if (c != '\\' || canonical.back() != '\\')
                canonical += c;
        if (canonical.back() == '\\')
            canonical.pop_back();
        return Has(path) ? canonical : "";
    }
    bool RemoveFile(const std::string &path) override {
        calls.push_back("delete " + path);
        return Has(path) && !(attrs_[path] & kAttributeDirectory) && Remove(path);
    }
    bool RemoveEmptyDirectory(const std::string &path) override {
        calls.push_back("rmdir " + path);
        return Has(path) && (attrs_[path] & kAttributeDirectory) && children_[path].empty() &&
               Remove(path);
    }

private:
    static std::string Parent(const std::string &path) {
        size_t slash = path.rfind('\\');
        return slash == std::string::npos ? "" : path.substr(0, slash);
    }
    bool Remove(const std::string &path) {
        if (pinned.count(path))
            return false;
        attrs_.erase(path);
        std::erase(children_[Parent(path)], path);
        return true;
    }
    std::map<std::string, uint32_t> attrs_;
    std::map<std::string, std::vector<std::string>> children_;
};

TEST(DeleteTreeGuard, DriveRootsAndLeadingSpaces) {
    for (const char *root : {"C:", "C:\\", "d:", "1:\\"})
        EXPECT_TRUE(IsDriveRoot(root)) << root;
    for (const char *other : {"C:\\\\", "C:\\x", "C:x", "C:/", "CC:", ":", "", "C", "\\\\s\\c"})
        EXPECT_FALSE(IsDriveRoot(other)) << other;
    EXPECT_STREQ(SkipLeadingSpaces("  D:\\x "), "D:\\x ");
    EXPECT_STREQ(SkipLeadingSpaces("\t D:\\x"), "\t D:\\x");
}

TEST(DeleteTreeGuard, RefusedPathsMakeNoPlatformCall) {
    for (const char *path : {(const char *)nullptr, "", "    ", "C:", "C:\\", "  C:\\", " c:"}) {
        FakeTree tree;
        tree.Add("C:\\");
        tree.Add("C:\\marker.txt");
        EXPECT_FALSE(DeleteTreeOn(tree, path));
        EXPECT_TRUE(tree.calls.empty() && tree.attribute_reads == 0) << (path ? path : "null");
    }
}

TEST(DeleteTreeWalk, ListsEachLevelFirstThenGoesDepthFirstInEnumerationOrder) {
    FakeTree tree;
    for (const char *entry :
         {"T\\", "T\\z.txt", "T\\sub\\", "T\\sub\\locked.txt", "T\\sub\\b.txt", "T\\sub\\deep\\",
          "T\\sub\\deep\\c.txt", "T\\.hidden", "T\\.git\\", "T\\.git\\config", "T\\a.txt"})
        tree.Add(entry);
    tree.pinned.insert("T\\sub\\locked.txt");
    EXPECT_FALSE(DeleteTreeOn(tree, "  T"));
    // Names beginning with a full stop are never listed into; a failure stops nothing.
    EXPECT_EQ(
        tree.calls,
        (Calls{"list T\\*.*", "delete T\\z.txt", "list T\\sub\\*.*", "delete T\\sub\\locked.txt",
               "delete T\\sub\\b.txt", "list T\\sub\\deep\\*.*", "delete T\\sub\\deep\\c.txt",
               "rmdir T\\sub\\deep", "rmdir T\\sub", "delete T\\a.txt", "rmdir T"}));
    EXPECT_TRUE(tree.Has("T\\.git\\config") && tree.Has("T\\sub\\locked.txt"));
}

TEST(DeleteTreeWalk, PathsAreTakenAsGiven) {
    FakeTree tree;
    tree.Add("T\\\\");
    tree.Add("T\\\\a.txt");
    EXPECT_TRUE(DeleteTreeOn(tree, "T\\"));
    EXPECT_EQ(tree.calls, (Calls{"list T\\\\*.*", "delete T\\\\a.txt", "rmdir T\\"}));
}

// Fault: links inside the tree were entered and removed, deleting what they point to.
TEST(DeleteTreeLinks, LinksAreNeitherEnteredNorRemoved) {
    FakeTree tree;
    tree.Add("T\\");
    tree.Add("T\\link\\", kLink);
    tree.Add("T\\link\\outside.txt");
    tree.Add("T\\junction\\", kLink | 0x2);
    tree.Add("T\\file-link.txt", 0x20 | kAttributeReparsePoint);
    tree.Add("T\\plain.txt");
    EXPECT_FALSE(DeleteTreeOn(tree, "T"));
    EXPECT_EQ(tree.calls, (Calls{"list T\\*.*", "delete T\\plain.txt", "rmdir T"}));

    FakeTree linked; // Fault: a path that was itself a link had its target emptied.
    linked.Add("L\\", kLink);
    linked.Add("L\\outside.txt");
    EXPECT_FALSE(DeleteTreeOn(linked, " L"));
    EXPECT_TRUE(linked.calls.empty());
}

// Fault: a file link shown as a plain file (as Wine shows Unix links) was deleted, and with
// it the file it points to outside the tree.
TEST(DeleteTreeLinks, FilesResolvingElsewhereAreKept) {
    FakeTree tree;
    for (const char *entry : {"T\\", "T\\a.txt", "T\\link.txt", "T\\unknown.txt"})
        tree.Add(entry);
    tree.locations["T\\link.txt"] = "\\\\?\\Z:\\tmp\\target.txt";
    tree.locations["T\\unknown.txt"] = ""; // cannot be learned: deleted as usual
    EXPECT_FALSE(DeleteTreeOn(tree, "T"));
    EXPECT_EQ(tree.calls,
              (Calls{"list T\\*.*", "delete T\\a.txt", "delete T\\unknown.txt", "rmdir T"}));

    FakeTree root; // a volume root's location ends in a backslash
    root.Add("D:\\T\\");
    root.Add("D:\\T\\a.txt");
    root.locations["D:\\T"] = "\\\\?\\X:\\";
    root.locations["D:\\T\\a.txt"] = "\\\\?\\X:\\a.txt";
    EXPECT_TRUE(DeleteTreeOn(root, "D:\\T"));
}

} // namespace
} // namespace korvanta
