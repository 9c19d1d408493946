#include "standin/com_support.h"

namespace quillon::standin {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring DescribeVariant(const VARIANT* v) {
  if (!v) return L"(missing)";
  std::wstring type;
  switch (v->vt) {
    case VT_EMPTY: return L"(empty)";
    case VT_BOOL: type = L"Boolean"; break;
    case VT_I2: type = L"Integer"; break;
    case VT_I4: type = L"Long"; break;
    case VT_BSTR: type = L"String"; break;
    default: type = L"vt" + std::to_wstring(v->vt); break;
  }
  std::wstring value;
  return ArgumentAsText(v, value) ? type + L" " + value : type;
}

}  // namespace quillon::standin
