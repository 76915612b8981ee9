#!/usr/bin/env bash
# A throwaway nginx of a test's own, kept under WORK: one worker, its pid,
# logs and temporary files in WORK, serving what WORK/site.conf (written by
# the caller: server blocks, upstreams) says.
# Usage: scripts/nginx-scratch.sh start WORK [CONNECTIONS]
#        scripts/nginx-scratch.sh stop WORK
set -euo pipefail
action=$1 work=$2 connections=${3:-4096}
if [[ "$action" == "stop" ]]; then
  [[ -f "$work/nginx.conf" ]] && nginx -c "$work/nginx.conf" -s stop 2>/dev/null || true
  exit 0
fi
mkdir -p "$work/logs"
cat > "$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections $connections; }
http {
  access_log off;
  client_body_temp_path $work/body;
  proxy_temp_path $work/proxy;
  fastcgi_temp_path $work/fastcgi;
  uwsgi_temp_path $work/uwsgi;
  scgi_temp_path $work/scgi;
  include $work/site.conf;
}
CONF
nginx -c "$work/nginx.conf"
