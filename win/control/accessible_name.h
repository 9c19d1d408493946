// Names for assistive technology of the page's lists that no text of their own names.
//
// Where each system looks for a control's name:
// - Windows' default proxies (MSAA, and UI Automation's proxies for the
//   standard controls) name a list box or a drop-down list by the static
//   label that precedes it among its siblings. That serves the two signature
//   lists, each right after its label; List1 and List4 follow buttons instead.
// - Wine's oleacc takes the control's own window text, and a drop-down
//   list's window text is its selected entry, so no text can name it there.
// - Both send WM_GETOBJECT before they make a default proxy. The answer to it
//   names all four controls, on Windows and on Wine alike: an accessible
//   object that gives the name and hands everything else to the standard
//   object of CreateStdAccessibleObject.
#pragma once

#include <windows.h>

#include "win/control/page_design.h"

namespace quillon::win {

// From now on `control` answers WM_GETOBJECT for its client object with the
// name `labelledBy`'s design caption gives: without trailing blanks, and a
// label's text also without its closing colon ("New messages:" -> "New
// messages"). False when the window cannot be subclassed.
bool AnswerAccessibleName(HWND control, ControlId labelledBy);

}  // namespace quillon::win
