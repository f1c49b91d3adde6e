# Sourced: a CUPS scheduler of the caller's own in the folder given, as the
# print tests start theirs: its configuration, spool and socket in that
# folder, the user's printers untouched. It exports CUPS_SERVER (every CUPS
# client of the caller's, Wine's among them, prints there) and sets cupsd to
# its pid. Its one queue, "korval", made the default, is a PostScript
# printer on A4 whose backend keeps each job's sheets in <folder>/out.
start_private_cups() {
  local root="$1" sub
  rm -rf "$root"
  mkdir -p "$root"
  for sub in conf spool cache state log tmp out serverbin/backend; do
    mkdir -p "$root/$sub"
  done
  chmod 7755 "$root"
  chmod 7777 "$root/out" "$root/tmp"
  for sub in filter daemon cgi-bin driver notifier monitor; do
    ln -s "/usr/lib/cups/$sub" "$root/serverbin/$sub"
  done
  cat >"$root/conf/cupsd.conf" <<CONF
Listen $root/cups.sock
LogLevel info
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$root/conf/cups-files.conf" <<CONF
ServerRoot $root/conf
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/state
TempDir $root/tmp
ServerBin $root/serverbin
DataDir /usr/share/cups
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
Sandboxing Relaxed
SystemGroup root
CONF
  cat >"$root/serverbin/backend/korvalpdf" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct korvalpdf "Unknown" "KORVAL test printer"'; exit 0; fi
out="${DEVICE_URI#korvalpdf:}/job-$1"
if [ $# -ge 6 ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi
mv "$out.part" "$out"
BACKEND
  chmod 700 "$root/serverbin/backend/korvalpdf"
  export CUPS_SERVER="$root/cups.sock"
  cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" &
  cupsd=$!
  for _ in $(seq 600); do
    LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running" && break
    sleep 0.1
  done
  # (lpadmin warns that drivers are deprecated; this one is CUPSs own.)
  lpadmin -p korval -E -v "korvalpdf:$root/out" -m drv:///sample.drv/generic.ppd -o PageSize=A4 2>/dev/null
  lpadmin -d korval
}

# The first job's file once the backend has written it whole, within a
# minute; nothing when none came.
wait_private_job() {
  local root="$1" job
  for _ in $(seq 600); do
    job="$(ls "$root/out" 2>/dev/null | grep -v '\.part$' | head -n 1)"
    if [ -n "$job" ]; then
      echo "$root/out/$job"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
