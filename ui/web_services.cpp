#include "ui/web_services.h"

#include <stdexcept>

namespace umbra::ui {
namespace {

struct ServiceHostEntry {
  WebService service;
  const char* host;
};

constexpr ServiceHostEntry kServiceHosts[] = {
    {WebService::MobileGateway, "pt.3g.qq.com"},
    {WebService::AvatarShow, "qqshow-user.tencent.com"},
    {WebService::QuestionAnswer, "wenwen.soso.com"},
    {WebService::PersonalSpace, "user.qzone.qq.com"},
    {WebService::FriendServices, "haoyou.qq.com"},
    {WebService::WebClient, "web.qq.com"},
};

struct PageEntry {
  WebPage page;
  WebService service;
  const char* head;  // the path up to the number
  bool takesNumber;
  const char* tail;  // the path after the number
};

constexpr PageEntry kPages[] = {
    {WebPage::MobileLogin, WebService::MobileGateway, "/3gqq/", false, ""},
    {WebPage::AvatarShow, WebService::AvatarShow, "/", true, "/10/00"},
    {WebPage::QuestionProfile, WebService::QuestionAnswer, "/z/ShowUser.e?sp=S", true, ""},
    {WebPage::PersonalSpace, WebService::PersonalSpace, "/", true, "/infocenter"},
    {WebPage::QuestionAlbum, WebService::QuestionAnswer, "/z/", true, ""},
    {WebPage::FriendServices, WebService::FriendServices, "/index.html", false, ""},
    // The start page is the bare host.
    {WebPage::WebClientStart, WebService::WebClient, "", false, ""},
};

const PageEntry& EntryFor(WebPage page) {
  for (const PageEntry& entry : kPages) {
    if (entry.page == page) return entry;
  }
  throw std::logic_error("unknown web page");
}

}  // namespace

const char* ServiceHost(WebService service) {
  for (const ServiceHostEntry& entry : kServiceHosts) {
    if (entry.service == service) return entry.host;
  }
  throw std::logic_error("unknown web service");
}

std::string PageAddress(WebPage page, std::string_view numberGbk) {
  const PageEntry& entry = EntryFor(page);
  std::string address = "http://";
  address += ServiceHost(entry.service);
  address += entry.head;
  if (entry.takesNumber) address += numberGbk;
  address += entry.tail;
  return address;
}

}  // namespace umbra::ui
