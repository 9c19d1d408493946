// A signature catalogue with names a test gives it; it can stand for a folder
// that cannot be read (no names, one report to the current step).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/diagnostics.h"
#include "platform/signature_catalogue.h"

namespace quillon::testing {

class FakeSignatureCatalogue : public platform::SignatureCatalogue {
 public:
  std::vector<std::u16string> SignatureNames(std::int16_t outlookVersion) override {
    versionsAsked.push_back(outlookVersion);
    if (unreadableWith) {
      platform::ReportIgnored(u"FindFirstFileExW", u"Signatures", *unreadableWith);
      return {};
    }
    return names;
  }

  std::vector<std::u16string> names;        // as the platform lists them: sorted, each once
  std::optional<std::int32_t> unreadableWith;  // the folder fails with this Win32 code
  std::vector<std::int16_t> versionsAsked;
};

}  // namespace quillon::testing
