// Writes a WiX include with the registry rows of the page control, from the
// same list that the DLL's self-registration writes, so that an installed
// package registers exactly what regsvr32 does.
//
//   quillon_wix_registry ROOT VERSION FILE_ID > rows.wxi
//
// ROOT is HKLM (per machine) or HKCU (per user), VERSION the product version
// (major.minor are registered), FILE_ID the WiX id of the installed DLL.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "win/control/class_registration.h"

namespace {

// The rows are ASCII; anything else would be a change this tool must not guess at.
std::optional<std::string> Ascii(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    if (c < 0x20 || c > 0x7e) return std::nullopt;
    out += static_cast<char>(c);
  }
  return out;
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Registry values are formatted text for Windows Installer: a literal bracket
// has to be written as [\[] or [\]].
std::string InstallerLiteral(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '[') out += "[\\[]";
    else if (c == ']') out += "[\\]]";
    else out += c;
  }
  return out;
}

bool ParseMajorMinor(const std::string& version, int& major, int& minor) {
  return std::sscanf(version.c_str(), "%d.%d", &major, &minor) == 2 && major >= 0 && minor >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  int major = 0, minor = 0;
  const std::string root = argc == 4 ? argv[1] : "";
  if ((root != "HKLM" && root != "HKCU") || !ParseMajorMinor(argv[2], major, minor)) {
    std::cerr << "usage: quillon_wix_registry HKLM|HKCU VERSION FILE_ID\n";
    return 2;
  }
  // A placeholder for the path, swapped for the installed file's reference below.
  const std::wstring pathMark = L"QUILLON-MODULE-PATH";
  const std::string pathReference = "[#" + std::string(argv[3]) + "]";
  std::cout << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<!-- Written by quillon_wix_registry from the control's registration list. -->\n"
               "<Include>\n";
  for (const auto& entry : quillon::win::ClassRegistryEntries(pathMark, major, minor)) {
    const auto key = Ascii(L"Software\\Classes\\" + entry.key);
    const auto name = Ascii(entry.name);
    const auto text = Ascii(entry.text);
    if (!key || !name || !text) {
      std::cerr << "quillon_wix_registry: a registry entry is not plain ASCII\n";
      return 1;
    }
    const std::string attributes = "Root=\"" + root + "\" Key=\"" + XmlEscaped(*key) + "\"";
    if (!entry.hasValue) {
      // Windows Installer's name "*" with no value: the key alone, created on
      // install and removed on uninstall (wixl has no RegistryKey/@Action).
      std::cout << "  <RegistryValue " << attributes << " Name=\"*\" Type=\"string\" Value=\"\"/>\n";
      continue;
    }
    const std::string value = entry.text == pathMark ? pathReference : InstallerLiteral(*text);
    std::cout << "  <RegistryValue " << attributes;
    if (!name->empty()) std::cout << " Name=\"" << XmlEscaped(*name) << "\"";
    std::cout << " Type=\"string\" Value=\"" << XmlEscaped(value) << "\"/>\n";
  }
  std::cout << "</Include>\n";
  return 0;
}
