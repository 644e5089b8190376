// The three link buttons of the launcher window: the registration page and
// the item shop on the service's web server, the forum on its forum server.
// The hosts are build settings (VLMR_WEB_HOST, VLMR_FORUM_HOST).
#pragma once

namespace vlmr::app {

// host[:port] of the web and forum servers this launcher was built for.
const char* WebHost();
const char* ForumHost();

// Click handlers of 按钮EX5, 按钮EX6 and 按钮EX7.
void OpenRegistrationPage();
void OpenForum();
void OpenShopPage();

}  // namespace vlmr::app
