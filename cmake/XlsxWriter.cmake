# libxlsxwriter as the imported target xlsxwriter::xlsxwriter.
# Natively it is Debian's libxlsxwriter-dev; for Windows, scripts/build-windows-xlsxwriter cross-builds
# the same library from Debian's source package into build/deps/windows.
if(TARGET xlsxwriter::xlsxwriter)
  return()
endif()
add_library(xlsxwriter::xlsxwriter INTERFACE IMPORTED)
if(WIN32)
  set(MORVANE_DEPS_DIR ${CMAKE_SOURCE_DIR}/build/deps/windows CACHE PATH "Cross-built dependencies")
  if(NOT EXISTS ${MORVANE_DEPS_DIR}/lib/libxlsxwriter.a)
    message(WARNING "libxlsxwriter for Windows is missing: run scripts/setup (it builds ${MORVANE_DEPS_DIR})")
  endif()
  target_include_directories(xlsxwriter::xlsxwriter INTERFACE ${MORVANE_DEPS_DIR}/include)
  target_link_libraries(xlsxwriter::xlsxwriter INTERFACE ${MORVANE_DEPS_DIR}/lib/libxlsxwriter.a z)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
  target_link_libraries(xlsxwriter::xlsxwriter INTERFACE PkgConfig::XLSXWRITER)
endif()
