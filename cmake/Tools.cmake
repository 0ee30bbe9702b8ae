# Benchmarks and fuzz targets: built, never run by ctest.
