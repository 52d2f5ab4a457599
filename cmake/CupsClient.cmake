# The print service's client library, as PkgConfig::CUPS. Debian's
# libcups2-dev ships no pkg-config file: its header and library are then
# found directly.
if(NOT TARGET PkgConfig::CUPS)
  pkg_check_modules(CUPS IMPORTED_TARGET cups)
  if(NOT CUPS_FOUND)
    find_path(CUPS_INCLUDE_DIR cups/cups.h REQUIRED)
    find_library(CUPS_LIBRARY cups REQUIRED)
    add_library(PkgConfig::CUPS INTERFACE IMPORTED)
    set_target_properties(PkgConfig::CUPS PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${CUPS_INCLUDE_DIR} INTERFACE_LINK_LIBRARIES ${CUPS_LIBRARY})
  endif()
endif()
