// The user's Outlook signatures on Windows: the signature files of the
// folder Outlook keeps them in (platform/signature_catalogue.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/signature_catalogue.h"

namespace quillon::win {

class Win32SignatureCatalogue final : public platform::SignatureCatalogue {
 public:
  std::vector<std::u16string> SignatureNames(std::int16_t outlookVersion) override;
};

// Where that Outlook keeps the current user's signatures: below %APPDATA%
// and "Microsoft", the folder named by the value "Signatures" of the key
// HKCU\Software\Microsoft\Office\<version>.0\Common\General (a localised or
// relocated folder, relative to %APPDATA%\Microsoft), else "Signatures".
// Empty when %APPDATA% is unknown; failures are reported to the current step.
std::wstring SignaturesFolder(std::int16_t outlookVersion);

}  // namespace quillon::win
