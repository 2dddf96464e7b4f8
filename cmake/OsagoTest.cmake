# osago_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# Every test is a QtTest program run headless, with a time limit and the
# sanitizer settings of the test build.
set(OSAGO_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

function(osago_add_test_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    # The tests look into the engines behind the register's interface (their files, their servers' tables).
    target_link_libraries(${name} PRIVATE osago_storage_sqlite osago_storage_server)
    # The tests' shared support (TestRegister.h, the scripted seams).
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
endfunction()

function(osago_add_test name)
    osago_add_test_program(${name} ${ARGN})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "${OSAGO_TEST_ENVIRONMENT}")
endfunction()

# The throwaway PostgreSQL server of the tests (scripts/test-server.sh), started by the test
# osago_server_start before the first test that needs it and stopped by osago_server_stop after the last,
# also when tests fail; so are the fault tests' own server and the standby they make of it. Their ports and
# folders follow from the build folder, so two builds on one machine never share a server.
string(MD5 OSAGO_BUILD_HASH "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${OSAGO_BUILD_HASH}" 0 4 OSAGO_PORT_HEX)
math(EXPR OSAGO_TEST_SERVER_PORT "20000 + (0x${OSAGO_PORT_HEX} % 10000) * 4")
math(EXPR OSAGO_FAULT_SERVER_PORT "${OSAGO_TEST_SERVER_PORT} + 1")
math(EXPR OSAGO_STANDBY_SERVER_PORT "${OSAGO_TEST_SERVER_PORT} + 2")
set(OSAGO_TEST_SERVER_DIR "/tmp/osago-server-${OSAGO_PORT_HEX}")
set(OSAGO_FAULT_SERVER_DIR "/tmp/osago-faults-${OSAGO_PORT_HEX}")
set(OSAGO_STANDBY_SERVER_DIR "/tmp/osago-standby-${OSAGO_PORT_HEX}")
set(OSAGO_TEST_SERVER_SCRIPT "${PROJECT_SOURCE_DIR}/scripts/test-server.sh")

function(osago_add_test_server)
    add_test(NAME osago_server_start
        COMMAND ${OSAGO_TEST_SERVER_SCRIPT} start ${OSAGO_TEST_SERVER_DIR} ${OSAGO_TEST_SERVER_PORT})
    set_tests_properties(osago_server_start PROPERTIES FIXTURES_SETUP osago_server TIMEOUT 60)
    add_test(NAME osago_server_stop COMMAND sh -c
        "${OSAGO_TEST_SERVER_SCRIPT} stop ${OSAGO_TEST_SERVER_DIR} ${OSAGO_TEST_SERVER_PORT}; ${OSAGO_TEST_SERVER_SCRIPT} stop ${OSAGO_FAULT_SERVER_DIR} ${OSAGO_FAULT_SERVER_PORT}; ${OSAGO_TEST_SERVER_SCRIPT} stop ${OSAGO_STANDBY_SERVER_DIR} ${OSAGO_STANDBY_SERVER_PORT}")
    set_tests_properties(osago_server_stop PROPERTIES FIXTURES_CLEANUP osago_server TIMEOUT 60)
endfunction()

# Runs the test program `program` as the test `name` on the test server: makeTestRegister() then gives a fresh
# database there. The fault tests get a server of their own to stop and start, and a standby to make of it (see
# FaultServer); only one test at a time may use them (osago_uses_fault_server).
function(osago_run_on_test_server program name)
    add_test(NAME ${name} COMMAND ${program})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        FIXTURES_REQUIRED osago_server
        ENVIRONMENT "${OSAGO_TEST_ENVIRONMENT};OSAGO_TEST_SERVER=postgresql://postgres@127.0.0.1:${OSAGO_TEST_SERVER_PORT};OSAGO_FAULT_SERVER=${OSAGO_TEST_SERVER_SCRIPT} ${OSAGO_FAULT_SERVER_DIR} ${OSAGO_FAULT_SERVER_PORT};OSAGO_STANDBY_SERVER=${OSAGO_TEST_SERVER_SCRIPT} ${OSAGO_STANDBY_SERVER_DIR} ${OSAGO_STANDBY_SERVER_PORT}")
endfunction()

# The tests `names` start and stop the fault tests' server: never two of them at once.
function(osago_uses_fault_server)
    set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK osago_fault_server)
endfunction()

# osago_add_register_test(NAME SOURCES ... LIBS ...): a test over the register, run twice with the same body:
# NAME on a register file in a temporary folder, NAME_server on a fresh database of the test server.
function(osago_add_register_test name)
    osago_add_test(${name} ${ARGN})
    osago_run_on_test_server(${name} ${name}_server)
endfunction()

# osago_add_server_test(NAME SOURCES ... LIBS ...): a test only the server register has.
function(osago_add_server_test name)
    osago_add_test_program(${name} ${ARGN})
    osago_run_on_test_server(${name} ${name})
endfunction()
