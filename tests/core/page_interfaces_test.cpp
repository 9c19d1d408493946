// The page-facing interfaces stay abstract and self-contained.
#include <type_traits>

#include <gtest/gtest.h>

#include "folders/folder_path.h"
#include "page/module_state.h"
#include "page/page_controls.h"
#include "page/quillon_page.h"
#include "platform/controls.h"
#include "platform/outlook.h"
#include "platform/user_services.h"

namespace quillon {
namespace {

TEST(PageInterfaces, PlatformInterfacesAreAbstract) {
  EXPECT_TRUE(std::is_abstract_v<platform::ListBox>);
  EXPECT_TRUE(std::is_abstract_v<platform::CommandButton>);
  EXPECT_TRUE(std::is_abstract_v<platform::OptionButton>);
  EXPECT_TRUE(std::is_abstract_v<platform::Label>);
  EXPECT_TRUE(std::is_abstract_v<platform::Frame>);
  EXPECT_TRUE(std::is_abstract_v<platform::PageSurface>);
  EXPECT_TRUE(std::is_abstract_v<platform::UserServices>);
  EXPECT_TRUE(std::is_abstract_v<platform::OutlookApplication>);
  EXPECT_TRUE(std::is_abstract_v<platform::HostSite>);
  EXPECT_TRUE(std::is_abstract_v<platform::PageContainer>);
  EXPECT_FALSE(std::is_copy_constructible_v<QuillonPage>);
}

}  // namespace
}  // namespace quillon
