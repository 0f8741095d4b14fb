#!/usr/bin/env bash
# Installs what is missing, builds the tests (Debug, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

# desktop-file-utils and appstream check the desktop files of the installed layout.
tools/install-dependencies.sh desktop-file-utils appstream
# The independent programs the results are compared with, and pdftotext for the help document.
# A machine that cannot install them still runs the suite: their comparisons are then skipped.
peers=(r-base-core r-cran-ape r-cran-vegan r-cran-ade4 r-cran-phangorn r-cran-adegenet
       python3-numpy python3-scipy python3-dendropy python3-biopython poppler-utils)
tools/install-dependencies.sh "${peers[@]}" ||
  echo "Note: the peer programs could not be installed; the comparisons with them are skipped"
# The validator, browser and word processor that open the session report as its readers do.
tools/install-dependencies.sh python3-html5lib chromium libreoffice-writer-nogui ||
  echo "Note: the report's validator, browser or word processor could not be installed; their checks are skipped"

cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_TESTS=ON > /dev/null
cmake --build build-tests
cd build-tests
status=0
ctest --output-on-failure -j "$(nproc)" "$@" | tee ctest-output.txt || status=$?
print_summary() {
  # ctest lists the tests that skipped themselves below "The following tests did not run:".
  local skipped total failed
  skipped=$(grep -c '(Skipped)$' ctest-output.txt || true)
  total=$(sed -n 's/.*tests failed out of \([0-9]*\)$/\1/p' ctest-output.txt | tail -1)
  failed=$(sed -n 's/.* \([0-9]*\) tests failed out of .*/\1/p' ctest-output.txt | tail -1)
  [ -n "$total" ] || return 0
  if [ "$skipped" -gt 0 ]; then
    echo "Skipped (a peer program or tool is missing, see the notes above): $skipped"
    grep '(Skipped)$' ctest-output.txt | sed 's/^ */  /'
  fi
  echo "ctest: $((total - failed - skipped)) passed, $failed failed, $skipped skipped"
}
print_summary
exit "$status"
