#include "poemd/serve/routes/client_route.h"

#include "poemd/serve/pages/client_page.h"
#include "poemd/serve/requests/client_order.h"
#include "poemd/serve/requests/order_parts.h"
#include "poemd/serve/routes/replies.h"

namespace miravel::poemd {

HttpReply ClientRoute::Compose(std::string_view body) const {
  StatusOr<PoemOrder> order = ParsePoemOrder(body);
  if (!order.ok()) {
    const std::string& why = order.status().message();
    return ClientReply(400, ClientRefusalPage(why), "refused: " + why);
  }
  order->book = options_.book;
  const Poem poem = poems_.Compose(*order, options_.SeedFor(body));
  return ClientReply(200, ClientPoemPage(index_, *order, poem),
                     OrderNote(*order, options_.log_characters));
}

}  // namespace miravel::poemd
