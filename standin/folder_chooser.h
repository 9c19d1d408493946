// Outlook's modal folder chooser ("Select Folder"), as a list of folder paths.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "standin/com_support.h"
#include "standin/standin_protocol.h"

namespace quillon::standin {

// Shows the chooser owned by `owner`; the index of the chosen path, or none on Cancel.
std::optional<size_t> ChooseFolder(HWND owner, const std::vector<std::wstring>& paths);

}  // namespace quillon::standin
