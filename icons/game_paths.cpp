#include "icons/game_paths.h"

#include "app/content.h"
#include "icons/main_window.h"

namespace korvanta {

Text GamePath(const char *suffix) {
    Text root = ReadContent(kEditBox1);
    return Concat({root.get(), suffix});
}

} // namespace korvanta
