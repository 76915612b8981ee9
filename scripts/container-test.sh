#!/usr/bin/env bash
# The images and the Kubernetes Deployment, built and run here: a Debian
# base made with mmdebstrap and imported into podman, the index's image
# (deploy/kubernetes/Dockerfile.data) and the service's on it (Dockerfile),
# built from the packages in BUILD_DIR (scripts/package-test.sh makes
# them); the service's container run and asked for a poem; then the
# Deployment's pod run with podman kube play, from the manifest as it
# stands, and asked for a poem. Everything runs on the host's network and
# is spoken to on loopback only. podman keeps its containers and images in
# a store of the test's own, removed at the end: nothing is left behind.
# Prints the images' sizes and the pod's start-up time.
# Usage: scripts/container-test.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
"$root/scripts/setup.sh" --containers
version=$(sed -n 's/^project(miravel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for package in miravel-poemd_${version}_amd64.deb miravel-poemd-data_${version}_all.deb; do
  [[ -f "$build/$package" ]] || { echo "container-test: no $build/$package (run scripts/package-test.sh)"; exit 1; }
done
work="$build/container-test"
mkdir -p "$work"
# What these machines need of podman: runc, no default ulimits; and a store,
# a run directory and temporary files of this test's own.
cat > "$work/containers.conf" <<CONF
[containers]
default_ulimits = []
[engine]
runtime = "runc"
tmp_dir = "$work/run/libpod"
CONF
cat > "$work/storage.conf" <<CONF
[storage]
driver = "overlay"
graphroot = "$work/store"
runroot = "$work/run/storage"
CONF
export CONTAINERS_CONF="$work/containers.conf" CONTAINERS_STORAGE_CONF="$work/storage.conf"
manifest="$root/deploy/kubernetes/deployment.yaml"
cleanup() {
  podman kube down "$manifest" >/dev/null 2>&1 || true
  podman rm -af -t 0 >/dev/null 2>&1 || true
  podman system reset --force >/dev/null 2>&1 || true
  rm -rf "$work/store" "$work/run" "$work/context"
}
trap cleanup EXIT
cleanup

# The base: a slim Debian like the images registries hold (no manuals,
# translations or documentation but copyrights), from this machine's own
# apt sources. Kept for a day.
base="$work/bookworm-base.tar"
if [[ ! -f "$base" || -n "$(find "$base" -mmin +1440)" ]]; then
  sources=/etc/apt/sources.list.d/debian.sources
  [[ -f "$sources" ]] || sources=/etc/apt/sources.list
  rm -rf "$base.part"
  mmdebstrap --variant=minbase --format=tar --quiet --hook-dir=/usr/share/mmdebstrap/hooks/merged-usr \
    --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/info/*' \
    --dpkgopt='path-exclude=/usr/share/locale/*' \
    --dpkgopt='path-include=/usr/share/locale/locale.alias' \
    --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-include=/usr/share/doc/*/copyright' \
    bookworm "$base.part" "$sources" >"$work/mmdebstrap.log" 2>&1 ||
    { tail -20 "$work/mmdebstrap.log"; exit 1; }
  mv "$base.part" "$base"
fi
podman import --quiet --change 'ENV PATH=/usr/sbin:/usr/bin:/sbin:/bin' "$base" \
  localhost/miravel-test-base:bookworm >/dev/null

mkdir -p "$work/context"
cp "$build/miravel-poemd_${version}_amd64.deb" "$build/miravel-poemd-data_${version}_all.deb" \
  "$work/context/"
data_image="registry.example/miravel-poemd-data:$version"
image=$(sed -n 's/^ *image: *//p' "$manifest")
podman build --quiet --network host -f "$root/deploy/kubernetes/Dockerfile.data" \
  --build-arg BASE=localhost/miravel-test-base:bookworm --build-arg VERSION="$version" \
  -t "$data_image" "$work/context" >/dev/null
podman build --quiet --network host -f "$root/deploy/kubernetes/Dockerfile" \
  --build-arg DATA_IMAGE="$data_image" --build-arg VERSION="$version" \
  -t "$image" "$work/context" >/dev/null
for name in localhost/miravel-test-base:bookworm "$data_image" "$image"; do
  printf 'container-test: image %-45s %4d MB\n' "$name" \
    "$(( $(podman image inspect --format '{{.Size}}' "$name") / 1000000 ))"
done

status=0
# poem PORT: asks the service on 127.0.0.1:PORT for 春风花月 at the head;
# succeeds when the reply holds four lines with those heads.
poem() {
  curl -s --max-time 10 --data 'xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&type_str=&classid=0&num=cangtou&limit=100' \
    "http://127.0.0.1:$1/qm/cts.php" | iconv -f GBK -t UTF-8 |
    python3 -c '
import re, sys
lines = [re.sub(r"<[^>]*>", "", l) for l in re.findall(r"<li>(.*?)</li>", sys.stdin.read())]
print(" / ".join(lines))
sys.exit(0 if "".join(l[:1] for l in lines) == "春风花月" else 1)'
}
# up PORT: seconds until /healthz answers 200 (at most 60).
up() {
  local start=$(date +%s.%N)
  for _ in $(seq 600); do
    if curl -sf --max-time 1 "http://127.0.0.1:$1/healthz" >/dev/null; then
      echo "$(date +%s.%N) - $start" | bc
      return 0
    fi
    sleep 0.1
  done
  return 1
}

echo "== the service's container"
port=$((20000 + RANDOM % 12000))
podman run -d --name miravel-test-poemd --network host "$image" \
  --listen="127.0.0.1:$port" --drain-settle=0 >/dev/null
if took=$(up "$port") && poem "$port"; then
  echo "ok   a poem from the container (up in $took s)"
else
  echo "FAIL no poem from the container"; podman logs miravel-test-poemd | tail -5; status=1
fi
# The poem's picture, drawn in the image's own font.
page=$(curl -s -o /dev/null -w '%{redirect_url}' --max-time 10 \
  "http://127.0.0.1:$port/poem?xing=%E6%98%A5%E9%A3%8E&gender=5&num=cangtou")
if [[ -n "$page" ]] && curl -sf --max-time 10 "$page.png" -o "$work/picture.png" &&
   [[ "$(head -c 8 "$work/picture.png" | od -An -tx1 | tr -d ' ')" == 89504e470d0a1a0a ]]; then
  echo "ok   the poem's picture from the container ($(stat -c %s "$work/picture.png") bytes)"
else
  echo "FAIL no picture from the container (${page:-no poem page})"; status=1
fi
podman stop -t 10 miravel-test-poemd >/dev/null
code=$(podman inspect --format '{{.State.ExitCode}}' miravel-test-poemd)
if [[ "$code" == 0 ]]; then echo "ok   SIGTERM: the container exited 0"; else echo "FAIL exit $code"; status=1; fi
podman rm miravel-test-poemd >/dev/null

echo "== the Deployment's pod (podman kube play)"
if (exec 3<>/dev/tcp/127.0.0.1/8080) 2>/dev/null; then
  echo "FAIL something on this machine already listens on port 8080, the manifest's"
  exit 1
fi
start=$(date +%s.%N)
# Without systemd podman cannot time the probes as health checks, and says
# so; that goes to a log of its own.
podman kube play --network host "$manifest" >"$work/kube.log" 2>&1 || { cat "$work/kube.log"; exit 1; }
if up 8080 >/dev/null && poem 8080; then
  echo "ok   a poem from the pod, $(echo "$(date +%s.%N) - $start" | bc) s after kube play began"
else
  echo "FAIL no poem from the pod"; podman pod logs "$(podman pod ps -q | head -1)" | tail -5; status=1
fi
podman kube down "$manifest" >>"$work/kube.log" 2>&1

cleanup
trap - EXIT
left=$(podman ps -aq | wc -l)/$(podman images -q | wc -l)
if [[ "$left" == "0/0" ]]; then
  echo "ok   no container or image of the test's is left"
else
  echo "FAIL left behind (containers/images): $left"; status=1
fi
exit $status
