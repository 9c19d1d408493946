// Dialog windows built at run time (no resource script): an empty template with
// a title and size; the dialog procedure creates its controls itself.
#pragma once

#include <string>
#include <vector>

#include "standin/com_support.h"

namespace quillon::standin {

// A DLGTEMPLATE without items, in dialog units, with the dialog font "MS Shell Dlg" 8.
std::vector<WORD> MakeDialogTemplate(const std::wstring& title, DWORD style, short width, short height);

// Creates a child control of a dialog in its font; `rect` in pixels.
HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                const RECT& rect, DWORD exStyle = 0);

// Resizes a window so that its client area is width x height pixels.
void SetClientSize(HWND window, int width, int height);

// Writes the window's client area, children included, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

}  // namespace quillon::standin
