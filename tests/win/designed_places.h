// Where the form puts each control, in twips relative to the page, written out
// from the form rather than taken from the page's own design table.
#pragma once

#include <windows.h>

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "win/control/page_design.h"

namespace quillon::win::testing {

struct DesignedPlace {
  ControlId id;
  int left, top, right, bottom;
};

// clang-format off
inline constexpr DesignedPlace kDesignedPlaces[] = {
    {ControlId::Frame3, 120, 0, 5655, 2430}, {ControlId::lblDefAddress, 240, 260, 4335, 560},
    {ControlId::List1, 240, 525, 4335, 2340}, {ControlId::cmdChange, 4440, 380, 5540, 680},
    {ControlId::cmdAdd, 4440, 710, 5540, 1010}, {ControlId::cmdRemove, 4440, 1040, 5540, 1340},
    {ControlId::cmdRemoveAll, 4440, 1370, 5540, 1670}, {ControlId::cmdMoveUp, 4440, 1700, 5540, 2000},
    {ControlId::cmdMoveDown, 4440, 2030, 5540, 2360}, {ControlId::List2, 3480, 120, 4095, 375},
    {ControlId::List3, 4200, 120, 4815, 375}, {ControlId::List5, 4920, 120, 5415, 375},
    {ControlId::Frame1, 120, 2440, 2775, 3055}, {ControlId::cmdRefresh, 240, 2680, 2655, 2980},
    {ControlId::Frm1, 2880, 2440, 5655, 3055}, {ControlId::cmdPopulate, 3000, 2680, 4200, 2980},
    {ControlId::cmdSharedMailboxes, 4440, 2680, 5540, 2980}, {ControlId::Frame4, 120, 3050, 5655, 3645},
    {ControlId::Option1_0, 240, 3280, 1575, 3580}, {ControlId::Option1_1, 1920, 3280, 3525, 3580},
    {ControlId::Option1_2, 3840, 3280, 5625, 3580}, {ControlId::Frame2, 120, 3650, 5655, 5005},
    {ControlId::cmdAddFolder, 4440, 3890, 5540, 4190}, {ControlId::cmdDeleteFolder, 4440, 4250, 5540, 4550},
    {ControlId::cmdDeleteAllFolders, 4440, 4610, 5540, 4910}, {ControlId::List4, 240, 3840, 4335, 4875},
    {ControlId::Label4_0, 120, 5040, 2295, 5295}, {ControlId::Label4_2, 2520, 5040, 3960, 5295},
    {ControlId::Label1, 4200, 5040, 5670, 5295},
};
// clang-format on

// 1440 twips to the inch.
inline double Pixels(int twips, UINT dpi) { return twips * static_cast<double>(dpi) / 1440.0; }

// The control's rectangle relative to the page window, in pixels.
inline RECT PlaceInPage(HWND control, HWND page) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// Every control within a pixel of where the form puts it at `dpi`.
inline ::testing::AssertionResult SitsAsDesigned(HWND page, UINT dpi, const std::function<HWND(ControlId)>& control) {
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  const auto off = [&](LONG actual, int twips) { return std::abs(actual - Pixels(twips, dpi)) > 1; };
  for (const DesignedPlace& designed : kDesignedPlaces) {
    const RECT place = PlaceInPage(control(designed.id), page);
    if (off(place.left, designed.left) || off(place.top, designed.top) || off(place.right, designed.right) ||
        off(place.bottom, designed.bottom)) {
      if (result) result = ::testing::AssertionFailure();
      result << "control " << static_cast<int>(designed.id) << " at " << place.left << "," << place.top << "-"
             << place.right << "," << place.bottom << "; ";
    }
  }
  return result;
}

}  // namespace quillon::win::testing
