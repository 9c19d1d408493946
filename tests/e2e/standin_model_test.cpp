// The stand-in's scenario file: what the end-to-end tests and the main job are
// configured with. Its object model is proven by the page tests that use it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "standin/scenario.h"

namespace quillon::standin {
namespace {

TEST(StandinScenario, ABadScenarioIsRefusedWithAnError) {
  for (const char* text : {"", "{", "[]", R"({"stores": 5})", R"({"stores": [{"folders": [7]}]})",
                           R"({"addIn": {"sUN": 3}})", R"({"folderChooser": [1]})"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseScenario(text), std::exception);
  }
}

TEST(StandinScenario, FoldersWithoutEntryIdsGetDistinctOnes) {
  const Scenario scenario = ParseScenario(R"({"stores": [
    {"name": "Mailbox", "storeId": "S1", "folders": [{"name": "Inbox", "entryId": "E6"}]},
    {"name": "Archive", "folders": [{"name": "Old"}, {"name": "Older"}]}]})");
  const auto& archive = scenario.stores[1].root;
  EXPECT_FALSE(archive.entryId.empty());
  EXPECT_NE(archive.folders[0].entryId, archive.folders[1].entryId);
  EXPECT_NE(scenario.stores[1].storeId, scenario.stores[0].storeId);
  EXPECT_FALSE(ParseScenario("{}").addInLoaded);  // no add-in section: not loaded
}

}  // namespace
}  // namespace quillon::standin
