# Source collection shared by every folder of the program.
#
# A folder's sources are the *.cpp files directly in it. Files ending in _win.cpp are built only for
# Windows and files ending in _posix.cpp only elsewhere, so portable and Win32 code split by file.
function(morvane_collect_sources out dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# shell32 is delay-loaded: bound at the first call, after the program has restricted the DLL search,
# instead of by the loader at start. Some shell32 builds (Wine's) forward exports and import DLLs that
# Windows 7 does not keep in the system folder (shcore), and the loader's search for them at start
# begins in the program's folder. The import library of the functions in cmake/shell32-delayed.def is
# made once at configure time; anything else of shell32 (the tests use more) still comes from the
# ordinary import library behind it.
if(WIN32 AND NOT TARGET morvane_shell32_delayed)
  find_program(MORVANE_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  # dlltool names its symbols after the output file: given without a folder, no path gets into them.
  # The library is replaced only when it changed, so that a new configure links nothing again.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/shell32-delayed)
  execute_process(COMMAND ${MORVANE_DLLTOOL} --input-def ${CMAKE_SOURCE_DIR}/cmake/shell32-delayed.def
                          --dllname shell32.dll --output-delaylib libshell32_delayed.a
                  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/shell32-delayed COMMAND_ERROR_IS_FATAL ANY)
  set(delayedLibrary ${CMAKE_BINARY_DIR}/libshell32_delayed.a)
  file(COPY_FILE ${CMAKE_BINARY_DIR}/shell32-delayed/libshell32_delayed.a ${delayedLibrary} ONLY_IF_DIFFERENT)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${CMAKE_SOURCE_DIR}/cmake/shell32-delayed.def)
  add_library(morvane_shell32_delayed STATIC IMPORTED GLOBAL)
  set_target_properties(morvane_shell32_delayed PROPERTIES IMPORTED_LOCATION ${delayedLibrary})
endif()

# A static library from one folder; the folder's parent is the include root, so code includes
# "runtime/CWString.h" and "app/export/ExportFileList.h".
function(morvane_library name dir)
  morvane_collect_sources(sources ${dir})
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
  if(WIN32)
    # GDI+ and SHCore are loaded at run time from the system folder (appsvc/SystemLibrary.h), never
    # imported: an import would be looked for in the program's folder first.
    target_link_libraries(${name} PUBLIC ole32 oleaut32 uuid morvane_shell32_delayed shell32 comctl32 gdi32 user32)
  endif()
endfunction()

# Every Windows executable carries the program's manifest: common controls 6, asInvoker, long paths and
# the UTF-8 active code page (the workbook library opens files through narrow calls).
function(morvane_windows_manifest target)
  if(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/manifest.rc)
  endif()
endfunction()
