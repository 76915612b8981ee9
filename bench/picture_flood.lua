-- wrk script: a careless or hostile client asking for distinct pictures, as
-- PNG, each a poem no one asked for before (a seed of its own), and
-- counting the replies by status.
local threads = {}
function setup(thread)
  thread:set("id", #threads + 1)
  table.insert(threads, thread)
end
function init(args)
  counter = 0
  statuses = {}
  math.randomseed(id * 7919 + os.time())
end
local path = "/%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4/"
function request()
  counter = counter + 1
  local seed = string.format("%x%x", math.random(0, 0xfffffff), counter)
  return wrk.format("GET", path .. seed .. ".png", { Host = "localhost" })
end
function response(status)
  statuses[status] = (statuses[status] or 0) + 1
end
function done()
  local all = {}
  for _, thread in ipairs(threads) do
    for status, count in pairs(thread:get("statuses")) do
      all[status] = (all[status] or 0) + count
    end
  end
  for status, count in pairs(all) do io.write(string.format("pictures %d: %d\n", status, count)) end
end
