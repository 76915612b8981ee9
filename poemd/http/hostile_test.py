#!/usr/bin/env python3
"""miravel-poemd under hostile clients: each case runs while a probe (one
normal POST on a new connection) is timed, and the service must keep
answering it within PROBE_LIMIT.

Usage: hostile_test.py PORT PID [SLOW IDLE]
  PORT, PID  the service under test (started with its default limits)
  SLOW, IDLE how many slow senders and idle connections (3000, 5000)

Hostile connections come from 127.0.1.1 .. 127.0.1.250, so that the
service's limit per address spreads them; the probe comes from 127.0.0.1.
Prints one line per case and exits 1 when any case fails.
"""
import asyncio
import os
import signal
import socket
import sys
import time

PROBE_LIMIT = 0.100  # seconds
BODY = b"xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangtou&limit=100"
POST = (b"POST /qm/cts.php HTTP/1.1\r\nHost: t\r\n"
        b"Content-Type: application/x-www-form-urlencoded\r\n"
        b"Content-Length: " + str(len(BODY)).encode() + b"\r\n\r\n" + BODY)
SOURCES = [f"127.0.1.{k}" for k in range(1, 251)]

failures = []


def check(name, ok, detail=""):
    print(f"{'ok  ' if ok else 'FAIL'} {name} {detail}".rstrip(), flush=True)
    if not ok:
        failures.append(name)


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


async def exchange(port, request, source=None, limit=5.0):
    """Sends `request` on a new connection; returns (seconds, reply bytes)."""
    start = time.monotonic()
    reader, writer = await asyncio.open_connection(
        "127.0.0.1", port, local_addr=(source, 0) if source else None)
    writer.write(request)
    await writer.drain()
    reply = b""
    try:
        while True:
            chunk = await asyncio.wait_for(reader.read(65536), limit)
            if not chunk:
                break
            reply += chunk
            if b"</html>" in reply or (reply.startswith(b"HTTP/1.1 4") and b"\r\n\r\n" in reply):
                break
    finally:
        writer.close()
    return time.monotonic() - start, reply


async def probe(port, name):
    seconds, reply = await exchange(port, POST)
    check(f"probe during {name}", reply.startswith(b"HTTP/1.1 200") and seconds < PROBE_LIMIT,
          f"{seconds * 1000:.1f} ms")
    return seconds


async def open_many(port, count, first_bytes=b""):
    """Opens `count` connections (spread over the sources), each sending
    `first_bytes`; returns the writers."""
    async def one(k):
        try:
            _, writer = await asyncio.open_connection(
                "127.0.0.1", port, local_addr=(SOURCES[k % len(SOURCES)], 0))
            if first_bytes:
                writer.write(first_bytes)
            return writer
        except OSError:
            return None
    writers = []
    for start in range(0, count, 500):
        batch = await asyncio.gather(*(one(k) for k in range(start, min(count, start + 500))))
        writers += [w for w in batch if w is not None]
    return writers


async def slow_and_idle(port, slow, idle):
    slow_writers = await open_many(port, slow, b"P")
    idle_writers = await open_many(port, idle)
    print(f"     {len(slow_writers)} slow senders and {len(idle_writers)} idle connections open",
          flush=True)
    await probe(port, f"{len(slow_writers)} slow + {len(idle_writers)} idle")
    for writer in slow_writers:  # one more header byte each
        writer.write(b"O")
    await asyncio.sleep(0.5)
    await probe(port, "the slow senders' next byte")
    return slow_writers + idle_writers


async def kept_alive_idle(port, count):
    async def one(k):
        reader, writer = await asyncio.open_connection(
            "127.0.0.1", port, local_addr=(SOURCES[k % len(SOURCES)], 0))
        writer.write(b"GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n")
        await reader.readuntil(b"ok\n")
        return writer
    writers = await asyncio.gather(*(one(k) for k in range(count)))
    await probe(port, f"{count} kept-alive idle clients")
    for writer in writers:
        writer.close()


async def pipelining(port):
    request = (b"GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n" + POST +
               b"GET /healthz HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n")
    start = time.monotonic()
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(request)
    reply = await asyncio.wait_for(reader.read(-1), 3)  # until the server closes
    seconds = time.monotonic() - start
    writer.close()
    statuses = reply.count(b"HTTP/1.1 200 OK")
    in_order = reply.find(b"ok\n") < reply.find(b"<html") < reply.rfind(b"ok\n")
    check("pipelined requests answered in order", statuses == 3 and in_order,
          f"{statuses} replies, closed after {seconds * 1000:.0f} ms")
    check("the last pipelined request's close is at once", seconds < 0.5)


async def lying_lengths(port):
    start = time.monotonic()
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(b"POST /qm/cts.php HTTP/1.1\r\nHost: t\r\nContent-Length: 100\r\n\r\nxing=")
    task = asyncio.ensure_future(reader.read(-1))
    await probe(port, "a length never filled")
    reply = await asyncio.wait_for(task, 10)
    seconds = time.monotonic() - start
    check("a length never filled is answered 400 and closed at the deadline",
          reply.startswith(b"HTTP/1.1 400 ") and 4 < seconds < 7, f"after {seconds:.1f} s")
    writer.close()


async def big_chunk(port, pid):
    before = rss_kb(pid)
    replies = []
    for _ in range(8):
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
        writer.write(b"POST /qm/cts.php HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n\r\n"
                     b"100000000\r\n" + b"a" * 65536)
        try:
            replies.append(await asyncio.wait_for(reader.read(-1), 3))
        except (ConnectionResetError, asyncio.TimeoutError):
            replies.append(b"")
        writer.close()
    grown = rss_kb(pid) - before
    check("a 4 GiB chunk is refused before it is read",
          all(r.startswith(b"HTTP/1.1 413") for r in replies), f"RSS grew {grown} kB")
    check("memory stays flat after big chunks", grown < 20000)
    await probe(port, "big chunks")


async def main():
    port, pid = int(sys.argv[1]), int(sys.argv[2])
    slow = int(sys.argv[3]) if len(sys.argv) > 3 else 3000
    idle = int(sys.argv[4]) if len(sys.argv) > 4 else 5000
    await probe(port, "a quiet service")
    await pipelining(port)
    await lying_lengths(port)
    await big_chunk(port, pid)
    await kept_alive_idle(port, 8)
    held = await slow_and_idle(port, slow, idle)
    # SIGINT with all of them still connected (SIGTERM drains instead).
    start = time.monotonic()
    os.kill(pid, signal.SIGINT)
    while time.monotonic() - start < 3:
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            break
        await asyncio.sleep(0.01)
    stopped = time.monotonic() - start
    check("SIGINT ends the service within a second, whatever is connected", stopped < 1.0,
          f"{stopped * 1000:.0f} ms")
    for writer in held:
        writer.close()


if __name__ == "__main__":
    asyncio.run(main())
    sys.exit(1 if failures else 0)
