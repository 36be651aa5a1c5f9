# Installing and packaging. The version is the project's, with the commit
# where the tree is a git checkout ("0.1.0+g1a2b3c4"). On Linux: the program,
# a desktop entry, AppStream metadata, icons and the README in the usual
# places, packaged as a .deb. On Windows: the program with its version
# resource, manifest and icon, and a zip beside a short README. In the
# browser: the page's static files, zipped.

find_package(Git QUIET)
set(TAVERELL_VERSION ${PROJECT_VERSION})
set(TAVERELL_RELEASE_DATE "")
if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=7 HEAD
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE commit
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND commit)
    string(APPEND TAVERELL_VERSION "+g${commit}")
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cs
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE TAVERELL_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
endif()
if(NOT TAVERELL_RELEASE_DATE)
  string(TIMESTAMP TAVERELL_RELEASE_DATE "%Y-%m-%d" UTC)
endif()

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(CPACK_PACKAGE_NAME taverell)
set(CPACK_PACKAGE_VERSION ${TAVERELL_VERSION})
set(CPACK_PACKAGE_VENDOR Taverell)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Watch and compare how sorting algorithms work")
set(CPACK_STRIP_FILES ON)

if(EMSCRIPTEN)
  # The page: every file of it, served as they are.
  set(page $<TARGET_FILE_DIR:taverell>)
  install(FILES ${page}/index.html ${page}/taverell.js ${page}/taverell.wasm
                ${page}/taverell.worker.js ${page}/taverell.data
          DESTINATION .)
  configure_file(${packaging}/web/README.txt ${CMAKE_BINARY_DIR}/README.txt
                 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME taverell-${TAVERELL_VERSION}-web)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_STRIP_FILES OFF)
elseif(WIN32)
  enable_language(RC)
  # The .rc names these by path; windres reads them from there.
  set(TAVERELL_MANIFEST ${packaging}/windows/taverell.manifest)
  set(TAVERELL_ICON ${packaging}/icons/taverell.ico)
  configure_file(${packaging}/windows/taverell.rc.in
                 ${CMAKE_BINARY_DIR}/taverell.rc @ONLY)
  target_sources(taverell PRIVATE ${CMAKE_BINARY_DIR}/taverell.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/taverell.rc APPEND PROPERTY
               OBJECT_DEPENDS ${TAVERELL_MANIFEST} ${TAVERELL_ICON})
  if(MSVC)
    # The manifest is the resource above; the linker must not add its own.
    target_link_options(taverell PRIVATE /MANIFEST:NO)
  endif()

  install(TARGETS taverell RUNTIME DESTINATION .)
  configure_file(${packaging}/windows/README.txt
                 ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
  # The 64-bit build's executable, when the packaging script names it.
  set(TAVERELL_PACKAGE_64BIT "" CACHE FILEPATH
      "The 64-bit taverell.exe to put beside the 32-bit one in the zip")
  if(TAVERELL_PACKAGE_64BIT)
    install(PROGRAMS ${TAVERELL_PACKAGE_64BIT} DESTINATION 64-bit)
  endif()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME taverell-${TAVERELL_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  include(GNUInstallDirs)
  set(id org.taverell.Taverell)
  install(TARGETS taverell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${packaging}/${id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${packaging}/${id}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/${id}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${packaging}/icons/taverell.svg
          DESTINATION ${icons}/scalable/apps RENAME ${id}.svg)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/taverell-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME ${id}.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/taverell)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION education)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER
      "Taverell maintainers <maintainers@taverell.invalid>")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Watch and compare how sorting algorithms work\n\
Taverell animates eleven sorting algorithms on a shuffled array of 30000\n\
values, redrawn every 10 ms while a worker thread sorts, and shows how long\n\
each run took. The text on screen is Korean.")
  # The libraries from the binary itself; the Hangul font it draws with is
  # found at run time, so it is named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-nanum)
endif()

include(CPack)
