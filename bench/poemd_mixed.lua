-- wrk script: the service's traffic mixed with what it must refuse: poems of
-- every form, the browser's form and poem pages (diagonal hiding, swaps,
-- forged addresses), health checks, bad forms, wrong methods and missing
-- pages, in turn.
-- The requests are made when the script loads, before wrk knows the host, so
-- each names one: HTTP/1.1 without Host is itself refused.
local requests = {}
local form = "application/x-www-form-urlencoded"
local function post(body)
  return wrk.format("POST", "/qm/cts.php", { Host = "localhost", ["Content-Type"] = form }, body)
end
local function get(target)
  return wrk.format("GET", target, { Host = "localhost" })
end
for _, gender in ipairs({ "5", "7" }) do
  for _, num in ipairs({ "cangtou", "cangzhong", "cangwei" }) do
    for _, limit in ipairs({ "100", "200" }) do
      table.insert(requests, post("xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=" .. gender ..
        "&type_str=&classid=0&num=" .. num .. "&limit=" .. limit))
    end
  end
end
table.insert(requests, get("/"))
local xing = "/poem?xing=%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88&gender=7&limit=200&num="
table.insert(requests, get(xing .. "dizeng"))
table.insert(requests, get(xing .. "dijian&seed=7&swap=2"))
table.insert(requests, get(xing .. "cangtou&seed=1&lines=1.2.x.99999999999"))
table.insert(requests, get("/poem?xing=abc%F0%9F%98%80"))
table.insert(requests, get("/healthz"))
table.insert(requests, post("xing=%B4&gender=5&num=cangtou&limit=100"))
table.insert(requests, post("gender=9"))
table.insert(requests, post(string.rep("a", 70000)))
table.insert(requests, get("/qm/cts.php"))
table.insert(requests, get("/nowhere"))
local n = 0
request = function()
  n = n + 1
  return requests[(n % #requests) + 1]
end
