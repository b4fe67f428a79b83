#pragma once
// The names of the icon files the game reads from its class folder, typed out here by hand
// rather than taken from the generator, so that a slip in either shows up.

#include <string>
#include <vector>

namespace korvanta::test {

// Every name inside the top folder of one set, in no particular order: the foreign set's
// 322, and the stock set's with its two more.
std::vector<std::string> IconNames(bool stock);

} // namespace korvanta::test
