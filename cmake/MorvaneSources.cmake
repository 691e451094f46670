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
    target_link_libraries(${name} PUBLIC ole32 oleaut32 uuid shell32 comctl32 gdi32 user32 gdiplus shcore)
  endif()
endfunction()

# Every Windows executable carries the program's manifest: common controls 6, asInvoker, long paths and
# the UTF-8 active code page (the workbook library opens files through narrow calls).
function(morvane_windows_manifest target)
  if(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/manifest.rc)
  endif()
endfunction()
