# Runs the program as nobody (setpriv) in a folder everybody may write: saving over another user's
# file or the user's own read-only file, and rewriting another user's result file after "No", fail
# with "Permission denied" and keep the file; the user's own file is replaced, owner and mode kept.
#   cmake -DPROGRAM=... -DFOLDER=... -P unprivileged_replace.cmake
find_program(SETPRIV setpriv)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT SETPRIV OR NOT uid STREQUAL "0")
  message("SKIPPED: running the program as another user needs setpriv and root")
  return()
endif()

file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(WRITE ${FOLDER}/data.txt "a b c\n1 0 1\n0 1 1\n*\n")
file(WRITE ${FOLDER}/script.vorn [=[
File > Load
    file: data.txt
File > Save DataMatrix
    file: theirs.txt
File > Save DataMatrix
    file: own_readonly.txt
File > Save DataMatrix
    file: own.txt
Analysis > Standard Similarity
    Output file exists: No
]=])
foreach(name theirs own_readonly own analysis)
  file(WRITE ${FOLDER}/${name}.txt "old ${name}\n")
endforeach()
execute_process(COMMAND chmod 0777 ${FOLDER})
execute_process(COMMAND chown nobody ${FOLDER}/own_readonly.txt ${FOLDER}/own.txt)
execute_process(COMMAND chmod 0444 ${FOLDER}/own_readonly.txt)
execute_process(COMMAND chmod 0640 ${FOLDER}/own.txt)

execute_process(COMMAND ${SETPRIV} --reuid=nobody --regid=nogroup --clear-groups ${PROGRAM} --script script.vorn
                WORKING_DIRECTORY ${FOLDER} OUTPUT_VARIABLE transcript ERROR_VARIABLE errors RESULT_VARIABLE status)
foreach(name theirs own_readonly analysis)
  string(FIND "${transcript}" "Cannot write ${name}.txt: Permission denied" at)
  file(READ ${FOLDER}/${name}.txt kept)
  if(at EQUAL -1 OR NOT kept STREQUAL "old ${name}\n")
    message(FATAL_ERROR "${name}.txt was not refused and kept (status ${status}):\n${transcript}${errors}")
  endif()
endforeach()
file(READ ${FOLDER}/own.txt replaced)
execute_process(COMMAND stat -c "%U %a" ${FOLDER}/own.txt OUTPUT_VARIABLE kept OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT replaced MATCHES "^a b c" OR NOT kept STREQUAL "nobody 640")
  message(FATAL_ERROR "own.txt was not replaced keeping its owner and mode (${kept}):\n${transcript}${errors}")
endif()
file(REMOVE_RECURSE ${FOLDER})
