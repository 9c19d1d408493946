#include "platform/signature_catalogue.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/text.h"

namespace quillon::platform {
namespace {

class EmptyCatalogue final : public SignatureCatalogue {
 public:
  std::vector<std::u16string> SignatureNames(std::int16_t) override { return {}; }
};

constexpr std::array<std::u16string_view, 3> kSignatureExtensions{u".htm", u".rtf", u".txt"};

bool IsSignatureFile(std::u16string_view fileName) {
  for (std::u16string_view extension : kSignatureExtensions) {
    if (fileName.size() > extension.size() &&
        text::EqualsAsciiIgnoringCase(fileName.substr(fileName.size() - extension.size()), extension)) {
      return true;
    }
  }
  return false;
}

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& unit : folded) unit = text::SimpleUpperCase(unit);
  return folded;
}

}  // namespace

SignatureCatalogue& NoSignatures() {
  static EmptyCatalogue none;
  return none;
}

std::vector<std::u16string> SignatureNamesOf(std::span<const std::u16string> fileNames) {
  std::vector<std::u16string> names;
  for (const std::u16string& fileName : fileNames) {
    // Every extension is four code units long.
    if (IsSignatureFile(fileName)) names.push_back(fileName.substr(0, fileName.size() - 4));
  }
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    const std::u16string foldedA = Folded(a);
    const std::u16string foldedB = Folded(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
  });
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::u16string& a, const std::u16string& b) {
                            return text::EqualsIdentityIgnoringCase(a, b);
                          }),
              names.end());
  return names;
}

}  // namespace quillon::platform
