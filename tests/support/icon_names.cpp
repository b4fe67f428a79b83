#include "tests/support/icon_names.h"

namespace korvanta::test {

std::vector<std::string> IconNames(bool stock) {
    std::vector<std::string> names;
    for (int n = 1; n <= 100; ++n)
        names.push_back("BigClass_" + std::to_string(n) + ".tga");
    for (int n = 0; n <= 100; ++n) {
        names.push_back("class_" + std::to_string(n) + ".tga");
        names.push_back("sclass_" + std::to_string(n) + ".tga");
    }
    for (int n = 0; n <= 5; ++n)
        names.push_back("class_AllEff_Ani" + std::to_string(n) + ".tga");
    for (int n = 0; n <= 9; ++n)
        names.push_back("class_LineEff_Ani" + std::to_string(n) + ".tga");
    for (const char *n : {"PayUserIconBig.tga", "PayUserIconSmall.tga", "Reject.tga", "Thumbs.db"})
        names.push_back(n);
    if (stock) {
        names.push_back("GreenCommunityUserBig.tga");
        names.push_back("GreenCommunityUserSmall.tga");
    }
    return names;
}

} // namespace korvanta::test
