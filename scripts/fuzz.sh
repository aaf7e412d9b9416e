#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, address and undefined-behaviour sanitizers) and runs
# each on its seed corpus in fuzz/corpus/<harness>.
#
#   scripts/fuzz.sh                        what CI runs: a fixed number of inputs per harness
#   scripts/fuzz.sh --seconds 3600         an hour per harness
#   scripts/fuzz.sh --runs N [HARNESS...]  N inputs per harness, or only the harnesses named
#
# Inputs that reach new code are kept in build/fuzz/corpus/<harness>; an input that breaks a
# promise is written to build/fuzz/findings/<harness>/ and the script fails. Once the fault is
# mended, that input goes into fuzz/corpus/<harness>/ as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."

# The harnesses, and the inputs each gets in CI: well under a minute on one core.
all=(receive_path param_file lin_file request_framer scope_options server_options cli_options)
declare -A ci_runs=(
  [receive_path]=6000 [param_file]=2000 [lin_file]=1000
  [request_framer]=200000 [scope_options]=300000 [server_options]=300000 [cli_options]=300000
)

limit=()
harnesses=()
while (($#)); do
  case $1 in
    --runs) limit=(-runs="$2"); shift 2 ;;
    --seconds) limit=(-max_total_time="$2"); shift 2 ;;
    -*) echo "usage: $0 [--runs N | --seconds S] [HARNESS...]" >&2; exit 2 ;;
    *) harnesses+=("$1"); shift ;;
  esac
done
((${#harnesses[@]})) || harnesses=("${all[@]}")

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for h in "${harnesses[@]}"; do
  [[ -d fuzz/corpus/$h ]] || { echo "fuzz: no harness '$h'" >&2; exit 2; }
done

# Runs one harness; its output goes to build/fuzz/<harness>.log, a broken promise leaves
# build/fuzz/<harness>.failed.
run() {
  local h=$1 start=$SECONDS
  local work=build/fuzz/corpus/$h findings=build/fuzz/findings/$h
  mkdir -p "$work" "$findings"
  local runs=("${limit[@]}")
  ((${#runs[@]})) || runs=(-runs="${ci_runs[$h]}")
  # New inputs go to the first folder; the seeds in the tree are only read.
  if ! "build/fuzz/fuzz/fuzz_$h" "${runs[@]}" -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work" "fuzz/corpus/$h" >"build/fuzz/$h.log" 2>&1; then
    tail -n 40 "build/fuzz/$h.log"
    echo "fuzz: $h broke a promise; the input is in $findings/" >&2
    touch "build/fuzz/$h.failed"
    return
  fi
  echo "fuzz: $h: $(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/$h.log") inputs" \
    "in $((SECONDS - start)) s"
}

# A harness runs on one core: as many run side by side as there are cores.
rm -f build/fuzz/*.failed
for h in "${harnesses[@]}"; do
  while (($(jobs -rp | wc -l) >= $(nproc))); do wait -n || true; done
  run "$h" &
done
wait
! compgen -G 'build/fuzz/*.failed' >/dev/null
