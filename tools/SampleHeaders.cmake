# Sample ntstatus.h and winerror.h in the SDK's layout, made at build time from the mingw-w64
# headers into <build>/sample (the run command and the tests read them there), together with
# SampleCounts.h, an awk count of their accepted lines for the whole-file scanning tests.

set(KELVANE_MINGW_INCLUDE_DIR /usr/share/mingw-w64/include CACHE PATH
    "Folder with the mingw-w64 ntstatus.h and winerror.h that the sample headers are made from")
set(KELVANE_SAMPLE_DIR ${CMAKE_BINARY_DIR}/sample)

add_custom_command(
  OUTPUT ${KELVANE_SAMPLE_DIR}/ntstatus.h ${KELVANE_SAMPLE_DIR}/winerror.h
         ${KELVANE_SAMPLE_DIR}/SampleCounts.h
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/make-sample-headers.sh ${KELVANE_MINGW_INCLUDE_DIR}
          ${KELVANE_SAMPLE_DIR}
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/count-sample-entries.sh ${KELVANE_SAMPLE_DIR}/ntstatus.h
          ${KELVANE_SAMPLE_DIR}/winerror.h ${KELVANE_SAMPLE_DIR}/SampleCounts.h
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make-sample-headers.sh
          ${CMAKE_CURRENT_LIST_DIR}/count-sample-entries.sh
          ${KELVANE_MINGW_INCLUDE_DIR}/ntstatus.h ${KELVANE_MINGW_INCLUDE_DIR}/winerror.h
  COMMENT "Writing the sample ntstatus.h and winerror.h"
  VERBATIM)
add_custom_target(sample_headers ALL
  DEPENDS ${KELVANE_SAMPLE_DIR}/ntstatus.h ${KELVANE_SAMPLE_DIR}/winerror.h
          ${KELVANE_SAMPLE_DIR}/SampleCounts.h)

# The programs run under Wine, where the Unix root is drive Z:.
if(KELVANE_SAMPLE_DIR MATCHES "^/")
  set(KELVANE_SAMPLE_DIR_NATIVE "Z:${KELVANE_SAMPLE_DIR}")
else()
  set(KELVANE_SAMPLE_DIR_NATIVE "${KELVANE_SAMPLE_DIR}")
endif()

# kelvane_use_samples(TARGET): TARGET is built after the samples, includes SampleCounts.h and
# knows their folder as the wide string literal KELVANE_SAMPLE_DIR (forward slashes).
function(kelvane_use_samples target)
  add_dependencies(${target} sample_headers)
  target_include_directories(${target} PRIVATE ${KELVANE_SAMPLE_DIR})
  target_compile_definitions(${target} PRIVATE "KELVANE_SAMPLE_DIR=L\"${KELVANE_SAMPLE_DIR_NATIVE}\"")
endfunction()

# Folders are added before tools/, so the users that exist by now get the samples here.
foreach(user codes_tests app_tests kelvane_benchmark)
  if(TARGET ${user})
    kelvane_use_samples(${user})
  endif()
endforeach()
