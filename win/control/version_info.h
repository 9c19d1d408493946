// The library's version as its VERSIONINFO resource states it.
#pragma once

#include <windows.h>

#include "page/quillon_page.h"

namespace quillon::win {

// major.minor.revision from the first three parts of FILEVERSION; zeros when
// the resource cannot be read.
LibraryVersion ReadLibraryVersion(HINSTANCE module);

}  // namespace quillon::win
