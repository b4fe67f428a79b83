#pragma once
// One picture of every icon of both sets for a person to judge: the foreign set on the left,
// the stock set on the right, family by family, rank numbers under the ladder.

#include "image.h"
#include "set_content.h"

namespace korvanta::payload {

Image ContactSheet(const FileMap &foreign, const FileMap &stock);

} // namespace korvanta::payload
