#!/usr/bin/env python3
"""miravel-poemd as an operator runs it: one owner per port, and SIGTERM
drains (health fails at once, what is under way is answered, exit 0).

Usage: operations_test.py SERVICE INDEX
  SERVICE  the miravel-poemd program
  INDEX    an index it can load (a made-up corpus will do)

Every case starts its own service on a free loopback port. Prints one line
per check and exits 1 when any fails.
"""
import os
import random
import signal
import socket
import subprocess
import sys
import time

BODY = b"xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangtou&limit=100"
HEAD = (b"POST /qm/cts.php HTTP/1.1\r\nHost: t\r\n"
        b"Content-Type: application/x-www-form-urlencoded\r\n"
        b"Content-Length: " + str(len(BODY)).encode() + b"\r\n\r\n")

failures = []


def check(name, ok, detail=""):
    print(f"{'ok  ' if ok else 'FAIL'} {name} {detail}".rstrip(), flush=True)
    if not ok:
        failures.append(name)


class Service:
    def __init__(self, program, index, port, *options):
        self.address = f"127.0.0.1:{port}"
        self.port = port
        self.process = subprocess.Popen(
            [program, "--index", index, "--listen", self.address, *options],
            stderr=subprocess.PIPE)

    def wait_listening(self):
        for _ in range(100):
            if self.process.poll() is not None:
                return False
            try:
                socket.create_connection(("127.0.0.1", self.port), 0.1).close()
                return True
            except OSError:
                time.sleep(0.05)
        return False

    def wait(self, limit):
        """Returns (exit status or None when still running, seconds waited)."""
        start = time.monotonic()
        try:
            code = self.process.wait(limit)
        except subprocess.TimeoutExpired:
            code = None
        return code, time.monotonic() - start

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        return self.process.stderr.read().decode(errors="replace")


def connect(port):
    return socket.create_connection(("127.0.0.1", port), 1.0)


def reply_on(sock, limit=5.0):
    """Reads one reply (headers and the body its Content-Length gives)."""
    sock.settimeout(limit)
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            return data
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value)
    while len(body) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    return head + b"\r\n\r\n" + body


def status_of(reply):
    parts = reply.split(b" ", 2)
    return int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0


def refused(port):
    try:
        connect(port).close()
        return False
    except OSError:
        return True


def held_port(program, index, port):
    owner = Service(program, index, port)
    check("the first service listens", owner.wait_listening())
    start = time.monotonic()
    second = subprocess.run(
        [program, "--index", index, "--listen", owner.address],
        stderr=subprocess.PIPE, timeout=10)
    took = time.monotonic() - start
    message = second.stderr.decode(errors="replace").strip()
    check("a second service on a held port exits 1", second.returncode == 1,
          f"(exit {second.returncode})")
    check("... within a second", took < 1.0, f"({took:.2f} s)")
    check("... naming the address", owner.address in message, f"({message!r})")
    sock = connect(port)
    sock.sendall(b"GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n")
    check("the first service still answers", status_of(reply_on(sock)) == 200)
    sock.close()
    owner.process.send_signal(signal.SIGINT)
    owner.wait(5)
    owner.end()


def body_after_sigterm(program, index, port):
    service = Service(program, index, port, "--drain-settle", "0", "--drain-deadline", "5")
    check("the service listens", service.wait_listening())
    sock = connect(port)
    sock.sendall(HEAD + BODY[:10])
    time.sleep(0.2)
    service.process.send_signal(signal.SIGTERM)
    signalled = time.monotonic()
    time.sleep(1.0)
    check("after SIGTERM (no settle) new connections are refused", refused(port))
    sock.sendall(BODY[10:])
    reply = reply_on(sock)
    check("a body that arrives 1 s after SIGTERM gets its 200", status_of(reply) == 200,
          f"(status {status_of(reply)})")
    check("... with its poem", b"<li>" in reply)
    check("... and Connection: close", b"\r\nConnection: close" in reply)
    sock.close()
    code, _ = service.wait(5)
    took = time.monotonic() - signalled
    check("the service then exits 0, within the deadline", code == 0 and took < 5.0,
          f"(exit {code} {took:.2f} s after SIGTERM)")
    service.end()


def settle_then_close(program, index, port):
    service = Service(program, index, port, "--drain-settle", "1.5", "--drain-deadline", "5")
    check("the service listens", service.wait_listening())
    kept = connect(port)
    kept.sendall(b"GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n")
    check("health is 200 before SIGTERM", status_of(reply_on(kept)) == 200)
    service.process.send_signal(signal.SIGTERM)
    time.sleep(0.1)
    kept.sendall(b"GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n")
    health = reply_on(kept)
    check("health is 503 at once, on a kept-alive connection", status_of(health) == 503,
          f"(status {status_of(health)})")
    check("... which is asked to close", b"\r\nConnection: close" in health)
    kept.close()
    fresh = connect(port)
    fresh.sendall(HEAD + BODY)
    poem = reply_on(fresh)
    check("while it settles a new connection still gets its poem",
          status_of(poem) == 200 and b"<li>" in poem)
    fresh.close()
    idle = connect(port)
    time.sleep(2.0)
    check("after the settle time new connections are refused", refused(port))
    idle.settimeout(1.0)
    try:
        closed = idle.recv(1) == b""
    except OSError:
        closed = True
    check("... and a connection left idle is closed", closed)
    code, _ = service.wait(3)
    check("the service exits 0", code == 0, f"(exit {code})")
    service.end()


def deadline_ends_it(program, index, port):
    service = Service(program, index, port, "--drain-settle", "0", "--drain-deadline", "1.5")
    check("the service listens", service.wait_listening())
    stuck = connect(port)
    stuck.sendall(HEAD)  # its body never comes
    time.sleep(0.2)
    service.process.send_signal(signal.SIGTERM)
    code, took = service.wait(5)
    check("a request that never ends holds the drain only until its deadline",
          code == 0 and 1.2 < took < 2.5, f"(exit {code} after {took:.2f} s)")
    stuck.close()
    service.end()


def main():
    program, index = sys.argv[1], sys.argv[2]
    base = random.randrange(20000, 32000)  # below the ephemeral ports (32768 up)
    held_port(program, index, base)
    body_after_sigterm(program, index, base + 1)
    settle_then_close(program, index, base + 2)
    deadline_ends_it(program, index, base + 3)
    if failures:
        print(f"{len(failures)} checks failed")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
