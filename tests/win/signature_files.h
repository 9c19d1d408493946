// Signature files in the (Wine) user's profile, made for one test and removed
// after it: Outlook's folder below %APPDATA%\Microsoft, or a relocated one.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillon::win::testing {

class SignatureFolder {
 public:
  // `name` below %APPDATA%\Microsoft; the folder goes again if this made it.
  explicit SignatureFolder(const std::wstring& name = L"Signatures") {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    folder_ = std::filesystem::path(appData) / L"Microsoft" / name;
    made_ = !std::filesystem::exists(folder_);
    std::filesystem::create_directories(folder_);
  }
  SignatureFolder(const SignatureFolder&) = delete;
  SignatureFolder& operator=(const SignatureFolder&) = delete;
  ~SignatureFolder() {
    std::error_code ignored;
    for (const std::filesystem::path& file : files_) std::filesystem::remove_all(file, ignored);
    if (made_) std::filesystem::remove_all(folder_, ignored);
  }
  // A file, or (a name without a dot) a folder such as a signature's images.
  void Add(const std::wstring& name) {
    files_.push_back(folder_ / name);
    if (name.find(L'.') == std::wstring::npos) {
      std::filesystem::create_directory(files_.back());
    } else {
      std::ofstream(files_.back()) << "signature";
    }
  }

 private:
  std::filesystem::path folder_;
  bool made_ = false;
  std::vector<std::filesystem::path> files_;
};

}  // namespace quillon::win::testing
