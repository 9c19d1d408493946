// The user's Outlook signatures, as far as the page offers them for choosing.
//
// Outlook keeps a signature NAME as the files NAME.htm, NAME.rtf and/or
// NAME.txt in one folder per user; what an account stores is NAME. Reading
// the catalogue never fails: a folder that cannot be read gives no names, and
// the implementation reports that once to the current step's sink.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon::platform {

class SignatureCatalogue {
 public:
  virtual ~SignatureCatalogue() = default;
  // The names of the user's signatures for that Outlook major version, each
  // once, in the order of SignatureNamesOf.
  virtual std::vector<std::u16string> SignatureNames(std::int16_t outlookVersion) = 0;
};

// Has no signatures: where no catalogue is given.
SignatureCatalogue& NoSignatures();

// The signature names that the files of a signatures folder stand for: each
// .htm, .rtf or .txt file (extension compared by the ASCII rule) gives its
// name without the extension; names equal by the identity rule of text.h
// (Windows file names ignore case) count once, in the first spelling of the
// order below; sorted by the identity rule ignoring case, ties by code unit.
std::vector<std::u16string> SignatureNamesOf(std::span<const std::u16string> fileNames);

}  // namespace quillon::platform
