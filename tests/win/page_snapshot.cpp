// Hosts the page in place and saves a picture of it as a 24-bit BMP, for a
// look at the page under Wine. Fails when the picture is blank. A few sample
// identities are typed into the list so the picture shows them.
#include <windows.h>

#include <climits>
#include <cstdio>
#include <set>
#include <vector>

#include "test_container.h"

using namespace quillon::win::testing;

namespace {

bool SaveBitmap(HWND window, const wchar_t* path, size_t* colours) {
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((width * 3) + 3) & ~3;
  const DWORD imageSize = stride * height;
  std::set<COLORREF> seen;
  auto* pixels = static_cast<const BYTE*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const BYTE* p = pixels + y * stride + x * 3;
      seen.insert(RGB(p[2], p[1], p[0]));
    }
  *colours = seen.size();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  bool written = false;
  if (FILE* out = _wfopen(path, L"wb")) {
    written = fwrite(&file, sizeof(file), 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
              fwrite(bits, imageSize, 1, out) == 1;
    fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return written;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* path = argc > 1 ? argv[1] : L"page.bmp";
  OleApartment apartment;
  if (FAILED(RegisterControlLibrary())) return 2;
  HostedControl hosted(CreationOrder::SiteFirst);
  if (FAILED(hosted.created) || FAILED(hosted.Activate())) return 3;
  HWND page = hosted.PageWindow();

  // The identities list is the visible list box nearest the top.
  HWND list = nullptr;
  LONG top = LONG_MAX;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    RECT place{};
    GetWindowRect(child, &place);
    if (_wcsicmp(name, L"ListBox") == 0 && IsWindowVisible(child) && place.top < top) {
      list = child;
      top = place.top;
    }
  }
  if (list) {
    for (const wchar_t* entry : {L"Ann Example <ann@example.com>", L"Sales Team <sales@example.com>",
                                 L"Support /o=Example/ou=Exchange/cn=Recipients/cn=support"})
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
  }
  UpdateWindow(hosted.Host());
  RedrawWindow(hosted.Host(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPendingMessages();

  size_t colours = 0;
  if (!SaveBitmap(hosted.Host(), path, &colours)) return 4;
  std::printf("saved %ls (%zu colours)\n", path, colours);
  return colours > 4 ? 0 : 5;
}
