#include "app/link_buttons.h"

#include "app/open_web_page.h"
#include "runtime/rt_heap.h"

namespace vlmr::app {

using namespace rt::literals;

const char* WebHost() { return VLMR_WEB_HOST; }
const char* ForumHost() { return VLMR_FORUM_HOST; }

void OpenRegistrationPage() { OpenWebPage("http://" VLMR_WEB_HOST "/detail/register.php"_t); }

void OpenForum() { OpenWebPage("http://" VLMR_FORUM_HOST "/"_t); }

void OpenShopPage() { OpenWebPage("http://" VLMR_WEB_HOST "/detail/shop.php"_t); }

}  // namespace vlmr::app
