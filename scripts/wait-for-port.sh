#!/usr/bin/env bash
# Waits until something accepts connections on 127.0.0.1:PORT, at most five
# seconds. With PID, gives up at once (status 1) when that process has ended.
# Usage: scripts/wait-for-port.sh PORT [PID]
port=$1 pid=${2:-}
for _ in $(seq 100); do
  if [[ -n "$pid" ]] && ! kill -0 "$pid" 2>/dev/null; then exit 1; fi
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then exit 0; fi
  sleep 0.05
done
exit 1
