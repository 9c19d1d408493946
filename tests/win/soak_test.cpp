// Many page lifetimes in one host process, as in an Outlook that runs for days
// and makes a new page each time its Options dialog opens: create, load, edit
// (add, move, remove, the Reply-To format), Apply without a restart, destroy.
// After a warm-up, every 10 lifetimes it samples the process's USER and GDI
// objects, its handles, the registry keys the module's store holds open and
// the bytes in use in its heaps and its private bytes (and the thread's windows
// and the next handle value, which Wine does count). None of the counts may
// grow; the heaps may grow only by what Wine itself keeps of each destroyed
// label (below); private bytes, given 10 samples or more, may not peak more
// than 5% higher in the later half of the samples than in the earlier half;
// and the profile after the last save must equal the one after the first.
// A counter that reads 0 throughout is one this system does not implement
// (Wine's GetGuiResources): the test says so instead of passing it silently.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "sample_profile.h"
#include "standin/driver/ui_driver.h"
#include "test_container.h"
#include "win/control/control_module.h"
#include "win/control/input_box.h"
#include "win/control/page_design.h"
#include "win/control/quillon_control.h"
#include "win/common/win_handles.h"

namespace quillon::win::testing {
namespace {

using enum ControlId;

constexpr int kWarmUp = 10;
constexpr int kSampleEvery = 10;
constexpr wchar_t kAdded[] = L"Soak Added <soak.added@quillon-sample.com>";

struct Sample {
  int lifetime;
  DWORD user, gdi, handles;
  std::size_t registryKeys;
  SIZE_T heapBytes;
  SIZE_T privateBytes;
  std::size_t windows;
  std::uintptr_t firstFreeHandle;
  std::size_t labelsDestroyed;  // so far, of the kind Wine keeps a little of
};

enum class Growth {
  kNone,
  kWineLabels,  // by what Wine keeps of the labels destroyed between the samples
  kNoisy,       // by 5% at the peaks
};

struct Counter {
  const char* name;
  double (*read)(const Sample&);
  Growth growth;
  bool zeroIsPlausible;  // otherwise 0 throughout means the system does not count it
};

const std::array<Counter, 8> kCounters{{
    {"USER objects", [](const Sample& s) { return double(s.user); }, Growth::kNone, false},
    {"GDI objects", [](const Sample& s) { return double(s.gdi); }, Growth::kNone, false},
    {"process handles", [](const Sample& s) { return double(s.handles); }, Growth::kNone, false},
    {"open registry keys", [](const Sample& s) { return double(s.registryKeys); }, Growth::kNone, true},
    // Exact, so a leak of a few bytes a lifetime shows; private bytes catch
    // what lives outside the heaps (mappings, stacks), through the heaps' noise.
    {"heap bytes in use", [](const Sample& s) { return double(s.heapBytes); }, Growth::kWineLabels, false},
    {"private bytes", [](const Sample& s) { return double(s.privateBytes); }, Growth::kNoisy, false},
    // Not asked for, but counted everywhere: windows are most of a page's USER objects.
    {"windows of the thread", [](const Sample& s) { return double(s.windows); }, Growth::kNone, true},
    // Where the handle count reads 0 (Wine): handles take the lowest free slot,
    // so a handle left open each lifetime pushes the next one up.
    {"next handle value", [](const Sample& s) { return double(s.firstFreeHandle); }, Growth::kNone, false},
}};

// Wine's comctl32 gives a text label that is sent a font a block of its own
// (font, image, flag) and frees it on destruction for icons only (static.c,
// WM_NCDESTROY): every label the page or its dialogs destroy leaves that
// block in the heap. Windows frees it. Counted here so that nothing else
// may grow.
struct WineLabelBlock {
  HFONT font;
  HANDLE image;
  BOOL imageHasAlpha;
};

const bool g_underWine = RunningOnWine();
std::size_t g_labelsDestroyed = 0;

BOOL CALLBACK CountKeptLabel(HWND window, LPARAM count) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  HMODULE procedureModule = nullptr;  // comctl32's labels, not user32's, which keep nothing
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(window, GWLP_WNDPROC)), &procedureModule);
  if (CompareStringOrdinal(name, -1, L"Static", -1, TRUE) == CSTR_EQUAL &&
      procedureModule == GetModuleHandleW(L"comctl32.dll") &&
      (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && SendMessageW(window, WM_GETFONT, 0, 0)) {
    ++*reinterpret_cast<std::size_t*>(count);
  }
  return TRUE;
}

// Called just before `window` and its children go.
void CountLabelsAboutToGo(HWND window) {
  if (g_underWine) EnumChildWindows(window, CountKeptLabel, reinterpret_cast<LPARAM>(&g_labelsDestroyed));
}

bool g_privateUsageMissing = false;

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<std::size_t*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  CountChild(window, count);
  EnumChildWindows(window, CountChild, count);  // all descendants
  return TRUE;
}

// Private bytes as Windows counts them (PrivateUsage); where that reads 0 (Wine),
// the commit charge, which Windows documents as the same number.
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    return 0;
  g_privateUsageMissing = memory.PrivateUsage == 0;
  return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

// Bytes in the busy blocks of every heap of the process: what is allocated and
// not freed, without the free space a heap keeps committed.
SIZE_T HeapBytesInUse() {
  std::array<HANDLE, 256> heaps{};
  const DWORD count = std::min<DWORD>(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()), heaps.size());
  SIZE_T busy = 0;
  for (DWORD i = 0; i < count; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return busy;
}

std::uintptr_t NextHandleValue() {
  UniqueHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  const HANDLE value = event.get();
  event.reset();  // closed, so the next handle may reuse its value
  return reinterpret_cast<std::uintptr_t>(value);
}

Sample Measure(int lifetime, const ControlModule& module) {
  Sample sample{lifetime, GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), 0, module.OpenRegistryKeys(),
                HeapBytesInUse(), PrivateBytes(), 0, NextHandleValue(), g_labelsDestroyed};
  GetProcessHandleCount(GetCurrentProcess(), &sample.handles);
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&sample.windows));
  return sample;
}

// Four bytes written as eight hex digits from `at`, little-endian.
unsigned long DwordAt(const std::string& hex, std::size_t at) {
  unsigned long number = 0;
  for (int b = 3; b >= 0; --b) number = number << 8 | std::stoul(hex.substr(at + 2 * b, 2), nullptr, 16);
  return number;
}

// The profile's image with account numbers replaced by their place in the order
// list: Apply gives the identities new numbers on every save (from
// "NextAccountID"), so only the numbers may differ from save to save.
std::string WithoutAccountNumbers(const std::string& image) {
  const std::string orderLine = "  \"{ED475418-B0D6-11D2-8C3B-00104B2A6676}\" 3 ";
  const std::string nextLine = "  \"NextAccountID\" 4 ";
  const std::string accountHeader = std::string("[") + "\\9375CFF0413111d3B88A00104B2A6676\\";
  std::vector<unsigned long> order;
  if (const std::size_t at = image.find(orderLine); at != std::string::npos) {
    for (std::size_t i = at + orderLine.size(); i + 8 <= image.find('\n', at); i += 8)
      order.push_back(DwordAt(image, i));
  }
  const unsigned long highest = order.empty() ? 0 : *std::max_element(order.begin(), order.end());
  std::istringstream lines(image);
  std::string out;
  for (std::string line; std::getline(lines, line); out += line + "\n") {
    if (line.starts_with(orderLine)) {
      line = orderLine + std::to_string(order.size()) + " accounts";
    } else if (line.starts_with(nextLine)) {
      const unsigned long next = line.size() >= nextLine.size() + 8 ? DwordAt(line, nextLine.size()) : 0;
      line = nextLine + (next > highest ? "above every account" : "NOT above every account");
    } else if (line.starts_with(accountHeader) && line.size() == accountHeader.size() + 9) {
      const unsigned long number = std::stoul(line.substr(accountHeader.size(), 8), nullptr, 16);
      const auto place = std::find(order.begin(), order.end(), number);
      line = accountHeader + (place == order.end() ? "not in the order list"
                                                   : "account " + std::to_string(place - order.begin())) + "]";
    }
  }
  return out;
}

// Answers every dialog of the page with what the lifetime expects next.
class Answers {
 public:
  Answers()
      : answerer_([this] {
          HWND box = FindPageDialog();
          if (!box || box == answered_) return false;
          answered_ = box;
          ++count_;
          if (HWND edit = GetDlgItem(box, kInputBoxEditId)) SetWindowTextW(edit, typed_);
          CountLabelsAboutToGo(box);
          PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
          return false;  // keeps answering
        }) {}
  void Next(int button, const wchar_t* typed = L"") { button_ = button, typed_ = typed; }
  int Count() const { return count_; }

 private:
  HWND answered_ = nullptr;
  int button_ = IDCANCEL;
  const wchar_t* typed_ = L"";
  int count_ = 0;
  DialogAnswerer answerer_;
};

class Soak : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ImportSampleProfile()); }
  void TearDown() override { ImportSampleProfile(); }

  void Click(HWND page, ControlId id) { SendMessageW(FindPageControl(page, id), BM_CLICK, 0, 0); }
  // A click on a line of List1, as the mouse would.
  void ClickLine(HWND page, int index) {
    HWND list = FindPageControl(page, List1);
    SendMessageW(list, LB_SETTOPINDEX, index, 0);  // in view, as the user would scroll it
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, index, 0));
    const LPARAM point = MAKELPARAM(4, (index - SendMessageW(list, LB_GETTOPINDEX, 0, 0)) * height + height / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
  }
  int Lines(HWND page) { return static_cast<int>(SendMessageW(FindPageControl(page, List1), LB_GETCOUNT, 0, 0)); }

  // One page from creation to its last Release; false (with a failure) when a step went wrong.
  bool Lifetime(ControlModule& module, int lifetime) {
    // A new Outlook object model each time: its stand-in keeps a log of every
    // call, which would otherwise grow with the lifetimes.
    SCOPED_TRACE("lifetime " + std::to_string(lifetime));
    ComPtr<IDispatch> outlook = SampleOutlook();
    ComPtr<IOleObject> made;
    // The creation reference goes at the end of the statement; `made` holds the page.
    ComPtr<QuillonControl>(new QuillonControl(module))->QueryInterface(IID_IOleObject, made.put_void());
    HostedPage hosted(outlook.get());
    EXPECT_HRESULT_SUCCEEDED(hosted.Create(CreationOrder::kSetClientSiteFirst, std::move(made)));
    HWND page = hosted.control.Window();
    const int loaded = Lines(page);
    Answers answers;

    answers.Next(IDOK, kAdded);
    Click(page, cmdAdd);
    EXPECT_EQ(Lines(page), loaded + 1) << "add";
    ClickLine(page, loaded);
    Click(page, cmdMoveUp);
    EXPECT_EQ(SendMessageW(FindPageControl(page, List1), LB_GETCURSEL, 0, 0), loaded - 1) << "move";
    answers.Next(IDYES);
    Click(page, cmdRemove);
    EXPECT_EQ(Lines(page), loaded) << "remove";
    // Away from the stored format and back: an edit whose result is the same each time.
    const auto checked = [page](ControlId id) {
      return SendMessageW(FindPageControl(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    const ControlId stored = checked(Option1_0) ? Option1_0 : checked(Option1_1) ? Option1_1 : Option1_2;
    Click(page, stored == Option1_0 ? Option1_1 : Option1_0);
    Click(page, stored);

    answers.Next(IDNO);  // no restart
    EXPECT_HRESULT_SUCCEEDED(hosted.control.Apply());
    EXPECT_EQ(answers.Count(), 3) << "input box, removal, restart question";
    CountLabelsAboutToGo(page);
    EXPECT_EQ(hosted.control.Destroy(), 0u);
    return !HasFailure();
  }

  // The whole soak on the profile as it is now; prints the table.
  void Run(const char* profileName, int lifetimes) {
    OleApartment apartment;
    ControlModule module(GetModuleHandleW(nullptr));
    std::vector<Sample> samples;
    samples.reserve(lifetimes / kSampleEvery + 1);  // grown here, it would count as heap growth
    std::string afterFirstSave;
    for (int lifetime = 1; lifetime <= lifetimes; ++lifetime) {
      ASSERT_TRUE(Lifetime(module, lifetime));
      if (lifetime == 1) afterFirstSave = WithoutAccountNumbers(RegistryImage());
      if (lifetime >= kWarmUp && lifetime % kSampleEvery == 0) samples.push_back(Measure(lifetime, module));
    }
    const std::string afterLastSave = WithoutAccountNumbers(RegistryImage());
    // Multi-line texts: a failure prints the lines that differ.
    EXPECT_EQ(afterLastSave, afterFirstSave) << "the profile after the last save differs from the one after the first";
    Report(profileName, samples);
  }

  static constexpr std::size_t kFewestForATrend = 10;

  // Wine's commit charge climbs to a plateau over the first few dozen lifetimes
  // and then moves up and down by megabytes, so a single late sample says
  // little. A leak keeps climbing: the later half of the samples peaks above
  // the earlier half.
  static bool LateGrowth(const std::vector<Sample>& samples, const Counter& counter) {
    const std::size_t half = samples.size() / 2;
    double earlier = 0, later = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      (i < half ? earlier : later) = std::max(i < half ? earlier : later, counter.read(samples[i]));
    }
    return later > earlier * 1.05;
  }

  static bool Grew(const std::vector<Sample>& samples, const Counter& counter, double highest) {
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    switch (counter.growth) {
      case Growth::kNoisy:
        return LateGrowth(samples, counter);
      case Growth::kWineLabels:
        return counter.read(last) - counter.read(first) >
               double((last.labelsDestroyed - first.labelsDestroyed) * sizeof(WineLabelBlock));
      case Growth::kNone:
        break;
    }
    return highest > counter.read(first);
  }

  void Report(const char* profileName, const std::vector<Sample>& samples) {
    ASSERT_GE(samples.size(), 2u);
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    std::printf("Soak on %s: %d lifetimes, samples every %d after %d\n", profileName, last.lifetime, kSampleEvery,
                kWarmUp);
    std::printf("  %-20s %14s %14s %14s  %s\n", "counter", "lifetime", "lifetime", "highest", "verdict");
    std::printf("  %-20s %14d %14d %14s\n", "", first.lifetime, last.lifetime, "");
    for (const Counter& counter : kCounters) {
      double highest = 0;
      for (const Sample& s : samples) highest = std::max(highest, counter.read(s));
      const double start = counter.read(first);
      const char* verdict = "ok";
      if (highest == 0 && !counter.zeroIsPlausible) {
        verdict = "NOT CHECKED: reads 0 throughout (not implemented here)";
      } else if (counter.growth == Growth::kNoisy && samples.size() < kFewestForATrend) {
        verdict = "shown only: too few samples to tell a climb from the noise";
      } else if (Grew(samples, counter, highest)) {
        verdict = "GREW";
        ADD_FAILURE() << counter.name << " grew on " << profileName << ": " << start << " at lifetime "
                      << first.lifetime << ", " << counter.read(last) << " at " << last.lifetime << ", highest "
                      << highest;
      }
      std::printf("  %-20s %14.0f %14.0f %14.0f  %s\n", counter.name, start, counter.read(last), highest, verdict);
    }
    if (g_underWine)
      std::printf("  (heap bytes may grow by %zu bytes for each of the %zu labels destroyed: Wine keeps them)\n",
                  sizeof(WineLabelBlock), last.labelsDestroyed - first.labelsDestroyed);
    if (g_privateUsageMissing)
      std::printf("  (PrivateUsage reads 0 here: private bytes are the commit charge, PagefileUsage)\n");
    std::fflush(stdout);
  }
};

int LifetimesFromEnvironment(const char* name, int fallback) {
  char text[16] = {};
  return GetEnvironmentVariableA(name, text, sizeof text) ? std::max(atoi(text), 20) : fallback;
}

TEST_F(Soak, SampleProfile) {
  SCOPED_TRACE("the sample profile");
  Run("the sample profile", LifetimesFromEnvironment("QUILLON_SOAK_LIFETIMES", 200));
}

// 40 lifetimes, not 200: under Wine each takes about 1 s here (Apply rewrites 500
// accounts through wineserver). The heaps are counted exactly, so 4 samples
// show a leak; private bytes need QUILLON_SOAK_BIG_LIFETIMES=200 to be judged.
TEST_F(Soak, FiveHundredIdentities) {
  // The sample profile with 500 more identities, as samples/make-sample-profile.py --large makes it.
  ASSERT_TRUE(ImportSampleProfile(WindowsPath(QUILLON_SOAK_BIG_PROFILE)));
  SCOPED_TRACE("a profile of 500 identities");
  Run("a profile of 500 identities", LifetimesFromEnvironment("QUILLON_SOAK_BIG_LIFETIMES", 40));
}

}  // namespace
}  // namespace quillon::win::testing
