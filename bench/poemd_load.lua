-- wrk script: four-character five-character quatrains, hidden at the head.
wrk.method = "POST"
wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
wrk.body = "xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&type_str=&classid=0&num=cangtou&limit=100"
