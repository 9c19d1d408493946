// The page's design: every control instance with its container, caption,
// place and size in twips, tab index and design-time state.
#pragma once

#include <windows.h>

#include <span>

namespace quillon::win {

// One id per control instance, in the order of the design table.
enum class ControlId : int {
  Frame3, lblDefAddress, List1, cmdChange, cmdAdd, cmdRemove, cmdRemoveAll, cmdMoveUp,
  cmdMoveDown, List2, List3, List5, Frame1, cmdRefresh, Frm1, cmdPopulate,
  cmdSharedMailboxes, Frame4, Option1_0, Option1_1, Option1_2, Frame2, cmdAddFolder,
  cmdDeleteFolder, cmdDeleteAllFolders, List4, Label4_0, Label4_2, Label1,
  Frame5, lblNewSignature, cboNewSignature, lblReplySignature, cboReplySignature,
  Page,  // the page itself, as a container
};
inline constexpr int kControlCount = static_cast<int>(ControlId::Page);

enum class ControlKind { Frame, Label, ListBox, Button, Option, ComboBox };
enum class TextAlign { Left, Centre, Right };

struct ControlDesign {
  ControlId id;
  const wchar_t* name;
  ControlKind kind;
  ControlId container;
  const wchar_t* caption;
  // Twips, from the container's outer top-left corner. A drop-down list's
  // height is that of its closed field at 96 DPI; elsewhere its font decides.
  int left, top, width, height;
  int tabIndex;
  bool visible = true;
  bool enabled = true;
  bool selected = false;  // option buttons
  TextAlign align = TextAlign::Left;
  const wchar_t* toolTip = nullptr;
};

inline constexpr SIZE kPageSizeTwips{6120, 5625};

std::span<const ControlDesign> PageDesign();
const ControlDesign& DesignOf(ControlId id);

// The control's rectangle in twips relative to the page (frames added in).
RECT PageRectTwips(ControlId id);
// Twips to pixels at `dpi` dots per inch (1440 twips per inch).
int TwipsToPixels(int twips, UINT dpi);
RECT TwipsToPixels(const RECT& twips, UINT dpi);

// Label1's font: Arial 7.5 points, bold, underlined, Cyrillic character set.
inline constexpr int kLinkFontTenthsOfPoint = 75;
inline constexpr int kLinkFontCharset = 204;
inline constexpr COLORREF kLinkColour = RGB(0, 0, 192);
// The page's own font: the dialog font, which scales to any DPI.
inline constexpr wchar_t kPageFontFace[] = L"MS Shell Dlg 2";
inline constexpr int kPageFontPoints = 8;

}  // namespace quillon::win
