# Sample ntstatus.h and winerror.h in the SDK's layout, made at build time from the mingw-w64
# headers into <build>/sample (the run command and the tests read them there); from them, headers
# of a current SDK's size for the benchmarks into <build>/sdk-size; and SampleCounts.h, an awk
# count of the samples' accepted lines for the whole-file scanning tests, into <build>/generated.
# Only <build>/generated is an include folder: a header named like a system one (winerror.h)
# must never stand in for the compiler's.

set(KELVANE_MINGW_INCLUDE_DIR /usr/share/mingw-w64/include CACHE PATH
    "Folder with the mingw-w64 ntstatus.h and winerror.h that the sample headers are made from")
set(KELVANE_SAMPLE_DIR ${CMAKE_BINARY_DIR}/sample)
set(KELVANE_SDK_SIZE_DIR ${CMAKE_BINARY_DIR}/sdk-size)
set(KELVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

set(KELVANE_EXTRA_HEADERS lmerr.h bugcodes.h wininet.h winhttp.h)
list(TRANSFORM KELVANE_EXTRA_HEADERS PREPEND ${KELVANE_SAMPLE_DIR}/ OUTPUT_VARIABLE sample_extras)
list(TRANSFORM KELVANE_EXTRA_HEADERS PREPEND ${KELVANE_SDK_SIZE_DIR}/ OUTPUT_VARIABLE sdk_size_extras)
list(TRANSFORM KELVANE_EXTRA_HEADERS PREPEND ${KELVANE_MINGW_INCLUDE_DIR}/ OUTPUT_VARIABLE mingw_extras)

add_custom_command(
  OUTPUT ${KELVANE_SAMPLE_DIR}/ntstatus.h ${KELVANE_SAMPLE_DIR}/winerror.h ${sample_extras}
         ${KELVANE_GENERATED_DIR}/SampleCounts.h
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/make-sample-headers.sh ${KELVANE_MINGW_INCLUDE_DIR}
          ${KELVANE_SAMPLE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KELVANE_GENERATED_DIR}
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/count-sample-entries.sh ${KELVANE_SAMPLE_DIR}/ntstatus.h
          ${KELVANE_SAMPLE_DIR}/winerror.h ${KELVANE_GENERATED_DIR}/SampleCounts.h
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make-sample-headers.sh
          ${CMAKE_CURRENT_LIST_DIR}/count-sample-entries.sh
          ${KELVANE_MINGW_INCLUDE_DIR}/ntstatus.h ${KELVANE_MINGW_INCLUDE_DIR}/winerror.h ${mingw_extras}
  COMMENT "Writing the sample ntstatus.h and winerror.h"
  VERBATIM)
add_custom_command(
  OUTPUT ${KELVANE_SDK_SIZE_DIR}/ntstatus.h ${KELVANE_SDK_SIZE_DIR}/winerror.h ${sdk_size_extras}
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/make-sdk-size-headers.sh ${KELVANE_SAMPLE_DIR} ${KELVANE_SDK_SIZE_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make-sdk-size-headers.sh
          ${KELVANE_SAMPLE_DIR}/ntstatus.h ${KELVANE_SAMPLE_DIR}/winerror.h ${sample_extras}
  COMMENT "Writing ntstatus.h and winerror.h of a current SDK's size"
  VERBATIM)
add_custom_target(sample_headers ALL
  DEPENDS ${KELVANE_SAMPLE_DIR}/ntstatus.h ${KELVANE_SAMPLE_DIR}/winerror.h ${sample_extras}
          ${KELVANE_GENERATED_DIR}/SampleCounts.h
          ${KELVANE_SDK_SIZE_DIR}/ntstatus.h ${KELVANE_SDK_SIZE_DIR}/winerror.h ${sdk_size_extras})

# The programs run under Wine, where the Unix root is drive Z:.
foreach(folder KELVANE_SAMPLE_DIR KELVANE_SDK_SIZE_DIR)
  if(${folder} MATCHES "^/")
    set(${folder}_NATIVE "Z:${${folder}}")
  else()
    set(${folder}_NATIVE "${${folder}}")
  endif()
endforeach()

# kelvane_use_samples(TARGET): TARGET is built after the samples, includes SampleCounts.h and
# knows the two header folders as the wide string literals KELVANE_SAMPLE_DIR and
# KELVANE_SDK_SIZE_DIR (forward slashes).
function(kelvane_use_samples target)
  add_dependencies(${target} sample_headers)
  target_include_directories(${target} PRIVATE ${KELVANE_GENERATED_DIR})
  target_compile_definitions(${target} PRIVATE "KELVANE_SAMPLE_DIR=L\"${KELVANE_SAMPLE_DIR_NATIVE}\""
                             "KELVANE_SDK_SIZE_DIR=L\"${KELVANE_SDK_SIZE_DIR_NATIVE}\"")
endfunction()

# Folders are added before tools/, so the users that exist by now get the samples here.
foreach(user codes_tests app_tests cli_tests kelvane_benchmark)
  if(TARGET ${user})
    kelvane_use_samples(${user})
  endif()
endforeach()
