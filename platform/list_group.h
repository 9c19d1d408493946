// Operations on a shown list box and the hidden lists parallel to it, which
// always change together.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "platform/controls.h"
#include "platform/user_services.h"

namespace quillon::platform {

// Title of every message box the page shows.
inline constexpr std::u16string_view kAppTitle = u"Quillon";

inline constexpr std::u16string_view kConfirmRemoveSelected =
    u"Are you sure you want to delete the selected item from the list?";
inline constexpr std::u16string_view kConfirmRemoveAll =
    u"Are you sure you want to delete all items from the list?";

using ListGroup = std::initializer_list<std::reference_wrapper<ListBox>>;

// Asks, then removes the selected line of `shown` from each list of `group`
// (in the group's order); true when something was removed.
bool ConfirmAndRemoveSelected(UserServices& user, ListBox& shown, ListGroup group);

// Asks, then empties each list of `group`; true when something was removed.
bool ConfirmAndClear(UserServices& user, ListBox& shown, ListGroup group);

// Sets the list's horizontal scroll range to its widest line plus a vertical
// scroll bar's width, so that every line can be scrolled into view.
void FitHorizontalExtent(ListBox& list, std::int32_t scrollBarWidth);

}  // namespace quillon::platform
