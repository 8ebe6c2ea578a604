#!/usr/bin/env bash
# Load test of rivav-site's quote service against nginx serving a static file
# of the same size, both on loopback, measured with the same wrk settings.
#
#   bench/site-load.sh [build-dir]        (default: ./build)
#   DURATION=10s CONNECTIONS=64 THREADS=2 ROUNDS=3 bench/site-load.sh
#   SITE_THREADS=N bench/site-load.sh     (rivav-site --threads N; default: one per
#                                          connection, since each thread serves one)
#
# The three targets take turns for ROUNDS rounds, so that a slow spell of a
# shared machine does not fall on one of them only; the figures reported are
# the medians of the rounds.
#
# Installs wrk and nginx with apt-get when they are missing.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
duration="${DURATION:-10s}"
connections="${CONNECTIONS:-64}"
threads="${THREADS:-2}"
rounds="${ROUNDS:-3}"
site="$build/rivav-site"

if [[ ! -x "$site" ]]; then
    echo "site-load: $site not found; build it with: cmake --build $build --target rivav-site" >&2
    exit 2
fi
missing=()
command -v wrk >/dev/null || missing+=(wrk)
command -v nginx >/dev/null || [[ -x /usr/sbin/nginx ]] || missing+=(nginx)
command -v curl >/dev/null || missing+=(curl)
if ((${#missing[@]})); then
    echo "site-load: installing ${missing[*]}" >&2
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"

work="$(mktemp -d)"
chmod 755 "$work"
site_pid=""
nginx_pid=""
cleanup() {
    [[ -n "$site_pid" ]] && kill "$site_pid" 2>/dev/null && wait "$site_pid" 2>/dev/null || true
    [[ -n "$nginx_pid" ]] && kill -QUIT "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# rivav-site on a port of its own choice; the access log stays on, into /dev/null.
# Its pages are a copy, so that the quote page can be added as a static file.
cp -r "$build/site-data/pages" "$work/pages"
"$site" --address 127.0.0.1 --port 0 --pages "$work/pages" --threads "${SITE_THREADS:-$connections}" \
    > >(head -1 > "$work/site.port"; cat > /dev/null) 2>"$work/site.err" &
site_pid=$!
for _ in $(seq 50); do
    [[ -s "$work/site.port" ]] && break
    sleep 0.1
done
site_port="$(sed -n 's|^listening on http://127.0.0.1:\([0-9]*\)/$|\1|p' "$work/site.port")"
[[ -n "$site_port" ]] || { echo "site-load: rivav-site did not start" >&2; cat "$work/site.err" >&2; exit 1; }

# The request the desktop program sends for the design's example, with real
# region codes and the names in GBK.
query='bom1=3&bom2=1&bom3=1&bom4=1&bom5=1&bom6=2&bomarea2=30&bomarea3=12.5&bomarea1=40&bomarea4=8&bomarea5=5&bomarea6=6&pho=13812345678&cit1=110000&cit2=110100&cit3=110101&dc=2&findman3=13&kongzhi=tijiao&findman=1&fengge=3&sumcityname=%B1%B1%BE%A9%CA%D0%CA%D0%CF%BD%C7%F8%B6%AB%B3%C7%C7%F8&xingshi=%CD%F5'
quote_url="http://127.0.0.1:$site_port/AutoPrice.action?$query"
status="$(curl -s -o "$work/quote.html" -w '%{http_code}' "$quote_url")"
[[ "$status" == 200 ]] || { echo "site-load: the quote answered $status" >&2; exit 1; }
size="$(stat -c %s "$work/quote.html")"
cp "$work/quote.html" "$work/pages/quote-static.html"

# nginx with the same answer as a static file, access log on as well.
mkdir -p "$work/www" "$work/tmp"
cp "$work/quote.html" "$work/www/quote.html"
chmod -R a+rX "$work/www"
nginx_port="$(free_port)"
cat > "$work/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx.pid;
error_log $work/nginx-error.log warn;
daemon off;
events { worker_connections 1024; }
http {
    access_log /dev/null;
    client_body_temp_path $work/tmp/body;
    proxy_temp_path $work/tmp/proxy;
    fastcgi_temp_path $work/tmp/fastcgi;
    uwsgi_temp_path $work/tmp/uwsgi;
    scgi_temp_path $work/tmp/scgi;
    keepalive_requests 10000;
    server {
        listen 127.0.0.1:$nginx_port;
        root $work/www;
        default_type "text/html; charset=utf-8";
    }
}
CONF
"$nginx_bin" -c "$work/nginx.conf" -e "$work/nginx-error.log" &
nginx_pid=$!
for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$nginx_port/quote.html" && break
    sleep 0.1
done

# CPU time (user + system, clock ticks) of the given processes and their children.
cpu_ticks() {
    local total=0 pid
    for pid in "$@" $(pgrep -P "$(IFS=,; echo "$*")" || true); do
        [[ -r /proc/$pid/stat ]] || continue
        total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat")))
    done
    echo "$total"
}
ticks_per_second="$(getconf CLK_TCK)"

run_wrk() { # key label url server-pid
    local out="$work/$1.wrk"
    local before after
    before="$(cpu_ticks "$4")"
    wrk -t"$threads" -c"$connections" -d"$duration" --latency "$3" > "$out"
    after="$(cpu_ticks "$4")"
    local rps p99 errors non2xx requests cpu
    rps="$(awk '/^Requests\/sec:/ {print $2}' "$out")"
    p99="$(awk '$1 == "99%" {print $2}' "$out")"
    errors="$(awk '/Socket errors:/ {gsub(",", ""); print $4 + $6 + $8 + $10}' "$out")"
    non2xx="$(awk '/Non-2xx or 3xx responses:/ {print $5}' "$out")"
    requests="$(awk '/ requests in / {print $1}' "$out")"
    # Server CPU per request, in microseconds: what the server itself costs,
    # whatever else the machine is doing.
    cpu="$(awk -v t="$((after - before))" -v hz="$ticks_per_second" -v n="$requests" \
        'BEGIN { printf "%.1f", (n > 0 ? t / hz * 1e6 / n : 0) }')"
    printf '%-30s %11s %9s %11s %7s %8s\n' "$2" "$rps" "$p99" "$cpu" "${errors:-0}" "${non2xx:-0}"
    echo "$rps" > "$work/$1.rps"
}

echo "wrk -t$threads -c$connections -d$duration --latency; response $size bytes; $(nproc) cores; $rounds rounds"
printf '%-30s %11s %9s %11s %7s %8s\n' "target" "requests/s" "p99" "CPU us/req" "errors" "non-2xx"
ratios=()
quotes=()
for round in $(seq "$rounds"); do
    run_wrk nginx "nginx static (same size)" "http://127.0.0.1:$nginx_port/quote.html" "$nginx_pid"
    run_wrk static "rivav-site static (same size)" "http://127.0.0.1:$site_port/quote-static.html" "$site_pid"
    run_wrk site "rivav-site /AutoPrice.action" "$quote_url" "$site_pid"
    ratio="$(awk -v a="$(cat "$work/site.rps")" -v b="$(cat "$work/nginx.rps")" 'BEGIN { printf "%.2f", a / b }')"
    echo "round $round: rivav-site / nginx throughput $ratio"
    ratios+=("$ratio")
    quotes+=("$(cat "$work/site.rps")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
echo "rivav-site /AutoPrice.action, median of $rounds rounds: $(median "${quotes[@]}") requests/s (should not fall below 10000)"
echo "rivav-site / nginx throughput, median of $rounds rounds: $(median "${ratios[@]}")"
