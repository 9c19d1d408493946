// The page rig as a test fixture: a test fails when the page showed a dialog
// the script did not expect, or left scripted answers unused.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/page_rig.h"
#include "tests/support/checks.h"

namespace quillon::testing {

using Texts = std::vector<std::u16string>;
using Log = std::vector<std::string>;
using Keys = std::vector<std::string>;

class PageWorld : public ::testing::Test, public PageRig {
 protected:
  explicit PageWorld(std::u16string outlookVersion = u"11.0.0.8010")
      : PageRig(std::move(outlookVersion)) {}

  // Replaces what the identity lists show with these lines, without signatures.
  void ShowLines(const Texts& lines) {
    for (auto* list : {&ui().List1, &ui().List2, &ui().List3}) list->Clear();
    for (const auto& line : lines) {
      ui().List1.AddItem(line);
      ui().List2.AddItem(u"");
      ui().List3.AddItem(u"");
    }
  }
  // The three parallel identity lists, line by line: entries, new and reply signatures.
  ::testing::AssertionResult IdentityLists(const Texts& lines, const Texts& news, const Texts& replies) {
    return Checks("identity lists")
        .Equal(ui().List1.Items(), lines, "List1")
        .Equal(ui().List2.Items(), news, "List2")
        .Equal(ui().List3.Items(), replies, "List3");
  }
  // The scroll range of a list whose widest line has `chars` characters.
  static std::int32_t ExtentOf(std::size_t chars) {
    return static_cast<std::int32_t>(chars) * FakeListBox::kCharWidth +
           FakePageSurface::kScrollBarWidth;
  }
  // The page's message box number `index` showed this text and style under the page's title.
  ::testing::AssertionResult MessageBoxShown(std::size_t index, std::u16string_view text,
                                             std::int32_t style) {
    if (index >= user.Dialogs().size()) {
      return ::testing::AssertionFailure() << "only " << user.Dialogs().size() << " dialogs";
    }
    const DialogRecord& dialog = user.Dialogs()[index];
    return Checks("dialog " + std::to_string(index))
        .Equal(dialog.text, text, "text")
        .Equal(dialog.style, style, "style")
        .Equal(dialog.title, std::u16string_view(u"Quillon"), "title");
  }
  // Clicks `button`, answering the question it asks.
  void ClickAnswering(FakeCommandButton& button, std::int16_t answer) {
    user.AnswerMessageBox(answer);
    button.UserClick();
  }
  // Clicks `button`, typing `text` into the input box it opens.
  void ClickTyping(FakeCommandButton& button, std::u16string text) {
    user.TypeIntoInputBox(std::move(text));
    button.UserClick();
  }
  // Apply, answering the restart question.
  void ApplyAnswering(std::int16_t answer) {
    user.AnswerMessageBox(answer);
    page().PropertyPage_Apply();
  }
  void TearDown() override {
    for (const std::string& stray : user.Unexpected()) ADD_FAILURE() << stray;
    EXPECT_EQ(user.PendingSteps(), 0u) << "scripted answers left unused";
  }
};

// A page world whose Outlook is version 16.
class PageWorld16 : public PageWorld {
 protected:
  PageWorld16() : PageWorld(u"16.0.0.5000") {}
};

}  // namespace quillon::testing
