# kyvane_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>])
#
# One Qt Test executable registered with CTest. Every test runs with the
# offscreen platform so GUI tests need no display, and in a working folder of
# its own under the build tree so that no test can find files by accident,
# with a cache folder there too (the shared thumbnails go into it).
function(kyvane_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt::Test ${T_LIBS})
    target_compile_definitions(${T_NAME} PRIVATE
        KYVANE_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.work)
    file(MAKE_DIRECTORY ${workdir})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${workdir})
    set_tests_properties(${T_NAME} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CACHE_HOME=${workdir}/cache;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
