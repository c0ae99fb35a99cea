# Small helpers shared by every area's CMakeLists.txt.

# piano_test(NAME SOURCES... LIBS libs... [GUI] [LABELS l...])
# A GoogleTest executable whose cases are registered one by one with CTest.
# GUI tests run under Qt's offscreen platform. Sanitizer options come from the test presets.
function(piano_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  find_package(GTest REQUIRED)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    PIANO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PIANO_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
  # One value per property: gtest_discover_tests does not carry lists through.
  set(properties)
  if(T_GUI)
    list(APPEND properties ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  if(T_LABELS)
    list(GET T_LABELS 0 label)
    list(APPEND properties LABELS ${label})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# piano_fuzz(NAME SOURCE LIBS libs... SEEDS dirs... [RUNS n])
# A libFuzzer target, plus a CTest smoke run over its seed folders.
function(piano_fuzz name)
  cmake_parse_arguments(F "" "SOURCE;RUNS" "LIBS;SEEDS" ${ARGN})
  if(NOT F_RUNS)
    set(F_RUNS 2000)
  endif()
  add_executable(${name} ${F_SOURCE})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(seeds)
  foreach(s ${F_SEEDS})
    if(EXISTS ${s})
      list(APPEND seeds ${s})
    endif()
  endforeach()
  # libFuzzer writes what it finds into its first folder: a folder of the build tree, never the seeds.
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${work})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
            $<TARGET_FILE:${name}> -runs=${F_RUNS} -max_len=65536 -rss_limit_mb=2048 -timeout=10 ${work} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
