// A page with everything around it: the registry with one mail profile, a
// running Outlook, the add-in, and a scripted user. Tests drive the page as
// Outlook and the user would, then read the registry bytes back.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/module_state.h"
#include "page/quillon_page.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/memory_registry_store.h"
#include "testing/scripted_user.h"

namespace quillon::testing {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::u16string>;
using Log = std::vector<std::string>;

inline constexpr char16_t kProfile[] = u"Outlook Main";
inline constexpr char16_t kUser[] = u"Ann Lee";

Bytes Utf16z(std::u16string_view text);  // UTF-16LE and one NUL code unit
Bytes Dword(std::uint32_t value);
Bytes OrderList(std::initializer_list<std::uint32_t> numbers);
// The cached multi-valued UTF-16 address list of the profile section.
Bytes MultiValued(const std::vector<std::u16string>& items);

struct IdentitySeed {
  std::uint32_t number;
  std::u16string accountName;
  std::u16string displayName;
  std::u16string email;
  std::u16string newSignature;
  std::u16string replySignature;
};

class PageWorld : public ::testing::Test {
 protected:
  explicit PageWorld(std::u16string outlookVersion = u"11.0.0.8010");

  // Profile contents, written straight into the registry.
  void SeedIdentityClass();
  void SeedIdentity(const IdentitySeed& identity);
  void SeedExchangeAccount(std::uint32_t number, std::u16string accountName);
  void SeedNextAccountId(std::uint32_t next);
  void SeedOrderList(const Bytes& bytes);
  void SeedDirectory(const std::vector<std::u16string>& addresses);
  void SeedProfileValue(std::string_view name, const Bytes& bytes);

  // A fresh page instance on the shared module state, loaded.
  QuillonPage& OpenPage();
  // Outlook destroys the page.
  void ClosePage();

  // Registry as the test reads it.
  std::string AccountsPath() const;
  std::string AccountPath(std::uint32_t number) const;
  std::vector<std::string> AccountKeys() const;
  std::optional<Bytes> Value(const std::string& path, std::string_view name) const;
  std::optional<std::u16string> AccountText(std::uint32_t number, std::string_view name) const;
  std::optional<Bytes> ProfileValue(std::string_view name) const;

  // The current page's controls.
  FakePageControls& ui() { return *controls_; }
  QuillonPage& page() { return *page_; }

  void ExpectNoStrayDialogs();
  void TearDown() override { ExpectNoStrayDialogs(); }

  MemoryRegistryStore registry;
  ModuleState module{registry};
  FakeOutlook outlook;
  ScriptedUser user;
  LibraryVersion version{2, 4, 17};

 private:
  std::unique_ptr<FakePageControls> controls_;
  std::unique_ptr<QuillonPage> page_;
};

// A page world whose Outlook is version 16.
class PageWorld16 : public PageWorld {
 protected:
  PageWorld16() : PageWorld(u"16.0.0.5000") {}
};

}  // namespace quillon::testing
