# The Windows build: the DLL, its tests and the tools that run under Wine.
enable_language(RC)

# Everything that runs lands in one folder, so programs find the DLL and each other.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Nothing but system DLLs may be imported: the C++ runtime and winpthread go in statically.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PINVALE_ARCH x86)
else()
  set(PINVALE_ARCH x64)
endif()

# One export table for both builds. It lists the stdcall-decorated names, so that the
# 32-bit link checks each export's parameter size; the 64-bit build drops the decoration.
set(PINVALE_DEF_SOURCE ${CMAKE_SOURCE_DIR}/library/Pinvale.def)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PINVALE_DEF_SOURCE})
if(PINVALE_ARCH STREQUAL x86)
  set(PINVALE_DEF ${PINVALE_DEF_SOURCE})
else()
  file(READ ${PINVALE_DEF_SOURCE} def_text)
  string(REGEX REPLACE "@[0-9]+ +@" " @" def_text "${def_text}")
  set(PINVALE_DEF ${CMAKE_BINARY_DIR}/Pinvale.def)
  file(WRITE ${PINVALE_DEF} "${def_text}")
endif()

add_library(pinvale_win32 STATIC
  common/win32_error.cpp
  common/registry.cpp
  common/install_path.cpp
  library/export_boundary.cpp
  lockjob/job_file.cpp
  lockjob/runner_launch.cpp
)
target_link_libraries(pinvale_win32 PUBLIC pinvale_portable)
target_compile_definitions(pinvale_portable PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

add_library(Pinvale SHARED
  library/dllmain.cpp
  library/InitUnit.cpp
  lockjob/MainUnit.cpp
  text/SharedUnit.cpp
  library/version.rc
  ${PINVALE_DEF}
)
set_target_properties(Pinvale PROPERTIES PREFIX "" OUTPUT_NAME Pinvale)
target_link_libraries(Pinvale PRIVATE pinvale_win32)
target_link_options(Pinvale PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup $<$<NOT:$<CONFIG:Debug>>:-s>)
target_compile_options(Pinvale PRIVATE -Os)
add_subdirectory(about)

# Wine: which loader runs this build, and whether it can run on this machine at all.
if(PINVALE_ARCH STREQUAL x86)
  set(PINVALE_WINE_LOADER /usr/lib/wine/wine)
  set(PINVALE_WINE_SERVER /usr/lib/wine/wineserver32)
  set(PINVALE_WINEARCH win32)
else()
  set(PINVALE_WINE_LOADER /usr/lib/wine/wine64)
  set(PINVALE_WINE_SERVER /usr/lib/wine/wineserver64)
  set(PINVALE_WINEARCH win64)
endif()
set(PINVALE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
execute_process(COMMAND ${PINVALE_WINE_LOADER} --version
  RESULT_VARIABLE wine_rc OUTPUT_QUIET ERROR_QUIET)
if(wine_rc EQUAL 0)
  set(PINVALE_WINE_RUNS ON)
else()
  set(PINVALE_WINE_RUNS OFF)
  message(STATUS "${PINVALE_WINE_LOADER} cannot run on this machine: the ${PINVALE_ARCH} tests that need Wine are skipped")
endif()
configure_file(tools/wine-env.sh.in ${CMAKE_BINARY_DIR}/wine-env.sh @ONLY)
configure_file(tools/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_subdirectory(tools)

# Benchmarks through the exports (make bench runs them); not part of the tests.
add_executable(lockjob_bench bench/lockjob_bench.cpp)
target_compile_definitions(lockjob_bench PRIVATE UNICODE _UNICODE)
target_link_options(lockjob_bench PRIVATE -municode)
target_link_libraries(lockjob_bench PRIVATE psapi)
target_include_directories(lockjob_bench PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(lockjob_bench Pinvale)
include(cmake/host_kit.cmake)
add_subdirectory(tests/win)
