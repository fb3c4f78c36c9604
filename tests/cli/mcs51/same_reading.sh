# same_reading CLI KEY SOURCE IMAGE FREQ [ARGS...]: explain reads the
# code's source and its built image (run on s51 for $sim_time, 20 ms
# unless set: long enough for a handler to run) alike: the first entry of
# KEY ("serial" or "timers") has the same generator or mode, reload and
# rate or period in both, and the findings are of the same kinds. Sourced
# by check.sh and tick.sh.
same_reading() {
  local cli=$1 key=$2 source=$3 image=$4 freq=$5; shift 5
  local from_source from_image
  from_source=$("$cli" explain "$freq" "$source" "$@" --format json) || return 1
  from_image=$("$cli" explain "$freq" "$image" "$@" --sim-time "${sim_time:-20ms}" \
    --format json) || return 1
  python3 - "$key" "$from_source" "$from_image" <<'PY'
import json, sys
key, source, image = sys.argv[1], json.loads(sys.argv[2]), json.loads(sys.argv[3])
fields = ("generator", "mode", "clocks", "smod", "reload_hex", "actual_baud",
          "actual_period_s")
def first(doc):
    entries = doc[key]
    return {f: entries[0].get(f) for f in fields} if entries else None
a, b = first(source), first(image)
kinds = [sorted(f["kind"] for f in doc["findings"]) for doc in (source, image)]
if a is None or a != b or kinds[0] != kinds[1]:
    print(f"source {a} {kinds[0]}\nimage  {b} {kinds[1]}", file=sys.stderr)
    sys.exit(1)
PY
}
