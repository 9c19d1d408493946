#include "standin/folder_chooser.h"

#include "standin/dialog_window.h"
#include "win/common/callback_guard.h"

namespace quillon::standin {
namespace {

struct ChooserState {
  const std::vector<std::wstring>* paths;
  int chosen = -1;
};

void CreateChooserControls(HWND dialog, const ChooserState& state) {
  SetClientSize(dialog, 340, 272);
  AddControl(dialog, L"STATIC", L"Select the folder:", SS_LEFT, -1, RECT{10, 10, 330, 26});
  HWND list = AddControl(dialog, L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY,
                         kFolderChooserListId, RECT{10, 28, 330, 228});
  for (const std::wstring& path : *state.paths) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
  HWND ok = AddControl(dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, RECT{170, 238, 245, 262});
  AddControl(dialog, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, RECT{255, 238, 330, 262});
  EnableWindow(ok, FALSE);  // until a folder is selected
  SetFocus(list);
}

INT_PTR HandleChooserMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ChooserState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CreateChooserControls(dialog, *reinterpret_cast<ChooserState*>(lParam));
      return FALSE;  // focus already set
    case WM_COMMAND: {
      HWND list = GetDlgItem(dialog, kFolderChooserListId);
      const int selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
      if (LOWORD(wParam) == kFolderChooserListId && HIWORD(wParam) == LBN_SELCHANGE) {
        EnableWindow(GetDlgItem(dialog, IDOK), selected >= 0);
      } else if ((LOWORD(wParam) == IDOK || (LOWORD(wParam) == kFolderChooserListId && HIWORD(wParam) == LBN_DBLCLK)) &&
                 selected >= 0) {
        state->chosen = selected;
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return win::GuardedCallback<INT_PTR>([&] { return HandleChooserMessage(dialog, message, wParam, lParam); },
                                       [] { return INT_PTR{FALSE}; });
}

}  // namespace

std::optional<size_t> ChooseFolder(HWND owner, const std::vector<std::wstring>& paths) {
  ChooserState state{&paths};
  const std::vector<WORD> dialogTemplate =
      MakeDialogTemplate(kFolderChooserTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 227, 182);
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                              owner, ChooserProc, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK || state.chosen < 0) return std::nullopt;
  return static_cast<size_t>(state.chosen);
}

}  // namespace quillon::standin
