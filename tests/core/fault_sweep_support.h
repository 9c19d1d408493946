// Whole-registry images of the in-memory store, for the fault sweeps and the
// fuzz targets: what changed, and whether anything changed outside the keys an
// operation may write to.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "testing/memory_registry_store.h"

namespace quillon::testing {

// Every key and value of both roots. A key is the entry "<root>\<path>\";
// a value is "<root>\<path>\:<name>".
using RegistryImage = std::map<std::string, StoredValue>;

RegistryImage TakeImage(const MemoryRegistryStore& store);

// Entries added, removed or changed between the images whose name does not
// start with one of `allowed` (compared without regard to case), e.g.
// "HKCU\Software\...\Profiles\Main\".
std::vector<std::string> ChangesOutside(const RegistryImage& before, const RegistryImage& after,
                                        const std::vector<std::string>& allowed);

}  // namespace quillon::testing
