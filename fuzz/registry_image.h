// Whole-registry images for the fuzz targets: the entries testing::TakeImage
// makes ("HKCU\<path>\" for a key, "HKCU\<path>\:<name>" for a value), held
// in two buffers that a target keeps from input to input. Once they have grown
// an image costs no allocation (a std::map image cost one per name and value,
// most of an input's time under ASan), and entries are found by a hash of
// their name, so a diff compares each name once rather than in every step of
// a search.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "testing/memory_registry_store.h"
#include "testing/page_rig.h"

namespace quillon::fuzz {

class FlatImage {
 public:
  void Take(const testing::MemoryRegistryStore& store);
  bool Contains(std::string_view name) const;
  // Every name, type and byte in one string, for an input's outcome.
  std::string_view Text() const { return text_; }

  // As testing::ChangesOutside: the same names in the same order.
  friend std::vector<std::string> ChangesOutside(const FlatImage& before, const FlatImage& after,
                                                 const std::vector<std::string>& allowed);

 private:
  struct Entry {
    std::uint64_t hash;  // of the name
    std::size_t nameAt, nameSize, bytesAt, bytesSize;
    std::uint32_t type;
    std::size_t order;  // where the walk met it: of two equal names the first counts
  };
  void AddTree(const testing::MemoryRegistryStore& store, platform::HKey root,
               std::string_view rootName);
  void Add(std::size_t nameAt, std::uint64_t hash, std::uint32_t type,
           const std::vector<std::uint8_t>& bytes);
  std::string_view Name(const Entry& entry) const;
  std::string_view Bytes(const Entry& entry) const;
  const Entry* Find(std::uint64_t hash, std::string_view name) const;

  std::string text_;            // names and value bytes back to back
  std::vector<Entry> entries_;  // by hash, then name; each name once
  // With QUILLON_FUZZ_SELF_CHECK set: the std::map image of the same store, to
  // check every answer against testing::ChangesOutside.
  std::optional<testing::RegistryImage> reference_;
};

}  // namespace quillon::fuzz
