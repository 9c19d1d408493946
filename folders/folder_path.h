// Display path of a folder, as the monitored-folders list shows it.
#pragma once

#include <string>
#include <string_view>

#include "platform/outlook.h"

namespace quillon {

// The folder's name prefixed with up to 20 ancestors' names ("Inbox\Projects"),
// stopping below the default mailbox's root; a folder of any other store gives
// its own name. "" when even the name cannot be read.
std::u16string GetFolderPath(platform::OutlookFolder& folder, std::u16string_view sDefStoreID,
                             std::u16string_view sDefRootID);

}  // namespace quillon
