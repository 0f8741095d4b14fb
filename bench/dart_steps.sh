# The pieces of script the DArT-sized benchmarks share (sourced by run_dart_workflow.sh and
# run_memory_bench.sh): the program to time and the script text of each step, every step a script
# of its own after the load of dart.txt.

# The program: VORN=path/to/vorn, or build-bench/vorn built now.
vorn_program() {
  if [ -n "${VORN:-}" ]; then
    realpath "$VORN"
    return
  fi
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
  cmake --build build-bench --target vorn >&2
  realpath build-bench/vorn
}

load='File > Load
    file: dart.txt
    File Parameter Selection: individuals=columns, individual_header=true, locus_header=false, delimited=true, include_groups=true'
similarity='Options > Similarity Coefficient Selection
    Select Similarity Coefficient: write_similarity=false
Analysis > Standard Similarity'
# $1 bootstrap Std. trees, not saved, and their majority-rule consensus (at threshold $2 percent
# when given, else at the setting's default).
bootstrap_consensus() {
  printf '%s\n' "Options > Replicate Analysis Settings
    Replicate Analyses Settings: bs=$1
Replicate Analyses > Bootstrap Std. Tree (BS+RMD)
    Save?: No"
  [ -z "${2:-}" ] || printf '%s\n' "Options > MR Consensus And R-Support Settings
    Consensus & R-support Options: mr_threshold=$2"
  printf '%s\n' "Trees > Majority Rule Consensus"
}
amova_999='Analysis > AMOVA Permutation Test
    Caution: Yes
    Permutations: value=999
    AMOVA Permutation Test: Yes'
pcoa_fast="$similarity
Options > PCoA Settings
    PCoA Settings: solver=relatively_robust
Trees > Principal Coordinate Analysis"
exports='File > Export > Nexus
    file: dart.nex
    Data export: Yes
    DataType: Yes
File > Export > Structure
    file: dart_structure.txt
    Export to Structure: value=2
    Export to Structure: No
    Export to Structure: Yes'
