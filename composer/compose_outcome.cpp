#include "composer/compose_outcome.h"

#include "composer/gbk_literal.h"
#include "web/timed_web_request.h"

namespace miravel {

namespace {

// "host:port" of the URL, the port its scheme's when it names none.
Text ServiceAddress(const Text& url) {
  const bool secure = LowerAscii(url).starts_with("https://");
  const size_t scheme_end = url.find("://");
  const size_t host_start = scheme_end == Text::npos ? 0 : scheme_end + 3;
  const Text authority = url.substr(host_start, url.find('/', host_start) - host_start);
  const size_t bracket = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  const bool has_port = colon != Text::npos && (bracket == Text::npos || colon > bracket);
  return has_port ? authority : authority + (secure ? ":443" : ":80");
}

}  // namespace

Text CompletionMessage() { return Gbk("作诗完毕，Miravel 为你作诗，欢迎复制分享"); }

Text ComposeOutcomeMessage(const Bytes& reply, int poem_lines, const Text& service_url) {
  if (poem_lines > 0) return CompletionMessage();
  if (reply.empty()) {
    return Gbk("连不上作诗服务 ") + ServiceAddress(service_url);
  }
  if (TextOf(reply) == kTimeoutMessage) return Gbk("作诗服务 60 秒内没有回应");
  return Gbk("作诗服务的回复里没有诗");
}

}  // namespace miravel
