#include "tests/core/page_test_world.h"

#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"

namespace quillon::testing {

namespace {

std::string Ansi(std::u16string_view text) { return platform::ToAnsi(text); }

void AppendUtf16(Bytes& bytes, std::u16string_view text) {
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}

}  // namespace

Bytes Utf16z(std::u16string_view text) {
  Bytes bytes;
  AppendUtf16(bytes, text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

Bytes Dword(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes OrderList(std::initializer_list<std::uint32_t> numbers) {
  Bytes bytes;
  for (std::uint32_t number : numbers) {
    const Bytes four = Dword(number);
    bytes.insert(bytes.end(), four.begin(), four.end());
  }
  return bytes;
}

Bytes MultiValued(const std::vector<std::u16string>& items) {
  Bytes strings;
  std::vector<std::uint32_t> offsets;
  const auto header = static_cast<std::uint32_t>(4 + 4 * items.size());
  for (const auto& item : items) {
    offsets.push_back(header + static_cast<std::uint32_t>(strings.size()));
    const Bytes encoded = Utf16z(item);
    strings.insert(strings.end(), encoded.begin(), encoded.end());
  }
  Bytes bytes = Dword(static_cast<std::uint32_t>(items.size()));
  for (std::uint32_t offset : offsets) {
    const Bytes four = Dword(offset);
    bytes.insert(bytes.end(), four.begin(), four.end());
  }
  bytes.insert(bytes.end(), strings.begin(), strings.end());
  return bytes;
}

PageWorld::PageWorld(std::u16string outlookVersion) : outlook(std::move(outlookVersion)) {
  outlook.addIn->userName = kUser;
  outlook.addIn->profileName = kProfile;
  outlook.ns->chooser = [this] { return user.PickFolder(); };
  SeedIdentityClass();
  SeedNextAccountId(1);
}

std::string PageWorld::AccountsPath() const {
  return Ansi(profile::AccountsKeyPath(kProfile));
}

std::string PageWorld::AccountPath(std::uint32_t number) const {
  return AccountsPath() + "\\" + Ansi(profile::AccountKeyName(static_cast<std::int32_t>(number)));
}

void PageWorld::SeedIdentityClass() {
  registry.PutValue(platform::kClassesRoot,
                    "CLSID\\" + Ansi(profile::kIdentityAccountClsid), "", platform::kRegSz,
                    {'P', 'O', 'P', '3', '/', 'S', 'M', 'T', 'P', 0});
}

void PageWorld::SeedIdentity(const IdentitySeed& identity) {
  const std::string path = AccountPath(identity.number);
  const auto text = [&](std::string_view name, std::u16string_view value) {
    registry.PutValue(platform::kCurrentUser, path, name, platform::kRegBinary, Utf16z(value));
  };
  text("Account Name", identity.accountName);
  const std::string clsid = Ansi(profile::kIdentityAccountClsid);
  registry.PutValue(platform::kCurrentUser, path, "clsid", platform::kRegSz,
                    Bytes(clsid.begin(), clsid.end()));
  text("Display Name", identity.displayName);
  text("Email", identity.email);
  text("POP3 Server", u"none");
  text("POP3 User", u"none");
  text("SMTP Server", u"none");
  if (!identity.newSignature.empty()) text("New Signature", identity.newSignature);
  if (!identity.replySignature.empty()) text("Reply-Forward Signature", identity.replySignature);
}

void PageWorld::SeedExchangeAccount(std::uint32_t number, std::u16string accountName) {
  const std::string path = AccountPath(number);
  registry.PutValue(platform::kCurrentUser, path, "Account Name", platform::kRegBinary,
                    Utf16z(accountName));
  registry.PutValue(platform::kCurrentUser, path, "Service Name", platform::kRegBinary,
                    Utf16z(u"MSEMS"));
}

void PageWorld::SeedNextAccountId(std::uint32_t next) {
  registry.PutValue(platform::kCurrentUser, AccountsPath(), "NextAccountID", platform::kRegDword,
                    Dword(next));
}

void PageWorld::SeedOrderList(const Bytes& bytes) {
  registry.PutValue(platform::kCurrentUser, AccountsPath(),
                    Ansi(profile::kAccountOrderValue), platform::kRegBinary, bytes);
}

void PageWorld::SeedDirectory(const std::vector<std::u16string>& addresses) {
  registry.PutValue(platform::kCurrentUser, Ansi(profile::DirectorySectionKeyPath(kProfile)),
                    "101f6637", platform::kRegBinary, MultiValued(addresses));
}

void PageWorld::SeedProfileValue(std::string_view name, const Bytes& bytes) {
  registry.PutValue(platform::kCurrentUser, Ansi(profile::ProfileKeyPath(kProfile)), name,
                    platform::kRegBinary, bytes);
}

QuillonPage& PageWorld::OpenPage() {
  page_.reset();
  controls_ = std::make_unique<FakePageControls>();
  page_ = std::make_unique<QuillonPage>(
      PageEnvironment{controls_->Controls(), user, outlook.container, module, version});
  page_->UserControl_InitProperties();
  return *page_;
}

void PageWorld::ClosePage() {
  page_->UserControl_Terminate();
  page_.reset();
}

std::vector<std::string> PageWorld::AccountKeys() const {
  return registry.SubKeyNames(platform::kCurrentUser, AccountsPath());
}

std::optional<Bytes> PageWorld::Value(const std::string& path, std::string_view name) const {
  const auto value = registry.GetValue(platform::kCurrentUser, path, name);
  if (!value) return std::nullopt;
  return value->bytes;
}

std::optional<std::u16string> PageWorld::AccountText(std::uint32_t number,
                                                     std::string_view name) const {
  const auto bytes = Value(AccountPath(number), name);
  if (!bytes) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) {
    text.push_back(static_cast<char16_t>((*bytes)[i] | ((*bytes)[i + 1] << 8)));
  }
  if (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

std::optional<Bytes> PageWorld::ProfileValue(std::string_view name) const {
  return Value(Ansi(profile::ProfileKeyPath(kProfile)), name);
}

void PageWorld::ExpectNoStrayDialogs() {
  for (const std::string& stray : user.Unexpected()) ADD_FAILURE() << stray;
  EXPECT_EQ(user.PendingSteps(), 0u) << "scripted answers left unused";
}

}  // namespace quillon::testing
