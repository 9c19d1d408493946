#include "standin/dialog_window.h"

#include <cstdio>

namespace quillon::standin {
namespace {

void AppendText(std::vector<WORD>& out, const std::wstring& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

// 24-bit and bottom-up, as a BMP file stores its rows.
BITMAPINFOHEADER BitmapHeader(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  header.biSizeImage = stride * static_cast<DWORD>(height);
  return header;
}

bool WriteBitmapFile(const std::wstring& path, const BITMAPINFOHEADER& header, const void* bits) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&header, sizeof header, 1, out) == 1 &&
                       std::fwrite(bits, header.biSizeImage, 1, out) == 1;
  return (std::fclose(out) == 0) && written;
}

}  // namespace

std::vector<WORD> MakeDialogTemplate(const std::wstring& title, DWORD style, short width, short height) {
  // DLGTEMPLATE is read as WORDs: style, extended style, item count, x, y, cx, cy,
  // then menu, class, title and (with DS_SETFONT) the point size and face name.
  std::vector<WORD> out;
  style |= DS_SETFONT;
  out.push_back(LOWORD(style));
  out.push_back(HIWORD(style));
  out.push_back(0);  // extended style
  out.push_back(0);
  out.push_back(0);  // no items
  out.push_back(0);  // x
  out.push_back(0);  // y
  out.push_back(static_cast<WORD>(width));
  out.push_back(static_cast<WORD>(height));
  out.push_back(0);  // no menu
  out.push_back(0);  // the standard dialog class
  AppendText(out, title);
  out.push_back(8);
  AppendText(out, L"MS Shell Dlg");
  return out;
}

HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                const RECT& rect, DWORD exStyle) {
  HWND control = CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
  if (control) SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

void SetClientSize(HWND window, int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
  RECT client{};
  if (!GetClientRect(window, &client)) return false;
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return false;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);

  BITMAPINFOHEADER header = BitmapHeader(width, height);
  const win::UniqueClientDc windowDc = win::GetClientDc(window);
  if (!windowDc) return false;
  void* bits = nullptr;
  const win::UniqueBitmap dib(
      CreateDIBSection(windowDc.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
  const win::UniqueMemoryDc memoryDc(CreateCompatibleDC(windowDc.get()));
  if (!dib || !memoryDc) return false;
  const win::UniqueSelection selected = win::SelectInto(memoryDc.get(), dib.get());
  const bool copied = BitBlt(memoryDc.get(), 0, 0, width, height, windowDc.get(), 0, 0, SRCCOPY) != FALSE;
  GdiFlush();
  return copied && WriteBitmapFile(path, header, bits);
}

}  // namespace quillon::standin
