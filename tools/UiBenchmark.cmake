# The user-interface benchmark (run by hand with tools/ui-benchmark.sh, not a test): starts
# Kelvane.exe on a header folder (the samples by default) and times the first painted window,
# every key kind and list clicks; --soak watches memory over a long run.
add_executable(kelvane_ui_benchmark ${CMAKE_CURRENT_LIST_DIR}/benchmark/UiBenchmark.cpp)
kelvane_settings(kelvane_ui_benchmark)
target_link_options(kelvane_ui_benchmark PRIVATE -municode)
target_link_libraries(kelvane_ui_benchmark PRIVATE psapi)
kelvane_use_samples(kelvane_ui_benchmark)
if(TARGET Kelvane)
  add_dependencies(kelvane_ui_benchmark Kelvane)
endif()
