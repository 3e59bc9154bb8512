#!/usr/bin/env python3
"""Writes the GBK forecast pages the weather tests read. Run from this folder."""

HEAD = """<html><head><meta charset="gbk"><title>天气预报</title></head><body>
<!-- 右侧主内容 -->
<div class="main">
<h3>郑州<span class="date">2024年5月10日</span> <em>星期五</em></h3>
<div class="today">
<p>今天白天</p><ul><li><b>{high}℃</b></li></ul>
<p>今天夜间</p><ul><li><b>{low}℃</b></li></ul>
</div>
"""

DAY = """<div class="day"><h4>{heading}</h4>
<ul><li class="t">白天</li><li class="temp">{high}℃</li>
<li class="t">夜间</li><li class="temp">{low}℃</li></ul></div>
"""

FUTURE = '<div class="future"><h2>未来四天</h2>\n'
SUBSCRIBE = '<div class="sms">订阅天气短信</div>\n'
TAIL = "</div></body></html>\n"

FOUR_DAYS = [("5月11日 星期六", "28", "16"), ("5月12日 星期日", "0", "0"),
             ("5月13日 星期一", "25", "15"), ("5月14日 星期二", "26", "14")]


def days(rows):
    return "".join(DAY.format(heading=h, high=hi, low=lo) for h, hi, lo in rows)


PAGES = {
    "full.html": HEAD.format(high="10", low="-3") + FUTURE + days(FOUR_DAYS) + SUBSCRIBE + TAIL,
    "two_days.html": HEAD.format(high="12", low="4") + FUTURE + days(FOUR_DAYS[:2]) + SUBSCRIBE + TAIL,
    "no_subscribe.html": HEAD.format(high="11", low="5") + FUTURE + days(FOUR_DAYS) + TAIL,
    "min_missing.html": HEAD.format(high="12", low="") + FUTURE
        + days([("5月11日 星期六", "20", "")] + FOUR_DAYS[1:]) + SUBSCRIBE + TAIL,
    # The section never holds more than four days; a page that lists more must not overrun.
    "six_days.html": HEAD.format(high="10", low="-3") + FUTURE + days(FOUR_DAYS)
        + days([("5月15日 星期三", "31", "21"), ("5月16日 星期四", "33", "23")]) + SUBSCRIBE + TAIL,
    "unknown_city.html": "<html><body><p>抱歉，没有找到该城市的天气。</p>"
        "<p>今天白天 <li><b>9℃</b></li> 今天夜间 <li><b>1℃</b></li></p></body></html>\n",
}

for name, text in PAGES.items():
    with open(name, "wb") as f:
        f.write(text.encode("gbk"))
