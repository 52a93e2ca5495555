# The host kit: the public header include/pinvale.h, import libraries made from the export
# table, and the layout that `cmake --install` gives an add-in project to point at:
#   bin/<arch>/      Pinvale.dll, pinvale-host.exe
#   include/         pinvale.h
#   lib/<arch>/      libPinvale.dll.a (MinGW), Pinvale.lib (MSVC), Pinvale.def
# <arch> is x86 or x64, so that both builds can be installed into one prefix.

# dlltool -k: the import names lose the stdcall decoration, as the library's exports do,
# while the x86 link symbols keep it (_OpenPresentation@4), as stdcall callers expect.
if(PINVALE_ARCH STREQUAL x86)
  set(PINVALE_DLLTOOL_MACHINE i386)
else()
  set(PINVALE_DLLTOOL_MACHINE i386:x86-64)
endif()
find_program(PINVALE_DLLTOOL ${PINVALE_TRIPLE}-dlltool REQUIRED)
set(PINVALE_IMPLIB_DIR ${CMAKE_BINARY_DIR}/implib)
set(PINVALE_MINGW_IMPLIB ${PINVALE_IMPLIB_DIR}/libPinvale.dll.a)
set(PINVALE_MSVC_IMPLIB ${PINVALE_IMPLIB_DIR}/Pinvale.lib)
add_custom_command(OUTPUT ${PINVALE_MINGW_IMPLIB} ${PINVALE_MSVC_IMPLIB}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PINVALE_IMPLIB_DIR}
  COMMAND ${PINVALE_DLLTOOL} -k -m ${PINVALE_DLLTOOL_MACHINE} -d ${PINVALE_DEF} -l ${PINVALE_MINGW_IMPLIB}
  COMMAND ${PINVALE_DLLTOOL} -k -m ${PINVALE_DLLTOOL_MACHINE} -d ${PINVALE_DEF} -l ${PINVALE_MSVC_IMPLIB}
  DEPENDS ${PINVALE_DEF}
  COMMENT "Import libraries of Pinvale.dll from its export table"
  VERBATIM)
add_custom_target(pinvale_import_libs ALL DEPENDS ${PINVALE_MINGW_IMPLIB} ${PINVALE_MSVC_IMPLIB})

install(FILES $<TARGET_FILE:Pinvale> DESTINATION bin/${PINVALE_ARCH})
install(PROGRAMS $<TARGET_FILE:pinvale-host> DESTINATION bin/${PINVALE_ARCH})
install(FILES ${CMAKE_SOURCE_DIR}/include/pinvale.h DESTINATION include)
install(FILES ${PINVALE_MINGW_IMPLIB} ${PINVALE_MSVC_IMPLIB} ${PINVALE_DEF} DESTINATION lib/${PINVALE_ARCH})
