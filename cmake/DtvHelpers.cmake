# Adds every immediate subdirectory of DIR that has a CMakeLists.txt.
function(dtv_add_subdirectories dir)
  file(GLOB children RELATIVE ${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/${child} AND EXISTS ${CMAKE_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir}/${child} ${CMAKE_BINARY_DIR}/${dir}/${child})
    endif()
  endforeach()
endfunction()

# dtv_library(NAME [DEPS ...]): a static library from every .cpp in the current directory tree.
function(dtv_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# dtv_test(NAME SOURCES... DEPS ...): a GoogleTest executable registered with ctest.
function(dtv_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE DTV_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "DTV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
