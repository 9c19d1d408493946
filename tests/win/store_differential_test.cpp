// The in-memory store against the real registry, call for call: each script of
// calls runs on both stores and every observable result (code, out values,
// buffer contents) must be the same. The real registry is the reference.
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/memory_registry_store.h"
#include "tests/core/store_under_test.h"  // StoreIsWineRegistry
#include "win/registry/win32_registry_store.h"

namespace quillon::win {
namespace {

using namespace quillon::platform;
using quillon::testing::MemoryRegistryStore;

constexpr std::string_view kScratchParent = "Software\\QuillonDifferential";
constexpr KeyAccess kKeyEnumerateOnly = KeyAccess::kEnumerateSubKeys;

// Key slots a script refers to: 0 is its scratch key, -1 HKEY_CURRENT_USER.
constexpr int kScratch = 0;
constexpr int kUserRoot = -1;

struct Side {
  RegistryStore& store;
  std::map<int, HKey> slots;

  HKey At(int slot) const {
    if (slot == kUserRoot) return kCurrentUser;
    const auto found = slots.find(slot);
    return found == slots.end() ? kNoKey : found->second;
  }
};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : bytes) text.append(pair, std::snprintf(pair, sizeof pair, "%02x", byte));
  return text;
}

// One call; it returns what a caller could observe.
struct Step {
  std::string what;
  std::function<std::string(Side&)> run;
};

std::string Code(RegResult rc) { return "rc=" + std::to_string(rc); }

// Handles differ between the stores; only whether one was given is observable.
std::string Opened(Side& side, int slot, RegResult rc, const HKey& key) {
  side.slots[slot] = key;
  return Code(rc) + (key == kNoKey ? " no key" : " key");
}

Step Open(int slot, int parent, std::string path, KeyAccess access = kKeyRead) {
  return {"OpenKeyEx " + path, [=](Side& side) {
            HKey key = 99;
            return Opened(side, slot, side.store.OpenKeyEx(side.At(parent), path, access, key), key);
          }};
}

Step Create(int slot, int parent, std::string path, KeyAccess access = kKeyAllSixRights) {
  return {"CreateKeyEx " + path, [=](Side& side) {
            HKey key = 99;
            bool created = false;
            const RegResult rc = side.store.CreateKeyEx(side.At(parent), path, access, key, &created);
            return Opened(side, slot, rc, key) + (created ? " created" : "");
          }};
}

Step CreateOld(int slot, int parent, std::string path) {
  return {"CreateKey " + path, [=](Side& side) {
            HKey key = 99;
            return Opened(side, slot, side.store.CreateKey(side.At(parent), path, key), key);
          }};
}

Step Set(int slot, std::string name, std::uint32_t type, std::string bytes) {
  return {"SetValueEx " + name, [=](Side& side) {
            // A non-NUL byte after the counted ones, as callers' buffers may have.
            std::string buffer = bytes + "\x7f";
            return Code(side.store.SetValueEx(
                side.At(slot), name, type, reinterpret_cast<const std::uint8_t*>(buffer.data()),
                static_cast<std::uint32_t>(bytes.size())));
          }};
}

// bufferSize < 0: no data buffer (a size query).
Step Query(int slot, std::string name, int bufferSize, bool withSize = true) {
  return {"QueryValueEx " + name + " into " + std::to_string(bufferSize), [=](Side& side) {
            std::vector<std::uint8_t> buffer(bufferSize < 0 ? 0 : bufferSize + 2, 0xCC);
            std::uint32_t type = 77;
            std::uint32_t size = bufferSize < 0 ? 0 : bufferSize;
            const RegResult rc = side.store.QueryValueEx(
                side.At(slot), name, &type, bufferSize < 0 ? nullptr : buffer.data(),
                withSize ? &size : nullptr);
            return Code(rc) + " type=" + std::to_string(type) + " size=" + std::to_string(size) +
                   " buffer=" + Hex(buffer);
          }};
}

// ex: through EnumKeyEx, which also reports the name's length.
Step Enum(int slot, std::uint32_t index, std::uint32_t bufferSize, bool ex = false) {
  return {(ex ? "EnumKeyEx " : "EnumKey ") + std::to_string(index), [=](Side& side) {
            std::string buffer(bufferSize + 1, '#');
            std::uint32_t length = bufferSize;
            const RegResult rc =
                ex ? side.store.EnumKeyEx(side.At(slot), index, buffer.data(), &length)
                   : side.store.EnumKey(side.At(slot), index, buffer.data(), bufferSize);
            return Code(rc) + (ex ? " length=" + std::to_string(length) : "") +
                   (rc == kErrorSuccess ? " " + std::string(buffer.c_str()) : "");
          }};
}

Step EnumEx(int slot, std::uint32_t index, std::uint32_t bufferSize) {
  return Enum(slot, index, bufferSize, true);
}

Step Info(int slot) {
  return {"QueryInfoKey", [=](Side& side) {
            std::uint32_t count = 77, longest = 77;
            const RegResult rc = side.store.QueryInfoKey(side.At(slot), &count, &longest);
            return Code(rc) + " subkeys=" + std::to_string(count) + " longest=" + std::to_string(longest);
          }};
}

Step Delete(int slot, std::string path) {
  return {"DeleteKey " + path,
          [=](Side& side) { return Code(side.store.DeleteKey(side.At(slot), path)); }};
}

Step Close(int slot) {
  return {"CloseKey", [=](Side& side) {
            const RegResult rc = side.store.CloseKey(side.At(slot));
            side.slots.erase(slot);
            return Code(rc);
          }};
}

class StoreDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::string(kScratchParent) + "\\" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (Side* side : {&memory_, &real_}) {
      RemoveTree(side->store, kCurrentUser, path_);
      ASSERT_EQ(kErrorSuccess, side->store.CreateKeyEx(kCurrentUser, path_, kKeyAllSixRights,
                                                       side->slots[kScratch]));
    }
  }

  void TearDown() override {
    for (Side* side : {&memory_, &real_}) {
      for (const auto& [slot, key] : side->slots) side->store.CloseKey(key);
      RemoveTree(side->store, kCurrentUser, path_);
      side->store.DeleteKey(kCurrentUser, kScratchParent);
    }
  }

  // Deletes through parent handles and short relative names: Wine refuses ANSI
  // paths longer than 260 characters, and some tests make such deep keys.
  static void RemoveTree(RegistryStore& store, HKey parent, const std::string& name) {
    HKey key = kNoKey;
    if (store.OpenKeyEx(parent, name, kKeyAllSixRights, key) != kErrorSuccess) return;
    std::vector<std::string> children;
    char child[256];
    for (std::uint32_t i = 0; store.EnumKey(key, i, child, sizeof child) == kErrorSuccess; ++i) {
      children.emplace_back(child);
    }
    for (const std::string& each : children) RemoveTree(store, key, each);
    store.CloseKey(key);
    store.DeleteKey(parent, name);
  }

  void RunOnBoth(const std::vector<Step>& script) {
    for (std::size_t i = 0; i < script.size(); ++i) {
      const std::string expected = script[i].run(real_);
      const std::string actual = script[i].run(memory_);
      EXPECT_EQ(expected, actual) << "step " << i << ": " << script[i].what;
    }
  }

  // A call where Wine's registry is known to differ from Windows: the in-memory
  // store gives the Windows result, the real registry the one of its platform.
  void ExpectPlatformResults(const Step& step, const std::string& onWindows,
                             const std::string& onWine) {
    EXPECT_EQ(onWindows, step.run(memory_)) << step.what;
    EXPECT_EQ(onWine_ ? onWine : onWindows, step.run(real_)) << step.what;
  }

  // Paths below the scratch key, for calls made from a root.
  std::string Scratch(std::string_view below) const { return path_ + "\\" + std::string(below); }

  MemoryRegistryStore memoryStore_;
  Win32RegistryStore realStore_;
  Side memory_{memoryStore_, {}};
  Side real_{realStore_, {}};
  bool onWine_ = quillon::testing::StoreIsWineRegistry(realStore_);
  std::string path_;
};

// Names with a NUL are left to the Win32 store's own test: both stores refuse them.
TEST_F(StoreDifferential, KeyPathForms) {
  RunOnBoth({
      Create(1, kScratch, "a\\b\\c"), Close(1),
      Open(2, kScratch, "A\\B\\"), Close(2),
      Open(3, kScratch, "\\a"), Close(3),
      Create(6, kScratch, "\\x"), Close(6),
      CreateOld(7, kScratch, "\\y"), Close(7),
      Open(8, kScratch, ""), Info(8), Close(8),
      CreateOld(10, kScratch, ""), Close(10),
      Open(11, kUserRoot, Scratch("a\\b")), Close(11),
      Info(kScratch), Enum(kScratch, 0, 64), Enum(kScratch, 1, 64),
  });
}

// Code-page letters beyond ASCII fold and order as on Windows (hex names are
// what the profile store enumerates).
TEST_F(StoreDifferential, NameFoldingAndOrder) {
  std::vector<Step> script;
  for (const char* name : {"zeta", "Alpha", "0000000b", "0000000A", "\xE9t\xE9", "\xC9T\xC9",
                           "\x9A" "a", "\x8A" "A", "SS", "\xB5", "f", "1f2e3d4c", "1F2E3D4B"}) {
    script.insert(script.end(), {Create(1, kScratch, name), Close(1)});
  }
  script.push_back(Info(kScratch));
  for (std::uint32_t i = 0; i < 12; ++i) script.push_back(Enum(kScratch, i, 64));
  script.insert(script.end(), {Set(kScratch, "\xE9t\xE9", kRegBinary, "1"),
                               Query(kScratch, "\xC9T\xC9", 8)});
  RunOnBoth(script);
}

// Wine's registry differs from Windows here; none of these matter to the profile
// store (its key names are hexadecimal numbers and fixed ASCII names, its paths
// never hold doubled backslashes nor come near 260 characters, and it queries
// key info only through handles opened for reading).
TEST_F(StoreDifferential, KnownWineDifferences) {
  for (const char* name : {"Alpha", "zeta", "_under", "[bracket", "\xE9t\xE9", "\xDF", "\xFF",
                           "\x9A" "a", "a\\b"}) {
    RunOnBoth({Create(1, kScratch, name), Close(1)});
  }
  RunOnBoth({Open(2, kScratch, "", kKeyEnumerateOnly)});
  std::string deep(50, 'd');
  for (int level = 0; level < 5; ++level) deep += "\\" + std::string(50, 'd');
  const struct {
    Step step;
    std::string onWindows, onWine;
  } differences[] = {
      // Windows orders names by their upper-case characters, Wine by their lower-case
      // ones: "_" and "[" lie between "Z" and "a", "\xDF" between "\xC9" and "\xE9",
      // and "\x9A" (U+0161) upper-cases below "\xFF" (U+0178).
      {Enum(kScratch, 0, 64), "rc=0 a", "rc=0 [bracket"},
      {Enum(kScratch, 1, 64), "rc=0 Alpha", "rc=0 _under"},
      {Enum(kScratch, 2, 64), "rc=0 zeta", "rc=0 a"},
      {Enum(kScratch, 3, 64), "rc=0 [bracket", "rc=0 Alpha"},
      {Enum(kScratch, 4, 64), "rc=0 _under", "rc=0 zeta"},
      {Enum(kScratch, 5, 64), "rc=0 \xE9t\xE9", "rc=0 \xDF"},
      {Enum(kScratch, 6, 64), "rc=0 \xDF", "rc=0 \xE9t\xE9"},
      {Enum(kScratch, 7, 64), "rc=0 \x9A" "a", "rc=0 \xFF"},
      {Enum(kScratch, 8, 64), "rc=0 \xFF", "rc=0 \x9A" "a"},
      // Doubled backslashes: Windows refuses them (when the path is not in its
      // cache of recent keys), Wine reads them as one.
      {Open(3, kScratch, "a\\\\b"), "rc=161 no key", "rc=0 key"},
      {Create(4, kScratch, "x\\\\y"), "rc=161 no key", "rc=0 key created"},
      // Opening the key itself through an empty subkey path is no creation.
      {Create(5, kScratch, ""), "rc=0 key", "rc=0 key created"},
      // RegQueryInfoKey needs KEY_QUERY_VALUE on Windows; Wine does not check it.
      {Info(2), "rc=5 subkeys=77 longest=77", "rc=0 subkeys=10 longest=8"},
      // Wine converts an ANSI key path in a buffer of 260 characters and fails a
      // longer one; Windows limits each name to 255 characters, not the path.
      {Create(6, kScratch, deep), "rc=0 key created", "rc=234 no key"},
  };
  for (const auto& difference : differences) {
    ExpectPlatformResults(difference.step, difference.onWindows, difference.onWine);
  }
}

// Types, sizes and buffers beyond what the conformance suite covers.
TEST_F(StoreDifferential, ValueTypesAndSizes) {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
  RunOnBoth({
      Set(kScratch, "empty sz", kRegSz, ""), Query(kScratch, "empty sz", -1),
      Query(kScratch, "empty sz", 4),
      Set(kScratch, "short dword", kRegDword, "abc"), Query(kScratch, "short dword", 8),
      Set(kScratch, "none", 0, "xyz"), Query(kScratch, "none", 8),
      Set(kScratch, "odd type", 0x1234, "xyz"), Query(kScratch, "odd type", 8),
      Set(kScratch, "expand", 2, "%PATH%"), Query(kScratch, "expand", 8),
      Set(kScratch, "multi", 7, std::string("a\0b\0", 4)), Query(kScratch, "multi", 8),
      Set(kScratch, "nul inside", kRegSz, std::string("ab\0cd", 5)),
      Query(kScratch, "nul inside", 8),
      Set(kScratch, "every byte", kRegSz, everyByte), Query(kScratch, "every byte", 300),
      Set(kScratch, "binary", kRegBinary, everyByte), Query(kScratch, "binary", 254),
      Query(kScratch, "binary", -1, false), Query(kScratch, "binary", 300, false),
      Query(kScratch, "missing", -1), Query(kScratch, "missing", 8),
  });
}

// Empty and exactly-fitting buffers, names of the longest legal length.
TEST_F(StoreDifferential, EnumerationBuffers) {
  RunOnBoth({
      Create(1, kScratch, "abcd"), Close(1), Create(2, kScratch, std::string(255, 'k')), Close(2),
      Enum(kScratch, 0, 0), Enum(kScratch, 0, 4), EnumEx(kScratch, 0, 0), EnumEx(kScratch, 0, 4),
      Enum(kScratch, 1, 255), Enum(kScratch, 1, 256), EnumEx(kScratch, 1, 255),
      EnumEx(kScratch, 1, 256), Enum(kScratch, 2, 64), EnumEx(kScratch, 2, 64),
      Enum(kScratch, 1000, 64), Info(kScratch),
  });
}

// Every call through handles with too few rights, beyond the conformance suite's reads and writes.
TEST_F(StoreDifferential, AccessRights) {
  RunOnBoth({
      Create(1, kScratch, "k"), Set(1, "v", kRegBinary, "12"), CreateOld(9, 1, "sub"), Close(9),
      Close(1),
      Open(2, kScratch, "k", kKeyQueryValue), Info(2), Create(3, 2, "other"), Delete(2, "sub"),
      Close(3), Close(2),
      Open(4, kScratch, "k", kKeyEnumerateOnly), Enum(4, 0, 64), Query(4, "v", 8), Close(4),
      Open(5, kScratch, "k", KeyAccess::kNone), Query(5, "v", 8), Enum(5, 0, 64), Create(6, 5, "sub"),
      Close(6), Close(5),
      Create(7, kScratch, "k", KeyAccess::kNone), Set(7, "w", kRegBinary, "1"), Close(7),
  });
}

// What handles to deleted keys still do, and deletion paths of odd forms.
TEST_F(StoreDifferential, DeletionAndDeletedKeys) {
  RunOnBoth({
      Create(1, kScratch, "p\\q\\r"), Create(2, kScratch, "p\\q"), Create(3, kScratch, "p"),
      Delete(kScratch, "p\\q\\r"), Enum(1, 0, 64), Info(1), Create(4, 1, "again"), Close(4),
      Close(1),
      Delete(2, ""), Query(2, "v", 4), Close(2),
      Delete(3, "missing"), Delete(3, "missing\\deeper"), Delete(kScratch, "p"), Close(3),
      Create(5, kScratch, "gone"), Delete(kScratch, "gone"), Create(6, kScratch, "gone"),
      Set(6, "fresh", kRegBinary, "1"), Query(5, "fresh", 4), Query(6, "fresh", 4),
      Close(5), Close(6),
      Delete(kUserRoot, ""), Delete(kScratch, "\\gone"), Delete(kScratch, "gone\\"),
  });
}

}  // namespace
}  // namespace quillon::win
