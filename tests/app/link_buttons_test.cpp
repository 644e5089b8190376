// Each link button hands exactly one address to the opener program; a script
// stands in for xdg-open and records what it is given.
#include "app/link_buttons.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/open_web_page.h"
#include "app/runtime/window_system.h"
#include "app/runtime/launcher_ids.h"
#include "launcher_test_support.h"

namespace vlmr::test {
namespace {

namespace ids = rt::ids;

class LinkButtons : public LauncherWindowTest {
 protected:
  void SetUp() override {
    LauncherWindowTest::SetUp();
    log_ = (opener_.path() / "opened.txt").string();
    opener_.Write("opener.sh", "#!/bin/sh\nprintf '%s|%s\\n' \"$1\" \"$#\" >> '" + log_ + "'\n");
    chmod((opener_.path() / "opener.sh").c_str(), 0755);
    setenv("VLMR_URL_OPENER", (opener_.path() / "opener.sh").c_str(), 1);
    app::EventTable events;
    events.clicks[ids::kRegisterButton] = app::OpenRegistrationPage;
    events.clicks[ids::kForumButton] = app::OpenForum;
    events.clicks[ids::kShopButton] = app::OpenShopPage;
    Load(std::move(events));
  }
  void TearDown() override {
    unsetenv("VLMR_URL_OPENER");
    LauncherWindowTest::TearDown();
  }

  // The opener's lines once `count` have arrived (or after ten seconds), and
  // a moment later, so that a surplus would show.
  std::vector<std::string> Opened(size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Lines().size() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Lines();
  }
  std::vector<std::string> Lines() {
    std::istringstream in(ReadFileBytes(log_));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  TempDir opener_;
  std::string log_;
};

TEST_F(LinkButtons, EachButtonOpensItsOwnAddressOnce) {
  ClickLauncherAt(382, 440);  // 账号注册
  auto lines = Opened(1);
  ClickLauncherAt(550, 440);  // 官方论坛
  lines = Opened(2);
  ClickLauncherAt(466, 440);  // 商城道具
  lines = Opened(3);
  std::string web = app::WebHost(), forum = app::ForumHost();
  EXPECT_EQ(lines, (std::vector<std::string>{"http://" + web + "/detail/register.php|1",
                                             "http://" + forum + "/|1",
                                             "http://" + web + "/detail/shop.php|1"}));
}

TEST_F(LinkButtons, RepeatedClicksOpenRepeatedly) {
  ClickLauncherAt(382, 440);
  ClickLauncherAt(382, 440);
  EXPECT_EQ(Opened(2).size(), 2u);
}

TEST_F(LinkButtons, TheCommandWithoutAnAddressOpensTheWebServersHomePage) {
  rt::RtValue omitted{};
  app::OpenWebPageCommand(nullptr, 1, &omitted);
  EXPECT_EQ(Opened(1), std::vector<std::string>{"http://" + std::string(app::WebHost()) + "/|1"});
}

TEST_F(LinkButtons, TheLaunchersOwnTableOpensTheRegistrationPage) {
  windows().SendWindowMessage(ids::kLauncherWindow, rt::kWmClose, 0, 0);
  Load(app::LauncherEventTable());
  ClickLauncherAt(382, 440);
  EXPECT_EQ(Opened(1), std::vector<std::string>{"http://" + std::string(app::WebHost()) +
                                                "/detail/register.php|1"});
}

TEST(UrlOpener, IsXdgOpenUnlessTheEnvironmentNamesAnother) {
  unsetenv("VLMR_URL_OPENER");
  EXPECT_STREQ(app::UrlOpenerProgram(), "xdg-open");
  setenv("VLMR_URL_OPENER", "", 1);
  EXPECT_STREQ(app::UrlOpenerProgram(), "xdg-open");
  setenv("VLMR_URL_OPENER", "/bin/true", 1);
  EXPECT_STREQ(app::UrlOpenerProgram(), "/bin/true");
  unsetenv("VLMR_URL_OPENER");
}

}  // namespace
}  // namespace vlmr::test
