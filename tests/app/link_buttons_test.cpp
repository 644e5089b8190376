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
#include "platform/web_browser.h"
#include "platform/web_browser.h"
#include "runtime/launcher_ids.h"
#include "runtime/window_system.h"
#include "support/environment.h"
#include "support/real_launcher_window.h"

namespace vlmr::test {
namespace {

namespace ids = rt::ids;

class LinkButtons : public RealLauncherWindow {
 protected:
  void SetUp() override {
    log_ = (opener_.path() / "opened.txt").string();
    opener_.Write("opener.sh", "#!/bin/sh\nprintf '%s|%s\\n' \"$1\" \"$#\" >> '" + log_ + "'\n");
    chmod((opener_.path() / "opener.sh").c_str(), 0755);
    test::SetEnvironment("VLMR_URL_OPENER", (opener_.path() / "opener.sh").c_str());
    app::EventTable events;
    events.clicks[ids::kRegisterButton] = app::OpenRegistrationPage;
    events.clicks[ids::kForumButton] = app::OpenForum;
    events.clicks[ids::kShopButton] = app::OpenShopPage;
    Open(std::move(events));
  }
  void TearDown() override { test::UnsetEnvironment("VLMR_URL_OPENER"); }

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
  Click(ids::kRegisterButton);
  auto lines = Opened(1);
  Click(ids::kForumButton);
  lines = Opened(2);
  Click(ids::kShopButton);
  lines = Opened(3);
  std::string web = app::WebHost(), forum = app::ForumHost();
  EXPECT_EQ(lines, (std::vector<std::string>{"http://" + web + "/detail/register.php|1",
                                             "http://" + forum + "/|1",
                                             "http://" + web + "/detail/shop.php|1"}));
}

TEST_F(LinkButtons, RepeatedClicksOpenRepeatedly) {
  Click(ids::kRegisterButton);
  Click(ids::kRegisterButton);
  EXPECT_EQ(Opened(2).size(), 2u);
}

TEST_F(LinkButtons, TheCommandWithoutAnAddressOpensTheWebServersHomePage) {
  rt::RtValue omitted{};
  app::OpenWebPageCommand(nullptr, 1, &omitted);
  EXPECT_EQ(Opened(1), std::vector<std::string>{"http://" + std::string(app::WebHost()) + "/|1"});
}

TEST_F(LinkButtons, TheLaunchersOwnTableOpensTheRegistrationPage) {
  Close();
  Open();
  Click(ids::kRegisterButton);
  EXPECT_EQ(Opened(1), std::vector<std::string>{"http://" + std::string(app::WebHost()) +
                                                "/detail/register.php|1"});
}

TEST(UrlOpener, IsXdgOpenUnlessTheEnvironmentNamesAnother) {
  test::UnsetEnvironment("VLMR_URL_OPENER");
  EXPECT_STREQ(platform::UrlOpenerProgram(), "xdg-open");
  test::SetEnvironment("VLMR_URL_OPENER", "");
  EXPECT_STREQ(platform::UrlOpenerProgram(), "xdg-open");
  test::SetEnvironment("VLMR_URL_OPENER", "/bin/true");
  EXPECT_STREQ(platform::UrlOpenerProgram(), "/bin/true");
  test::UnsetEnvironment("VLMR_URL_OPENER");
}

}  // namespace
}  // namespace vlmr::test
