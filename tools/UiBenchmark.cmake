# The user-interface benchmark (run by hand with tools/ui-benchmark.sh, not a test): starts
# Kelvane.exe on a header folder (the samples by default) and times the first painted window,
# every key kind and list clicks; --soak watches memory over a long run.
add_executable(kelvane_ui_benchmark ${CMAKE_CURRENT_LIST_DIR}/benchmark/UiBenchmark.cpp)
kelvane_settings(kelvane_ui_benchmark)
target_link_options(kelvane_ui_benchmark PRIVATE -municode)
target_link_libraries(kelvane_ui_benchmark PRIVATE psapi)
# Only the samples' folder, not on the include path: the program includes the compiler's windows.h.
add_dependencies(kelvane_ui_benchmark sample_headers)
target_compile_definitions(kelvane_ui_benchmark PRIVATE "KELVANE_SAMPLE_DIR=L\"${KELVANE_SAMPLE_DIR_NATIVE}\"")
if(TARGET Kelvane)
  add_dependencies(kelvane_ui_benchmark Kelvane)
endif()
