# Where the installed parts sit relative to each other. The programs find the engine, the help
# pages and the translations from their own location, so an installed tree can be moved (a
# staging DESTDIR, a package) and a build tree keeps working as it is.
include(GNUInstallDirs)

set(PORTAVO_INSTALL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/portavo)
set(PORTAVO_INSTALL_LIBEXECDIR ${CMAKE_INSTALL_LIBEXECDIR}/portavo)
set(PORTAVO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/portavo)

function(portavo_relative out from to)
  # Relative paths between two folders of the prefix; "/prefix" stands for any prefix.
  file(RELATIVE_PATH rel /prefix/${from} /prefix/${to})
  set(${out} ${rel} PARENT_SCOPE)
endfunction()

portavo_relative(PORTAVO_LIBEXEC_FROM_BIN ${CMAKE_INSTALL_BINDIR} ${PORTAVO_INSTALL_LIBEXECDIR})
portavo_relative(PORTAVO_DATA_FROM_BIN ${CMAKE_INSTALL_BINDIR} ${PORTAVO_INSTALL_DATADIR})
portavo_relative(PORTAVO_LIB_FROM_BIN ${CMAKE_INSTALL_BINDIR} ${PORTAVO_INSTALL_PRIVATE_LIBDIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/PortavoLayout.h.in
               ${CMAKE_BINARY_DIR}/generated/PortavoLayout.h @ONLY)
add_library(kvlayout INTERFACE)
target_include_directories(kvlayout INTERFACE ${CMAKE_BINARY_DIR}/generated)
