// One suite for every RegistryStore. Each step states what Windows gives beside
// the call; every store runs every step: the in-memory store natively, and in
// the Windows build the in-memory store and the real (Wine) registry. Each test
// works in its own scratch key below HKEY_CURRENT_USER and removes it.
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/store_under_test.h"
#ifdef QUILLON_WIN32_REGISTRY
#include "win/registry/win32_registry_store.h"
#endif

namespace quillon::testing {
namespace {

using namespace platform;

constexpr std::string_view kScratchParent = "Software\\QuillonConformance";
// Key slots a step refers to: 0 is the test's scratch key, -1 HKEY_CURRENT_USER.
constexpr int S = 0;
constexpr int kUserRoot = -1;

// Slots from kRawHandle on stand for that number as a handle.
constexpr int kRawHandle = 10000;

struct Side {
  RegistryStore& store;
  std::map<int, HKey> slots, closed;
  HKey At(int slot) const {
    if (slot == kUserRoot) return kCurrentUser;
    if (slot >= kRawHandle) return static_cast<HKey>(slot);
    for (const auto* map : {&slots, &closed}) {
      if (const auto found = map->find(slot); found != map->end()) return found->second;
    }
    return kNoKey;
  }
};

// One call and what a caller can observe of it on Windows.
struct Step {
  std::string what;
  std::function<std::string(Side&)> run;
  std::string windows;
};
using Script = std::vector<Step>;

std::string Code(RegResult rc) { return "rc=" + std::to_string(rc); }

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) text += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return text;
}

// Handles differ between stores; only whether one was given is observable.
std::string Opened(Side& side, int slot, RegResult rc, const HKey& key) {
  side.slots[slot] = key;
  return Code(rc) + (key == kNoKey ? " no key" : " key");
}

Step Open(int slot, int parent, std::string path, std::string windows, KeyAccess access = kKeyRead) {
  return {"OpenKeyEx " + path, [=](Side& side) {
            HKey key = 99;
            return Opened(side, slot, side.store.OpenKeyEx(side.At(parent), path, access, key), key);
          }, windows};
}

Step Create(int slot, int parent, std::string path, std::string windows,
            KeyAccess access = kKeyAllSixRights) {
  return {"CreateKeyEx " + path, [=](Side& side) {
            HKey key = 99;
            bool created = false;
            const RegResult rc = side.store.CreateKeyEx(side.At(parent), path, access, key, &created);
            return Opened(side, slot, rc, key) + (created ? " created" : "");
          }, windows};
}

Step CreateOld(int slot, int parent, std::string path, std::string windows) {
  return {"CreateKey " + path, [=](Side& side) {
            HKey key = 99;
            return Opened(side, slot, side.store.CreateKey(side.At(parent), path, key), key);
          }, windows};
}

// `after`: the byte past the counted ones, as callers' buffers may have (a NUL after any std::string).
Step Set(int slot, std::string name, std::uint32_t type, std::string bytes, std::string windows,
         char after = '\x7f') {
  return {"SetValueEx " + name, [=](Side& side) {
            const std::string buffer = bytes + after;
            return Code(side.store.SetValueEx(side.At(slot), name, type,
                                              reinterpret_cast<const std::uint8_t*>(buffer.data()),
                                              static_cast<std::uint32_t>(bytes.size())));
          }, windows};
}

// bufferSize < 0: no data buffer (a size query); two guard bytes follow the buffer.
Step Query(int slot, std::string name, int bufferSize, std::string windows, bool withSize = true) {
  return {"QueryValueEx " + name + " into " + std::to_string(bufferSize), [=](Side& side) {
            std::vector<std::uint8_t> buffer(bufferSize < 0 ? 0 : bufferSize + 2, 0xCC);
            std::uint32_t type = 77;
            std::uint32_t size = bufferSize < 0 ? 0 : bufferSize;
            const RegResult rc = side.store.QueryValueEx(side.At(slot), name, &type,
                                                         bufferSize < 0 ? nullptr : buffer.data(),
                                                         withSize ? &size : nullptr);
            return Code(rc) + " type=" + std::to_string(type) + " size=" + std::to_string(size) +
                   " buffer=" + Hex(buffer);
          }, windows};
}

// ex: through EnumKeyEx, which also reports the name's length.
Step Enum(int slot, std::uint32_t index, std::uint32_t bufferSize, std::string windows, bool ex = false) {
  return {(ex ? "EnumKeyEx " : "EnumKey ") + std::to_string(index), [=](Side& side) {
            std::string buffer(bufferSize + 1, '#');
            std::uint32_t length = bufferSize;
            const RegResult rc = ex ? side.store.EnumKeyEx(side.At(slot), index, buffer.data(), &length)
                                    : side.store.EnumKey(side.At(slot), index, buffer.data(), bufferSize);
            return Code(rc) + (ex ? " length=" + std::to_string(length) : "") +
                   (rc == kErrorSuccess ? " " + std::string(buffer.c_str()) : "");
          }, windows};
}

Step Info(int slot, std::string windows) {
  return {"QueryInfoKey", [=](Side& side) {
            std::uint32_t count = 77, longest = 77;
            const RegResult rc = side.store.QueryInfoKey(side.At(slot), &count, &longest);
            return Code(rc) + " subkeys=" + std::to_string(count) + " longest=" + std::to_string(longest);
          }, windows};
}

Step Delete(int slot, std::string path, std::string windows) {
  return {"DeleteKey " + path,
          [=](Side& side) { return Code(side.store.DeleteKey(side.At(slot), path)); }, windows};
}

Step Close(int slot, std::string windows = "rc=0") {
  return {"CloseKey", [=](Side& side) {
            const RegResult rc = side.store.CloseKey(side.At(slot));
            if (auto node = side.slots.extract(slot)) side.closed.insert_or_assign(slot, node.mapped());
            return Code(rc);
          }, windows};
}

// The script on each store in turn, in a fresh scratch key.
void RunOnEveryStore(const Script& script) {
  std::vector<std::unique_ptr<RegistryStore>> stores;
  stores.push_back(std::make_unique<MemoryRegistryStore>());
#ifdef QUILLON_WIN32_REGISTRY
  stores.push_back(std::make_unique<quillon::win::Win32RegistryStore>());
#endif
  const std::string path = std::string(kScratchParent) + "\\" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  for (const auto& store : stores) {
    const char* kind = InMemoryStoreOrNull(*store) ? "in-memory store" : "real registry";
    Side side{*store, {}, {}};
    RemoveKeyTree(*store, kCurrentUser, path);
    ASSERT_EQ(store->CreateKeyEx(kCurrentUser, path, kKeyAllSixRights, side.slots[S]), kErrorSuccess);
    for (std::size_t i = 0; i < script.size(); ++i) {
      EXPECT_EQ(script[i].run(side), script[i].windows) << kind << ", step " << i << ": " << script[i].what;
    }
    for (const auto& [slot, key] : side.slots) [[maybe_unused]] const RegResult closed = store->CloseKey(key);
    RemoveKeyTree(*store, kCurrentUser, path);
    // Fails while other tests' keys remain.
    [[maybe_unused]] const RegResult parentDeleted = store->DeleteKey(kCurrentUser, kScratchParent);
    EXPECT_EQ(OpenHandleCountOf(*store).value_or(0), 0u) << kind;
  }
}

TEST(RegistryConformance, NamesIgnoreCaseKeepTheirCaseAndPathsTakeEveryForm) {
  RunOnEveryStore({
      Create(1, S, "MixedCase\\Child", "rc=0 key created"), Close(1),
      Create(1, S, "MIXEDCASE\\child", "rc=0 key"), Close(1),
      Open(2, S, "mIxEdCaSe\\cHiLd", "rc=0 key"), Close(2),
      Open(2, S, "MixedCase\\Child\\", "rc=0 key"), Close(2),
      // A leading backslash makes a bad path name.
      Open(2, S, "\\mixedcase", "rc=161 no key"), Create(3, S, "\\x", "rc=161 no key"),
      CreateOld(4, S, "\\y", "rc=161 no key"),
      Open(2, S, "", "rc=0 key"), Info(2, "rc=0 subkeys=1 longest=9"), Close(2),
      Open(2, kUserRoot, "Software\\QuillonConformance\\NamesIgnoreCaseKeepTheirCaseAndPathsTakeEveryForm\\mixedcase\\child",
           "rc=0 key"), Close(2),
      CreateOld(4, S, "", "rc=0 key"), Close(4),
      Enum(S, 0, 64, "rc=0 MixedCase"), Enum(S, 1, 64, "rc=259"),
      // Letters of the code page beyond ASCII fold as well.
      Create(5, S, "\xC4rger", "rc=0 key created"), Close(5),
      Open(5, S, "\xE4RGER", "rc=0 key"), Close(5),
      // A value name in another case replaces the value whole, type included.
      Set(S, "BinVal", kRegBinary, "\1\2\3\4\5", "rc=0"),
      Set(S, "BINVAL", kRegDword, std::string("\7\0\0\0", 4), "rc=0"),
      Query(S, "binval", 8, "rc=0 type=4 size=4 buffer=07000000cccccccccccc"),
      Query(S, "NoSuchValue", -1, "rc=2 type=77 size=0 buffer="),
      // A name with a NUL would be cut short by the ANSI calls: refused, nothing touched.
      Set(S, std::string("Binval\0x", 8), kRegBinary, "9", "rc=87"),
      Create(6, S, std::string("x\0other", 7), "rc=87 no key"),
      Open(6, S, std::string("x\0other", 7), "rc=87 no key"),
      Delete(S, std::string("x\0other", 7), "rc=87"),
      Query(S, "binval", 8, "rc=0 type=4 size=4 buffer=07000000cccccccccccc"),
  });
}

// Hex names are what the profile store enumerates; code-page letters order by their upper case.
TEST(RegistryConformance, SubkeysEnumerateInAscendingOrderWithoutRegardToCase) {
  Script script{Info(S, "rc=0 subkeys=0 longest=0")};
  for (const char* name : {"0000000b", "00000002", "0000000A", "zeta", "Alpha", "\xE9t\xE9", "\xC9T\xC9",
                           "1f2e3d4c", "1F2E3D4B"}) {
    const bool again = std::string_view(name) == "\xC9T\xC9";  // the same name as "\xE9t\xE9"
    script.insert(script.end(), {Create(1, S, name, again ? "rc=0 key" : "rc=0 key created"), Close(1)});
  }
  script.insert(script.end(), {
      Create(1, S, "Alpha\\deeper-and-longer-name", "rc=0 key created"), Close(1),
      Info(S, "rc=0 subkeys=8 longest=8"),
      Enum(S, 0, 64, "rc=0 00000002"), Enum(S, 1, 64, "rc=0 0000000A"), Enum(S, 2, 64, "rc=0 0000000b"),
      Enum(S, 3, 64, "rc=0 1F2E3D4B"), Enum(S, 4, 64, "rc=0 1f2e3d4c"), Enum(S, 5, 64, "rc=0 Alpha"),
      Enum(S, 6, 64, "rc=0 zeta"), Enum(S, 7, 64, "rc=0 \xE9t\xE9"), Enum(S, 8, 64, "rc=259"),
      Enum(S, 99, 64, "rc=259 length=64", true),
      // Buffers must hold the name and its terminator; EnumKeyEx reports the length without it.
      Enum(S, 5, 5, "rc=234"), Enum(S, 5, 6, "rc=0 Alpha"),
      Enum(S, 5, 5, "rc=234 length=5", true), Enum(S, 5, 6, "rc=0 length=5 Alpha", true),
      Enum(S, 0, 0, "rc=234"), Enum(S, 0, 0, "rc=234 length=0", true),
      Create(2, S, std::string(255, 'k'), "rc=0 key created"), Close(2),
      Enum(S, 6, 255, "rc=234"), Enum(S, 6, 255, "rc=234 length=255", true),
      Enum(S, 6, 256, "rc=0 " + std::string(255, 'k')),
      Enum(S, 6, 256, "rc=0 length=255 " + std::string(255, 'k'), true),
      Info(S, "rc=0 subkeys=9 longest=255"),
  });
  RunOnEveryStore(script);
}

TEST(RegistryConformance, TypesAndBytesAreKeptExactlyAndReadByTheSizeProtocol) {
  RunOnEveryStore({
      Set(S, "Six", kRegBinary, std::string("\x0a\x14\x1e\x28\x32\x3c"), "rc=0"),
      Query(S, "Six", -1, "rc=0 type=3 size=6 buffer="),
      // The needed size comes back with ERROR_MORE_DATA; binary data gets nothing appended.
      Query(S, "Six", 5, "rc=234 type=3 size=6 buffer=cccccccccccccc"),
      Query(S, "Six", 8, "rc=0 type=3 size=6 buffer=0a141e28323ccccccccc"),
      Query(S, "Six", -1, "rc=0 type=3 size=0 buffer=", false),
      Query(S, "Six", 8, "rc=87 type=77 size=8 buffer=cccccccccccccccccccc", false),  // data but no size
      Set(S, "Empty", kRegBinary, "", "rc=0"), Query(S, "Empty", -1, "rc=0 type=3 size=0 buffer="),
      Set(S, "", kRegSz, std::string("default\0", 8), "rc=0"),
      Query(S, "", 8, "rc=0 type=1 size=8 buffer=64656661756c7400cccc"),
      // A REG_SZ without terminator keeps its length, whatever byte follows the
      // counted ones; read into a larger buffer it gets a terminator where there is room.
      Set(S, "NoNul", kRegSz, "hello", "rc=0", '\0'), Query(S, "NoNul", 8, "rc=0 type=1 size=5 buffer=68656c6c6f00cccccccc"),
      Set(S, "NoNul", kRegSz, "hello", "rc=0"), Query(S, "NoNul", 5, "rc=0 type=1 size=5 buffer=68656c6c6fcccc"),
      Set(S, "nul inside", kRegSz, std::string("ab\0cd", 5), "rc=0"),
      Query(S, "nul inside", 8, "rc=0 type=1 size=5 buffer=616200636400cccccccc"),
      Set(S, "high", kRegSz, "\x01\x7f\x80\x9a\xe9\xff", "rc=0"),
      Query(S, "high", 8, "rc=0 type=1 size=6 buffer=017f809ae9ff00cccccc"),
      Set(S, "empty sz", kRegSz, "", "rc=0"), Query(S, "empty sz", 4, "rc=0 type=1 size=0 buffer=cccccccccccc"),
      Set(S, "short dword", kRegDword, "abc", "rc=0"), Query(S, "short dword", 8, "rc=0 type=4 size=3 buffer=616263cccccccccccccc"),
      Set(S, "none", 0, "xyz", "rc=0"), Query(S, "none", 8, "rc=0 type=0 size=3 buffer=78797acccccccccccccc"),
      Set(S, "odd type", 0x1234, "xyz", "rc=0"), Query(S, "odd type", 8, "rc=0 type=4660 size=3 buffer=78797acccccccccccccc"),
      Set(S, "multi", 7, std::string("a\0b\0", 4), "rc=0"), Query(S, "multi", 8, "rc=0 type=7 size=4 buffer=61006200cccccccccccc"),
      Query(S, "missing", 8, "rc=2 type=77 size=8 buffer=cccccccccccccccccccc"),
  });
}

TEST(RegistryConformance, OnlyAKeyWithoutSubkeysCanBeDeletedAndDeletedKeysStayGone) {
  RunOnEveryStore({
      Create(1, S, "Zeta\\Child", "rc=0 key created"), Set(1, "Value", kRegBinary, "\1", "rc=0"),
      Delete(S, "Zeta", "rc=5"), Delete(S, "ZETA\\CHILD", "rc=0"), Delete(S, "zeta", "rc=0"),
      Delete(S, "Zeta", "rc=2"),
      // A handle to the deleted key reports the deletion; a write through it brings nothing back.
      Query(1, "Value", -1, "rc=1018 type=77 size=0 buffer="), Set(1, "x", kRegBinary, "\1", "rc=1018"),
      Enum(1, 0, 64, "rc=1018"), Info(1, "rc=1018 subkeys=77 longest=77"),
      Create(2, 1, "again", "rc=1018 no key"), Close(1),
      Open(1, S, "Zeta\\Child", "rc=2 no key"),
      // Made again under the same name, it starts without the old values.
      Create(3, S, "Zeta\\Child", "rc=0 key created"), Query(3, "Value", 4, "rc=2 type=77 size=4 buffer=cccccccccccc"),
      Close(3),
      Create(4, S, "p\\q", "rc=0 key created"), Delete(4, "", "rc=0"), Query(4, "v", 4, "rc=1018 type=77 size=4 buffer=cccccccccccc"),
      Close(4),
      Delete(S, "missing", "rc=2"), Delete(S, "missing\\deeper", "rc=2"),
      Delete(kUserRoot, "", "rc=5"), Delete(S, "\\p", "rc=161"), Delete(S, "Zeta\\Child\\", "rc=0"),
  });
}

TEST(RegistryConformance, HandlesCloseOnceAndAllowOnlyTheAccessTheyWereOpenedWith) {
  Script script{
      Open(1, S, "Access", "rc=2 no key"), Query(S, "Access", -1, "rc=2 type=77 size=0 buffer="),
      CreateOld(1, S, "Access", "rc=0 key"), Set(1, "Value", kRegBinary, "12", "rc=0"),
      CreateOld(2, 1, "sub", "rc=0 key"), Close(2), Close(1), Close(1, "rc=6"),
      // The roots are never really closed.
      Close(kUserRoot), Open(1, kUserRoot, "Software\\QuillonConformance", "rc=0 key"), Close(1),
      Open(2, S, "Access", "rc=0 key", kKeyQueryValue), Set(2, "Value", kRegBinary, "9", "rc=5"),
      Enum(2, 0, 64, "rc=5"), Info(2, "rc=0 subkeys=1 longest=3"),
      Delete(2, "sub", "rc=0"), Close(2),
      Open(3, S, "Access", "rc=0 key", KeyAccess::kSetValue), Query(3, "Value", 8, "rc=5 type=77 size=8 buffer=cccccccccccccccccccc"),
      Close(3),
      Open(4, S, "Access", "rc=0 key", KeyAccess::kEnumerateSubKeys), Enum(4, 0, 64, "rc=259"), Close(4),
      Open(5, S, "Access", "rc=0 key", KeyAccess::kNone), Query(5, "Value", 8, "rc=5 type=77 size=8 buffer=cccccccccccccccccccc"),
      Enum(5, 0, 64, "rc=5"), Close(5),
      Create(7, S, "Access", "rc=0 key", KeyAccess::kNone), Set(7, "w", kRegBinary, "1", "rc=5"), Close(7),
      Query(S, "Value", 8, "rc=2 type=77 size=8 buffer=cccccccccccccccccccc"),
      Open(8, S, "Access", "rc=0 key"), Query(8, "Value", 4, "rc=0 type=3 size=2 buffer=3132cccccccc"), Close(8),
  };
  // A handle never given out, or closed already: every call refuses it.
  for (int bad : {9, 1, 12345}) {
    script.insert(script.end(), {
        Open(10, bad, "", "rc=6 no key"), Create(10, bad, "x", "rc=6 no key"), CreateOld(10, bad, "x", "rc=6 no key"),
        Query(bad, "v", -1, "rc=6 type=77 size=0 buffer="), Set(bad, "v", kRegBinary, "1", "rc=6"),
        Enum(bad, 0, 8, "rc=6"), Enum(bad, 0, 8, "rc=6 length=8", true), Info(bad, "rc=6 subkeys=77 longest=77"),
        Delete(bad, "x", "rc=6"), Close(bad, "rc=6")});
  }
  RunOnEveryStore(script);
}

#ifdef QUILLON_WIN32_REGISTRY
// The Win32 store's own handles: small distinct numbers below the roots, none left behind.
TEST(Win32RegistryStoreHandles, AreDistinctBelowTheRootsAndAllGoBack) {
  quillon::win::Win32RegistryStore store;
  std::vector<HKey> opened(200, kNoKey);
  std::set<HKey> distinct;
  for (HKey& handle : opened) {
    ASSERT_EQ(store.OpenKeyEx(kCurrentUser, "Software", kKeyRead, handle), kErrorSuccess);
    EXPECT_LT(handle, kClassesRoot);
    distinct.insert(handle);
  }
  EXPECT_EQ(distinct.size(), opened.size());
  EXPECT_EQ(distinct.count(kNoKey), 0u);
  for (HKey handle : opened) EXPECT_EQ(store.CloseKey(handle), kErrorSuccess);
  EXPECT_EQ(store.OpenKeyCount(), 0u);
}
#endif

}  // namespace
}  // namespace quillon::testing
