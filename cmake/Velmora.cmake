# Shared build settings and the three kinds of test registration.

set(VELMORA_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
cmake_path(NORMAL_PATH VELMORA_ROOT)

# Our own code: strict warnings, Unicode, the repository root on the include path.
function(velmora_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    target_include_directories(${target} PUBLIC ${VELMORA_ROOT})
    if(VELMORA_WINDOWS)
        target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX
                                                    _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

if(VELMORA_WINDOWS)
    # GoogleTest built from Debian's sources with the cross compiler.
    if(NOT TARGET gtest)
        set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()

    # A Windows test executable, run under Wine as ONE ctest test.
    function(velmora_win_test name)
        cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
        add_executable(${name} ${ARG_SOURCES})
        velmora_defaults(${name})
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gmock)
        set_property(GLOBAL APPEND PROPERTY VELMORA_WINE_TESTS ${name})
    endfunction()

    # An end-to-end test: a Python script that drives the real program through the harness.
    # TIMEOUT (seconds, default 600) for the scripts whose full robustness size runs longer.
    function(velmora_e2e_test name script)
        cmake_parse_arguments(ARG "" "TIMEOUT" "" ${ARGN})
        if(NOT ARG_TIMEOUT)
            set(ARG_TIMEOUT 600)
        endif()
        set_property(GLOBAL APPEND PROPERTY VELMORA_E2E_TESTS "${name}=${script}=${ARG_TIMEOUT}")
    endfunction()
else()
    find_package(GTest REQUIRED)
    set(VELMORA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer
                         -fno-sanitize-recover=all)

    # A native unit test of code that does not need Windows, with ASan and UBSan.
    function(velmora_native_test name)
        cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
        add_executable(${name} ${ARG_SOURCES})
        velmora_defaults(${name})
        target_compile_options(${name} PRIVATE ${VELMORA_SANITIZE})
        target_link_options(${name} PRIVATE ${VELMORA_SANITIZE})
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
        add_test(NAME ${name} COMMAND ${name})
    endfunction()
endif()

# A library of pure code (no windows.h): built in both builds, sanitized in the native one.
function(velmora_core_library name)
    add_library(${name} STATIC ${ARGN})
    velmora_defaults(${name})
    if(NOT VELMORA_WINDOWS)
        target_compile_options(${name} PRIVATE ${VELMORA_SANITIZE})
    endif()
endfunction()

# A library of Windows code: only in the cross build.
function(velmora_win_library name)
    if(VELMORA_WINDOWS)
        add_library(${name} STATIC ${ARGN})
        velmora_defaults(${name})
    endif()
endfunction()

# Writes the ctest registrations of the Windows build into one file that the native build's
# ctest includes, so that `make test` is one ctest run over all three kinds of test. Each Wine
# test takes one lane (an X display and a prefix of its own, tools/harness/lane.sh): ctest runs
# as many of them at once as the session has lanes.
function(velmora_write_wine_tests)
    set(lane ${VELMORA_ROOT}/tools/harness/lane.sh)
    get_property(tests GLOBAL PROPERTY VELMORA_WINE_TESTS)
    get_property(e2e GLOBAL PROPERTY VELMORA_E2E_TESTS)
    set(content "# Generated: the tests of the Windows build.\n")
    # A test program that dies of an exception can still leave Wine with a zero exit status: its
    # crash report, or a failure gtest printed before it died, fails the test whatever the status.
    set(crashed "Unhandled exception;Unhandled page fault;\\\\[  FAILED  \\\\]")
    foreach(test IN LISTS tests)
        string(APPEND content
            "add_test(${test} \"${lane}\" \"${VELMORA_WINE}\" \"$<TARGET_FILE:${test}>\")\n"
            "set_tests_properties(${test} PROPERTIES RESOURCE_GROUPS lane:1 TIMEOUT 300 "
            "WORKING_DIRECTORY \"$<TARGET_FILE_DIR:${test}>\" "
            "FAIL_REGULAR_EXPRESSION \"${crashed}\")\n")
    endforeach()
    foreach(entry IN LISTS e2e)
        string(REPLACE "=" ";" fields "${entry}")
        list(GET fields 0 test)
        list(GET fields 1 script)
        list(GET fields 2 timeout)
        string(APPEND content
            "add_test(${test} \"${lane}\" /usr/bin/python3 \"${script}\")\n"
            "set_tests_properties(${test} PROPERTIES RESOURCE_GROUPS lane:1 TIMEOUT ${timeout} "
            "ENVIRONMENT \"VELMORA_BIN=${CMAKE_BINARY_DIR}/bin;PYTHONDONTWRITEBYTECODE=1\")\n")
    endforeach()
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/wine-tests.cmake CONTENT "${content}")
endfunction()

# One subsystem folder: core/*.cpp is pure code (both builds, library <name>_core),
# *.cpp is Windows code (library <name>, part of Velmora.exe).
#   velmora_area(velmora_skin DEPENDS velmora_framework LINK gdiplus)
# Folders are added in dependency order, so a folder may depend only on folders added before
# it: a dependency on a later folder (and so any cycle) stops the configuration.
function(velmora_area name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;LINK" ${ARGN})
    get_property(declared GLOBAL PROPERTY VELMORA_AREAS_DECLARED)
    foreach(dep IN LISTS ARG_DEPENDS)
        if(NOT dep IN_LIST declared)
            message(FATAL_ERROR "${name} depends on ${dep}, which is not added before it: "
                                "a dependency cycle, or VELMORA_AREAS out of order")
        endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VELMORA_AREAS_DECLARED ${name})

    file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(core_sources)
        velmora_core_library(${name}_core ${core_sources})
    endif()
    if(VELMORA_WINDOWS AND win_sources)
        velmora_win_library(${name} ${win_sources})
        # A folder without Windows code (headers only) has no library to link.
        foreach(dep IN LISTS ARG_DEPENDS)
            if(TARGET ${dep})
                target_link_libraries(${name} PUBLIC ${dep})
            endif()
        endforeach()
        target_link_libraries(${name} PUBLIC ${ARG_LINK})
        if(core_sources)
            target_link_libraries(${name} PUBLIC ${name}_core)
        endif()
        velmora_program_library(${name})
    endif()
endfunction()

# An in-house library the program loads by name: a DLL whose stdcall entries are exported under
# their plain names (the program looks them up that way), named exactly OUTPUT_NAME.dll.
#   velmora_inhouse_library(velmora_machineid MachineId SOURCES MachineId.cpp)
function(velmora_inhouse_library target output_name)
    cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
    add_library(${target} SHARED ${ARG_SOURCES})
    velmora_defaults(${target})
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name} PREFIX ""
                                               IMPORT_PREFIX "lib")
endfunction()
