# Runs examples/report.vorn (writing report.odt too) in a fresh folder and checks the written report as a reader meets it:
#   cmake -DPROGRAM=... -DSOURCE=<repository> -DFOLDER=<scratch folder> -DCHECK=html|browser|odt -P report_checks.cmake
# html: the HTML passes html5lib's strict parser and refers to nothing outside itself; browser:
# headless Chromium renders it with no console error and draws every figure; odt: LibreOffice
# converts report.odt to PDF and the PDF's text holds every number of the tables. A missing tool
# skips its check with a note ("SKIPPED: ...").
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/examples ${FOLDER}/run)
file(COPY ${SOURCE}/examples/sedge_aflp.txt DESTINATION ${FOLDER}/examples)
# The example, with the same report written as an OpenDocument text too.
file(READ ${SOURCE}/examples/report.vorn script)
file(WRITE ${FOLDER}/report.vorn "${script}File > Write Report\n    file: report.odt\n")
execute_process(COMMAND ${PROGRAM} --script ${FOLDER}/report.vorn --seed 1 --strict
                WORKING_DIRECTORY ${FOLDER}/run RESULT_VARIABLE status OUTPUT_VARIABLE transcript ERROR_VARIABLE error)
if(NOT status EQUAL 0 OR NOT error STREQUAL "")
  message(FATAL_ERROR "exit status ${status}: ${error}\n${transcript}")
endif()
set(report ${FOLDER}/run/report.html)
set(checker ${SOURCE}/tests/report/check_report.py)


function(run_check)
  execute_process(COMMAND /usr/bin/python3 ${checker} ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE problem)
  if(result EQUAL 77)
    message("${problem}")
  elseif(NOT result EQUAL 0)
    message(FATAL_ERROR "${problem}")
  endif()
endfunction()

if(CHECK STREQUAL "html")
  run_check(validate ${report})
elseif(CHECK STREQUAL "browser")
  find_program(CHROMIUM NAMES chromium chromium-browser)
  if(NOT CHROMIUM)
    message("SKIPPED: chromium is not installed (apt install chromium)")
    return()
  endif()
  set(flags --headless --no-sandbox --disable-gpu --enable-logging=stderr --v=0 --window-size=1000,4000)
  execute_process(COMMAND ${CHROMIUM} ${flags} --screenshot=${FOLDER}/run/report.png file://${report}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE log TIMEOUT 120)
  if(NOT result EQUAL 0 OR NOT EXISTS ${FOLDER}/run/report.png)
    message(FATAL_ERROR "chromium did not render the report (${result}):\n${log}")
  endif()
  file(SIZE ${FOLDER}/run/report.png size)
  if(size LESS 10000)
    message(FATAL_ERROR "the screenshot holds only ${size} bytes")
  endif()
  string(REGEX MATCHALL "[^\n]*CONSOLE[^\n]*" console "${log}")
  if(console)
    message(FATAL_ERROR "the page wrote to the console:\n${console}")
  endif()
  execute_process(COMMAND ${CHROMIUM} ${flags} --dump-dom file://${report}
                  RESULT_VARIABLE result OUTPUT_FILE ${FOLDER}/run/dom.html ERROR_QUIET TIMEOUT 120)
  run_check(drawn ${report} ${FOLDER}/run/dom.html)
elseif(CHECK STREQUAL "odt")
  find_program(SOFFICE NAMES soffice libreoffice)
  find_program(PDFTOTEXT pdftotext)
  if(NOT SOFFICE OR NOT PDFTOTEXT)
    message("SKIPPED: LibreOffice (libreoffice-writer-nogui) or pdftotext (poppler-utils) is not installed")
    return()
  endif()
  execute_process(COMMAND ${SOFFICE} -env:UserInstallation=file://${FOLDER}/profile --headless --convert-to pdf
                          --outdir ${FOLDER}/run ${FOLDER}/run/report.odt
                  RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log TIMEOUT 300)
  if(NOT result EQUAL 0 OR NOT EXISTS ${FOLDER}/run/report.pdf)
    message(FATAL_ERROR "LibreOffice did not convert report.odt (${result}):\n${log}")
  endif()
  execute_process(COMMAND ${PDFTOTEXT} ${FOLDER}/run/report.pdf ${FOLDER}/run/report.txt RESULT_VARIABLE result)
  run_check(numbers ${report} ${FOLDER}/run/report.txt)
else()
  message(FATAL_ERROR "CHECK must be html, browser or odt")
endif()
