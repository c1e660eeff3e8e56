# Run by `cmake --install` after the files are copied. Set beforehand:
#   GORVANE_APP             the app folder below the install prefix
#   GORVANE_DESKTOP_ENTRY   the desktop entry's template
# The desktop entry names the program by this install's prefix.
# Installed by root, the program becomes set-user-id root, which is how it
# becomes the superuser; anyone else gets a program that says it cannot.
set(app "${CMAKE_INSTALL_PREFIX}/${GORVANE_APP}")
set(root "$ENV{DESTDIR}${app}")

set(GORVANE_EXECUTABLE "${app}/gorvane")
configure_file("${GORVANE_DESKTOP_ENTRY}"
               "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/gorvane.desktop" @ONLY)

execute_process(COMMAND id -u OUTPUT_VARIABLE installer OUTPUT_STRIP_TRAILING_WHITESPACE)
if(installer STREQUAL "0")
  message(STATUS "Making ${root}/gorvane set-user-id root")
  execute_process(COMMAND chown 0:0 "${root}/gorvane" COMMAND_ERROR_IS_FATAL ANY)
  file(CHMOD "${root}/gorvane" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE SETUID)
else()
  message(STATUS "Not installing as root: ${root}/gorvane is not set-user-id root")
endif()
