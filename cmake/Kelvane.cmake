# Helpers that give every library and program of the project the same settings.

function(kelvane_settings target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                             _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# kelvane_library(NAME LIBS...): a static library from every .cpp of the calling folder.
function(kelvane_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    kelvane_settings(${name})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    # A library whose sources are not written yet still lends its settings to its users.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} INTERFACE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                               _WIN32_WINNT=0x0601 WINVER=0x0601)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# kelvane_test(NAME DIR LIBS...): one test program from every .cpp and .rc of DIR, one ctest entry.
# Every program runs under the watchdog and crash filter of test_guard; a folder without its own
# TestMain.cpp gets test_guard's main.
function(kelvane_test name dir)
  if(NOT KELVANE_TESTS)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.rc)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  kelvane_settings(${name})
  if(EXISTS ${dir}/TestMain.cpp)
    target_link_libraries(${name} PRIVATE ${ARGN} test_guard)
  else()
    target_link_libraries(${name} PRIVATE ${ARGN} test_main)
  endif()
  add_test(NAME ${CMAKE_SYSTEM_PROCESSOR}/${name} COMMAND ${name} --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${CMAKE_SYSTEM_PROCESSOR}/${name} PROPERTIES TIMEOUT 600)
endfunction()
