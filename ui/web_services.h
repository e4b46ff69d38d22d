#pragma once
// The outside web pages the lookup box and the web-client window open, and
// the hosts of the services behind them. The hosts stand in one table, so a
// service that moves is mended in one place.

#include <string>
#include <string_view>

namespace umbra::ui {

enum class WebService {
  MobileGateway,   // the web-to-mobile gateway with the 3G client's login
  AvatarShow,      // the avatar show, one host naming every user
  QuestionAnswer,  // the question-and-answer service
  PersonalSpace,   // the personal space, one host naming every user
  FriendServices,  // the friend-services portal
  WebClient,       // the messenger's web client
};

// The service's host name, plain ASCII.
const char* ServiceHost(WebService service);

enum class WebPage {
  MobileLogin,      // "登陆3GQQ", a fixed page
  AvatarShow,       // "QQ秀查询", the number's avatar
  QuestionProfile,  // "QQ问问资料", the number's profile
  PersonalSpace,    // "QQ空间查看", the number's space
  QuestionAlbum,    // "QQ相册查看", the number's page of the question-and-answer service
  FriendServices,   // "好友业务查看", a fixed page
  WebClientStart,   // the web-client window's page, a fixed page
};

// The page's address as GBK bytes: "http://", the host, the fixed start of
// the path, the number exactly as given and the fixed tail, with nothing
// between them and nothing escaped, so a "/", "?" or "#" in the number cuts
// the path where it stands. Fixed pages leave the number out.
std::string PageAddress(WebPage page, std::string_view numberGbk);

}  // namespace umbra::ui
