#include "win/control/page_design.h"

#include <array>

namespace quillon::win {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr wchar_t kPopulateTip[] =
    L"Populate the Identities list with SMTP e-mail addresses assigned to the current user "
    L"in Active Directory";
constexpr wchar_t kSharedTip[] = L"Populate the Identities list with addresses of the shared mailboxes";

// Kept in ControlId order so an id indexes its row.
constexpr std::array<ControlDesign, kControlCount> kDesign{{
    {Frame3, L"Frame3", K::Frame, Page, L"Identities", 120, 0, 5535, 2430, 11},
    {lblDefAddress, L"lblDefAddress", K::Label, Frame3, L"", 120, 260, 4095, 300, 19},
    {List1, L"List1", K::ListBox, Frame3, L"", 120, 525, 4095, 1815, 18},
    {cmdChange, L"cmdChange", K::Button, Frame3, L"Change", 4320, 380, 1100, 300, 17, true, false},
    {cmdAdd, L"cmdAdd", K::Button, Frame3, L"Add", 4320, 710, 1100, 300, 16},
    {cmdRemove, L"cmdRemove", K::Button, Frame3, L"Remove", 4320, 1040, 1100, 300, 15, true, false},
    {cmdRemoveAll, L"cmdRemoveAll", K::Button, Frame3, L"Remove All", 4320, 1370, 1100, 300, 12, true, false},
    {cmdMoveUp, L"cmdMoveUp", K::Button, Frame3, L"Move Up", 4320, 1700, 1100, 300, 14, true, false},
    {cmdMoveDown, L"cmdMoveDown", K::Button, Frame3, L"Move Down", 4320, 2030, 1100, 330, 13, true, false},
    {List2, L"List2", K::ListBox, Frame3, L"", 3360, 120, 615, 255, 27, false},
    {List3, L"List3", K::ListBox, Frame3, L"", 4080, 120, 615, 255, 26, false},
    {List5, L"List5", K::ListBox, Frame3, L"", 4800, 120, 495, 255, 25, false},
    {Frame1, L"Frame1", K::Frame, Page, L"After changing the user's data", 120, 2440, 2655, 615, 6},
    {cmdRefresh, L"cmdRefresh", K::Button, Frame1, L"Re-read Active Directory", 120, 240, 2415, 300, 7},
    {Frm1, L"Frm1", K::Frame, Page, L" Populate Identities list with", 2880, 2440, 2775, 615, 3},
    {cmdPopulate, L"cmdPopulate", K::Button, Frm1, L"AD Addresses", 120, 240, 1200, 300, 5, true, true,
     false, TextAlign::Left, kPopulateTip},
    {cmdSharedMailboxes, L"cmdSharedMailboxes", K::Button, Frm1, L"Shared Mbx", 1560, 240, 1100, 300, 4,
     true, true, false, TextAlign::Left, kSharedTip},
    {Frame4, L"Frame4", K::Frame, Page, L"Reply-To address format", 120, 3050, 5535, 595, 30},
    {Option1_0, L"Option1(0)", K::Option, Frame4, L"<a@x.com>", 120, 230, 1335, 300, 31},
    {Option1_1, L"Option1(1)", K::Option, Frame4, L"[smtp:a@x.com]", 1800, 230, 1605, 300, 32},
    {Option1_2, L"Option1(2)", K::Option, Frame4, L"[smtp:<a@x.com>]", 3720, 230, 1785, 300, 33, true,
     true, true},
    {Frame2, L"Frame2", K::Frame, Page, L"Handle ingoing messages delivered to the following folders: ",
     120, 3650, 5535, 1355, 8},
    {cmdAddFolder, L"cmdAddFolder", K::Button, Frame2, L"Add", 4320, 240, 1100, 300, 29},
    {cmdDeleteFolder, L"cmdDeleteFolder", K::Button, Frame2, L"Remove", 4320, 600, 1100, 300, 10},
    {cmdDeleteAllFolders, L"cmdDeleteAllFolders", K::Button, Frame2, L"Remove All", 4320, 960, 1100, 300, 28},
    {List4, L"List4", K::ListBox, Page, L"", 240, 3840, 4095, 1035, 9},
    {Label4_0, L"Label4(0)", K::Label, Page, L"Quillon", 120, 5040, 2175, 255, 0},
    {Label4_2, L"Label4(2)", K::Label, Page, L"\u00A9 2026 Quillon", 2520, 5040, 1440, 255, 1, true, true,
     false, TextAlign::Centre},
    {Label1, L"Label1", K::Label, Page, L"quillon.example", 4200, 5040, 1470, 255, 2, true, true, false,
     TextAlign::Right},
    // Where Outlook 12 and later hide the folders frame: the signatures of the
    // selected identity, next in the tab order after the identities.
    {Frame5, L"Frame5", K::Frame, Page, L"Signatures of the selected identity", 120, 3650, 5535, 1095, 20,
     false},
    {lblNewSignature, L"lblNewSignature", K::Label, Frame5, L"New messages:", 120, 300, 1455, 255, 21},
    {cboNewSignature, L"cboNewSignature", K::ComboBox, Frame5, L"", 1680, 240, 3735, 315, 22, true, false},
    {lblReplySignature, L"lblReplySignature", K::Label, Frame5, L"Replies/forwards:", 120, 720, 1455, 255, 23},
    {cboReplySignature, L"cboReplySignature", K::ComboBox, Frame5, L"", 1680, 660, 3735, 315, 24, true,
     false},
}};

constexpr bool DesignIsInIdOrder() {
  for (int i = 0; i < kControlCount; ++i)
    if (static_cast<int>(kDesign[i].id) != i) return false;
  return true;
}
static_assert(DesignIsInIdOrder());

}  // namespace

std::span<const ControlDesign> PageDesign() { return kDesign; }

const ControlDesign& DesignOf(ControlId id) { return kDesign[static_cast<int>(id)]; }

RECT PageRectTwips(ControlId id) {
  const ControlDesign& design = DesignOf(id);
  int left = design.left;
  int top = design.top;
  if (design.container != ControlId::Page) {
    const ControlDesign& frame = DesignOf(design.container);
    left += frame.left;
    top += frame.top;
  }
  return RECT{left, top, left + design.width, top + design.height};
}

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

RECT TwipsToPixels(const RECT& twips, UINT dpi) {
  return RECT{TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
              TwipsToPixels(twips.right, dpi), TwipsToPixels(twips.bottom, dpi)};
}

}  // namespace quillon::win
