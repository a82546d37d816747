#pragma once
// The pages of the room's web sites that the lobby opens in the browser:
// the site's address followed by the page's path.

#include <string>

#include "client/net/ClientConfig.h"

namespace tessaly {

enum class WebSite { Web, Secure };

struct WebPage {
    WebSite site;
    const char* path;   // "" for the site's root, its bare address
};

namespace pages {
inline constexpr WebPage WebRoot{WebSite::Web, ""};
inline constexpr WebPage SecureRoot{WebSite::Secure, ""};           // My Account
inline constexpr WebPage EmailUs{WebSite::Web, "/index.php?page=contact_us"};
inline constexpr WebPage TellAFriend{WebSite::Web, "/tellafriend.php"};
inline constexpr WebPage ServerStatus{WebSite::Secure, "/serverstatus.php"};
inline constexpr WebPage AboutUs{WebSite::Web, "/aboutus.php"};     // also the about-us hot spot
inline constexpr WebPage Security{WebSite::Web, "/security.php"};   // also the security hot spot
inline constexpr WebPage ContactUs{WebSite::Web, "/contactus.php"}; // Help button
inline constexpr WebPage Stickers{WebSite::Web, "/stickers.php"};
inline constexpr WebPage ComingSoon{WebSite::Web, "/comingsoon.php"};
} // namespace pages

// The lobby's banner, in its order.
struct BannerLink {
    WebPage page;
    const char* text;
};
inline constexpr BannerLink kBannerLinks[] = {
    {pages::WebRoot, "Welcome to Tessaly, Good Luck!!"},
    {pages::Stickers, "Show your support by displaying one of our Banners!"},
    {pages::TellAFriend, "Tell-A-Friend"},
    {pages::ComingSoon, "Sit & Go + Multi Table Tournaments coming soon !!"},
};

std::string pageAddress(const ClientConfig& config, const WebPage& page);

} // namespace tessaly
