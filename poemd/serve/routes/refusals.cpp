#include "poemd/serve/routes/refusals.h"

#include "poemd/serve/pages/browser_page.h"

namespace miravel::poemd {
namespace {

struct Words {
  int status;
  const char* reason;   // HTTP's
  const char* heading;  // the page's
  const char* message;
};

constexpr Words kWords[] = {
    {400, "Bad Request", "请求不完整",
     "浏览器发来的请求不完整，或者格式不对。请回到首页再试一次。"},
    {408, "Request Timeout", "等得太久了", "请求没有在时限内送到，连接已经关闭。请再试一次。"},
    {413, "Payload Too Large", "内容太多", "提交的内容太长了，最多 64 KiB。"},
    {414, "URI Too Long", "地址太长", "这个地址太长了，也许复制时多带了别的内容。"},
    {429, "Too Many Requests", "请求太多", "你同时要的图片太多了。请等几秒钟再试。"},
    {431, "Request Header Fields Too Large", "请求头太长",
     "浏览器发来的请求头太长了。请清除本站的 Cookie 后再试。"},
    {500, "Internal Server Error", "出了差错", "服务出了差错，这不是你的问题。请再试一次。"},
    {503, "Service Unavailable", "正忙", "图片正在排队绘制，请过几秒钟再试。"},
    {505, "HTTP Version Not Supported", "协议不对", "请用 HTTP/1.1 或 HTTP/1.0。"},
};

const Words& WordsFor(int status) {
  for (const Words& words : kWords) {
    if (words.status == status) return words;
  }
  return kWords[6];  // 500: a failure, whatever it was
}

}  // namespace

HttpReply Refusal(int status, const std::string& why, bool html) {
  const Words& words = WordsFor(status);
  if (html) {
    return {status, "text/html; charset=utf-8", ErrorPage(words.heading, words.message), {}, why};
  }
  return {status,
          "text/plain; charset=utf-8",
          std::to_string(status) + " " + words.reason + ": " + why + "\n",
          {},
          why};
}

HttpReply MissingPage(std::string note) {
  return {404,
          "text/html; charset=utf-8",
          ErrorPage("找不到这一页", "这个地址上没有页面：也许链接没有抄全，或者抄错了字。"),
          {},
          std::move(note)};
}

HttpReply MethodNotAllowed(const std::string& allow) {
  HttpReply reply{405,
                  "text/html; charset=utf-8",
                  ErrorPage("不能这样打开这一页", "这个地址只接受 " + allow + " 请求。"),
                  {},
                  "method not allowed"};
  reply.headers.emplace_back("Allow", allow);
  return reply;
}

}  // namespace miravel::poemd
