-- wrk script: the service's traffic mixed with what it must refuse: poems of
-- every form, the form page, health checks, bad forms, wrong methods and
-- missing pages, in turn.
local requests = {}
local form = "application/x-www-form-urlencoded"
local function post(body)
  return wrk.format("POST", "/qm/cts.php", { ["Content-Type"] = form }, body)
end
for _, gender in ipairs({ "5", "7" }) do
  for _, num in ipairs({ "cangtou", "cangzhong", "cangwei" }) do
    for _, limit in ipairs({ "100", "200" }) do
      table.insert(requests, post("xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=" .. gender ..
        "&type_str=&classid=0&num=" .. num .. "&limit=" .. limit))
    end
  end
end
table.insert(requests, wrk.format("GET", "/"))
table.insert(requests, wrk.format("GET", "/healthz"))
table.insert(requests, post("xing=%B4&gender=5&num=cangtou&limit=100"))
table.insert(requests, post("gender=9"))
table.insert(requests, post(string.rep("a", 70000)))
table.insert(requests, wrk.format("GET", "/qm/cts.php"))
table.insert(requests, wrk.format("GET", "/nowhere"))
local n = 0
request = function()
  n = n + 1
  return requests[(n % #requests) + 1]
end
