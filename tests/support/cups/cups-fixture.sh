#!/bin/sh
# A private CUPS scheduler for printing tests: nothing under /etc changes and no port opens.
#
#   cups-fixture.sh start DIR   starts a scheduler in DIR (created when missing) with two queues
#                               and prints the CUPS_SERVER value (DIR/cups.sock) on stdout;
#   cups-fixture.sh stop DIR    stops that scheduler (by its PID) and removes DIR.
#
# Queues:
#   quillmark-pdf   Generic PDF printer writing DIR/out/cheque.pdf; its imageable area has
#                   margins (18 pt left and right, 36 pt top and bottom on A4); the default queue.
#   quillmark-full  cups-pdf: re-rendered through Ghostscript into ~/PDF of the submitting user,
#                   named after the job title; 10 pt margins.
set -eu

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
action=$1
dir=$2

find_ppd() {
    for candidate in "$@"; do
        if [ -f "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

start() {
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    mkdir -p "$dir/etc/ppd" "$dir/etc/ssl" "$dir/cache" "$dir/state/certs" "$dir/spool/tmp" \
        "$dir/log" "$dir/out"
    # Filters run as lp: they need to reach the spool and the output folder.
    chmod 755 "$dir" "$dir/etc" "$dir/state"
    chmod 1777 "$dir/spool/tmp" "$dir/out"
    chmod 710 "$dir/spool"
    chgrp lp "$dir/spool" 2>/dev/null || true

    cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
MaxLogSize 0
WebInterface No
Browsing No
DefaultAuthType None
JobRetryLimit 0
PreserveJobHistory No
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
CacheDir $dir/cache
StateDir $dir/state
RequestRoot $dir/spool
TempDir $dir/spool/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice Yes
Sandboxing Relaxed
EOF

    cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null \
        >"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/scheduler.pid"

    CUPS_SERVER=$dir/cups.sock
    export CUPS_SERVER
    tries=0
    until lpstat -r 2>/dev/null | grep -q "is running"; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$(cat "$dir/scheduler.pid")" 2>/dev/null; then
            echo "cups-fixture: the scheduler did not start" >&2
            cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
            exit 1
        fi
        sleep 0.05
    done

    generic=$(find_ppd /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd) || {
        echo "cups-fixture: Generic PDF PPD missing (package cups-filters)" >&2
        exit 1
    }
    # lpadmin warns that PPD drivers are deprecated; keep that out of the test output.
    lpadmin -p quillmark-pdf -E -v "file://$dir/out/cheque.pdf" -P "$generic" \
        -o PageSize=A4 -o media-default=iso_a4_210x297mm 2>>"$dir/log/lpadmin"
    if full=$(find_ppd /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd); then
        lpadmin -p quillmark-full -E -v cups-pdf:/ -P "$full" -o PageSize=A4 \
            -o media-default=iso_a4_210x297mm 2>>"$dir/log/lpadmin"
    else
        echo "cups-fixture: cups-pdf PPD missing (package printer-driver-cups-pdf)" >&2
    fi
    lpadmin -d quillmark-pdf
    echo "$CUPS_SERVER"
}

stop() {
    [ -d "$dir" ] || exit 0
    if [ -f "$dir/scheduler.pid" ]; then
        pid=$(cat "$dir/scheduler.pid")
        if kill "$pid" 2>/dev/null; then
            tries=0
            while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
                tries=$((tries + 1))
                sleep 0.05
            done
            kill -9 "$pid" 2>/dev/null || true
        fi
    fi
    rm -rf "$dir"
}

case $action in
start) start ;;
stop) stop ;;
*) usage ;;
esac
