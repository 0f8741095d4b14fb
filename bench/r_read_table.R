# Reads the import benchmark's CSV table (2000 samples by 10000 loci, NA for missing) with R's
# read.csv, the peer of BM_ImportCsvTable. Run after the benchmark wrote the file.
path <- "/tmp/vorn-import-bench-table.csv"
elapsed <- system.time(table <- read.csv(path, colClasses = c("character", "character", rep("integer", 10000))))
cat(sprintf("R read.csv: %d samples x %d loci in %.0f ms\n", nrow(table), ncol(table) - 2, 1000 * elapsed[["elapsed"]]))
