#pragma once
// The ZIP unit's operation: unpacks an archive file into a directory, raising the unit's
// ExtractProgress event (index 1, the percentage) after every entry.

#include "shell/unit_record.h"

#include <cstdint>

namespace korvanta {

// 1: the walk reached its end or an ExtractProgress handler stopped it by giving back 0.
// 0: the extraction failed after its arguments were accepted. -1: an argument is absent (no
// event at all) or the archive names nothing that exists. A unit that is not a loaded ZIP
// unit ends the program through FatalError. Neither text is changed or released.
int32_t ExtractArchive(UnitRef zip_unit, const char *archive_path, const char *destination);

} // namespace korvanta
