#!/usr/bin/env bash
# Writes the table of time-zone transitions the zone tests compare the
# program with: for each zone below, every change of offset from 1900 through
# 2037 as the system's `zdump -v` prints it from the tz database, with the
# offset in force the second before the change and the one from it on.
#
#   tools/make_zone_transitions.sh [--every N] [OUT.csv]
#
# writes to standard output without OUT.csv. With --every N it keeps a sample
# of each zone: its first and last two changes and every Nth one between.
#
# Columns: zone, instant of the change (UT, seconds since 1970-01-01),
# the same as text, offset before and after (seconds east of Greenwich).
set -euo pipefail
zones=(
  Europe/Berlin Europe/London Europe/Paris Europe/Moscow Europe/Istanbul Europe/Lisbon
  Europe/Dublin Europe/Kyiv Atlantic/Azores Africa/Cairo Africa/Casablanca
  Africa/Johannesburg America/New_York America/Chicago America/Denver America/Los_Angeles
  America/Phoenix America/Anchorage America/St_Johns America/Mexico_City America/Caracas
  America/Sao_Paulo America/Argentina/Buenos_Aires America/Santiago Pacific/Honolulu
  Asia/Kolkata Asia/Kathmandu Asia/Tehran Asia/Jerusalem Asia/Dhaka Asia/Shanghai
  Asia/Tokyo Asia/Singapore Australia/Sydney Australia/Adelaide Australia/Lord_Howe
  Australia/Perth Pacific/Auckland Pacific/Chatham Pacific/Kiritimati Pacific/Apia
)
every=1
if [ "${1:-}" = "--every" ]; then every=$2; shift 2; fi
out=${1:-/dev/stdout}
version=$(sed -n '1s/^# version //p' /usr/share/zoneinfo/tzdata.zi 2>/dev/null || true)
{
  echo "# Offsets on each side of transitions 1900-2037, from \`zdump -v -c 1900,2038\`"
  echo "# (tzdata ${version:-unknown}), written by tools/make_zone_transitions.sh --every $every."
  echo "# zone,instant,utc,before,after"
  for z in "${zones[@]}"; do
    zdump -v -c 1900,2038 "$z" | grep -v ' = NULL$'
  done | awk '
    BEGIN { split("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec", names, " ");
            for (i = 1; i <= 12; i++) month[names[i]] = i }
    # Days from 1970-01-01 to a proleptic Gregorian date.
    function days(y, m, d,   era, yoe, doy, doe) {
      y -= (m <= 2); era = int((y >= 0 ? y : y - 399) / 400); yoe = y - era * 400;
      doy = int((153 * (m + (m > 2 ? -3 : 9)) + 2) / 5) + d - 1;
      doe = yoe * 365 + int(yoe / 4) - int(yoe / 100) + doy;
      return era * 146097 + doe - 719468
    }
    {
      # zone  Wdy Mon DD HH:MM:SS YYYY UT = ... gmtoff=N
      split($5, t, ":");
      s = days($6, month[$3], $4) * 86400 + t[1] * 3600 + t[2] * 60 + t[3];
      off = $NF; sub(/^gmtoff=/, "", off);
      if ($1 == zone && s == last + 1) {
        n++; row[n] = sprintf("%s,%.0f,%04d-%02d-%02dT%s,%d,%d", $1, s, $6, month[$3], $4, $5, lastoff, off)
      }
      if ($1 != zone) flush();
      zone = $1; last = s; lastoff = off
    }
    function flush(   i) {
      for (i = 1; i <= n; i++)
        if (i <= 2 || i > n - 2 || i % every == 0) print row[i];
      n = 0
    }
    END { flush() }' every="$every"
} > "$out"
