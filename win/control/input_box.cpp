#include "win/control/input_box.h"

#include <vector>

#include "win/common/callback_guard.h"
#include "win/common/com_support.h"

namespace quillon::win {
namespace {

struct InputBoxState {
  std::wstring prompt;
  std::wstring defaultText;
  std::optional<std::u16string> answer;
};

// Builds an in-memory dialog template (DLGTEMPLATE and DLGITEMTEMPLATEs).
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const std::wstring& title) {
    AddDword(style | DS_SETFONT);
    AddDword(0);
    countAt_ = words_.size();
    words_.push_back(0);
    for (short value : {short(0), short(0), width, height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // default class
    AddText(title);
    words_.push_back(8);  // points
    AddText(L"MS Shell Dlg 2");
  }

  void AddItem(WORD atom, WORD id, DWORD style, short x, short y, short width, short height,
               const std::wstring& text = {}) {
    if (words_.size() % 2) words_.push_back(0);  // DWORD alignment
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    AddText(text);
    words_.push_back(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddText(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

// A lone CR separates the prompt's lines; the static control wants CR LF.
std::wstring PromptLines(std::u16string_view prompt) {
  std::wstring lines;
  for (size_t i = 0; i < prompt.size(); ++i) {
    lines.push_back(static_cast<wchar_t>(prompt[i]));
    if (prompt[i] == u'\r' && (i + 1 == prompt.size() || prompt[i + 1] != u'\n')) lines.push_back(L'\n');
  }
  return lines;
}

std::u16string EditText(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(edit, text.data(), length + 1);
  return FromWide(text.c_str(), static_cast<size_t>(copied > 0 ? copied : 0));
}

INT_PTR HandleInputBoxMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<InputBoxState*>(lParam);
      SetDlgItemTextW(dialog, kInputBoxPromptId, state->prompt.c_str());
      HWND edit = GetDlgItem(dialog, kInputBoxEditId);
      SetWindowTextW(edit, state->defaultText.c_str());
      SetFocus(edit);
      const int end = GetWindowTextLengthW(edit);
      SendMessageW(edit, EM_SETSEL, end, end);
      return FALSE;  // focus set here, so the dialog must not select the text
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state) {
        state->answer = EditText(GetDlgItem(dialog, kInputBoxEditId));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// A failed text copy leaves the box open; the user can try again or cancel.
INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<INT_PTR>([&] { return HandleInputBoxMessage(dialog, message, wParam, lParam); },
                                  [] { return INT_PTR{FALSE}; });
}

}  // namespace

std::optional<std::u16string> ShowInputBox(HINSTANCE instance, HWND owner, std::u16string_view prompt,
                                           std::u16string_view title, std::u16string_view defaultText) {
  InputBoxState state{PromptLines(prompt), std::wstring(defaultText.begin(), defaultText.end()), {}};
  DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 260, 96,
                        std::wstring(title.begin(), title.end()));
  dialog.AddItem(kStaticAtom, kInputBoxPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 186, 60);
  dialog.AddItem(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 200, 7, 53, 14, L"OK");
  dialog.AddItem(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 200, 25, 53, 14, L"Cancel");
  dialog.AddItem(kEditAtom, kInputBoxEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 74,
                 246, 14);
  const INT_PTR result = DialogBoxIndirectParamW(instance, dialog.get(), owner, InputBoxProc,
                                                 reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.answer;
}

}  // namespace quillon::win
