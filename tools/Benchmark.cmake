# The load benchmark: a program run by hand (not a test), built with everything else.
#   tools/wine-run <build>/wineprefix <build>/tools/kelvane_benchmark.exe [SAMPLE_DIR]
add_executable(kelvane_benchmark ${CMAKE_CURRENT_LIST_DIR}/benchmark/LoadBenchmark.cpp)
kelvane_settings(kelvane_benchmark)
target_link_libraries(kelvane_benchmark PRIVATE lookup)
target_link_options(kelvane_benchmark PRIVATE -municode)
