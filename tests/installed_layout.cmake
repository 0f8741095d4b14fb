# Installs the build into a fresh folder and uses the program as installed: every desktop file is
# in place, Help finds the document in the data folder, --version names the version, the manual
# page shows the options, and the desktop files pass their validators where these are installed.
#   cmake -DBUILD=... -DPREFIX=... -DDATA=tests/data -P installed_layout.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}" OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/vorn share/vorn/vornhelp.pdf share/man/man1/vorn.1.gz share/applications/org.vorn.Vorn.desktop
             share/applications/org.vorn.Vorn.Script.desktop share/metainfo/org.vorn.Vorn.metainfo.xml
             share/mime/packages/vorn.xml share/icons/hicolor/scalable/apps/vorn.svg
             share/icons/hicolor/16x16/apps/vorn.png share/icons/hicolor/256x256/apps/vorn.png
             share/bash-completion/completions/vorn share/doc/vorn/copyright share/doc/vorn/changelog.gz)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/vorn" --script help_document.vorn WORKING_DIRECTORY "${DATA}"
                OUTPUT_VARIABLE transcript)
string(FIND "${transcript}" "[Open document] ${PREFIX}/share/vorn/vornhelp.pdf\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "Help did not open the installed document: ${transcript}")
endif()

# The menu entry offers Vorn for the tables it imports, never as the handler of all plain text.
file(READ "${PREFIX}/share/applications/org.vorn.Vorn.desktop" entry)
if(entry MATCHES "text/plain" OR NOT entry MATCHES "\nMimeType=text/csv;text/tab-separated-values;\n")
  message(FATAL_ERROR "the desktop entry claims other types than CSV and TSV tables: ${entry}")
endif()

execute_process(COMMAND "${PREFIX}/bin/vorn" --version OUTPUT_VARIABLE version)
if(NOT version MATCHES "^Vorn [0-9.]+[^\n]*\nCompiler: [^\n]+\nQt: [^\n]+\nCommit: [^\n]+\nKernels: pair counts [^\n]+\nLicence: [^\n]*GPL-3.0-or-later[^\n]*\nTo cite it: [^\n]+\n$")
  message(FATAL_ERROR "unexpected --version text: ${version}")
endif()

find_program(MAN man)
if(MAN)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env MANPAGER=cat MANWIDTH=120 ${MAN} -l
                          "${PREFIX}/share/man/man1/vorn.1.gz" OUTPUT_VARIABLE page ERROR_QUIET)
  foreach(option "--script FILE" "--seed N" "--version")
    string(FIND "${page}" "${option}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "man vorn lacks ${option}: ${page}")
    endif()
  endforeach()
else()
  message(STATUS "man is not installed: the manual page is not read back")
endif()

foreach(check "desktop-file-validate;share/applications/org.vorn.Vorn.desktop"
              "desktop-file-validate;share/applications/org.vorn.Vorn.Script.desktop"
              "appstreamcli;validate;--no-net;share/metainfo/org.vorn.Vorn.metainfo.xml")
  list(GET check 0 tool)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(STATUS "${tool} is not installed (Debian: desktop-file-utils, appstream): not checked")
    continue()
  endif()
  list(POP_BACK check file)
  list(REMOVE_AT check 0)
  execute_process(COMMAND ${found_${tool}} ${check} "${PREFIX}/${file}" RESULT_VARIABLE failed
                  OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(failed)
    message(FATAL_ERROR "${tool} refuses ${file}: ${said}")
  endif()
endforeach()
