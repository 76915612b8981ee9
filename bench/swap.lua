-- wrk script: a reader swapping a line of a poem at its short address, a
-- seed each time (the seeded poem and the swapped one, as a swap costs).
function request()
  local seed = string.format("%x", math.random(0, 0xfffffff))
  local line = math.random(0, 3)
  return wrk.format("GET", "/%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4/" ..
                    seed .. "?swap=" .. line, { Host = "localhost" })
end
