// The page control's class names. No OS header: the packaging tool that writes
// the installers' registry rows reads them too.
#pragma once

namespace quillon::win {

inline constexpr wchar_t kClsidText[] = L"{E81ED592-4150-42B6-B949-17B9278EB854}";
inline constexpr wchar_t kProgId[] = L"Quillon.QuillonPage";
inline constexpr wchar_t kFriendlyName[] = L"Property Page Extension for Quillon COM add-in";

}  // namespace quillon::win
