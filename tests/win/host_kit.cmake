# Tests of the host kit (included from tests/win/CMakeLists.txt).

# A host in strict C89 against include/pinvale.h, linked with the MinGW import library; it
# is built by both builds (the x86 link is itself a check) and run where Wine runs.
add_executable(c89_host c89_host.c)
set_target_properties(c89_host PROPERTIES C_STANDARD 90 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
target_include_directories(c89_host PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_compile_options(c89_host PRIVATE -pedantic-errors -Werror)
target_link_libraries(c89_host PRIVATE ${PINVALE_MINGW_IMPLIB} user32)
add_dependencies(c89_host pinvale_import_libs Pinvale)

# The console host end to end, run as a child process with its output in files.
add_executable(pinvale_host_tests
  host_test.cpp
  support/library.cpp
  support/files.cpp
)
target_include_directories(pinvale_host_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(pinvale_host_tests PRIVATE UNICODE _UNICODE NOMINMAX)
target_link_libraries(pinvale_host_tests PRIVATE gtest_main)
add_dependencies(pinvale_host_tests Pinvale pinvale-host sealwork_stand_in)

# Checks that need no Wine: the import libraries and what the C89 host imports, the
# installed layout, and the host guide's declarations against the export table.
find_program(PINVALE_PYTHON python3 REQUIRED)
add_test(NAME import_libs COMMAND ${PINVALE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/check-import-libs.py
  --objdump ${PINVALE_TRIPLE}-objdump --nm ${PINVALE_TRIPLE}-nm --def ${PINVALE_DEF_SOURCE} --arch ${PINVALE_ARCH}
  --dll $<TARGET_FILE:Pinvale> --host $<TARGET_FILE:c89_host>
  ${PINVALE_MINGW_IMPLIB} ${PINVALE_MSVC_IMPLIB})
add_test(NAME install_layout COMMAND ${CMAKE_SOURCE_DIR}/tests/check-install.sh
  ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/install-check ${PINVALE_ARCH})
add_test(NAME host_doc COMMAND ${PINVALE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/check-host-doc.py
  --def ${PINVALE_DEF_SOURCE} --header ${CMAKE_SOURCE_DIR}/include/pinvale.h --doc ${CMAKE_SOURCE_DIR}/docs/host.md
  --sources ${CMAKE_SOURCE_DIR}/lockjob/MainUnit.h ${CMAKE_SOURCE_DIR}/text/SharedUnit.h
            ${CMAKE_SOURCE_DIR}/about/AboutUnit.h ${CMAKE_SOURCE_DIR}/library/InitUnit.cpp)

if(PINVALE_WINE_RUNS)
  include(GoogleTest)
  add_test(NAME c89_host COMMAND c89_host)
  set_tests_properties(c89_host PROPERTIES TIMEOUT 120)
  gtest_discover_tests(pinvale_host_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120)
endif()
