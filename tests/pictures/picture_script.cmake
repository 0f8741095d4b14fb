# Runs examples/pictures.vorn in a fresh folder and checks that every picture was written:
#   cmake -DPROGRAM=... -DSOURCE=<repository> -DFOLDER=<scratch folder> -P picture_script.cmake
# The script runs, as the manual's examples do, in an empty folder beside examples/.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/examples ${FOLDER}/run)
file(COPY ${SOURCE}/examples/sedge_aflp.txt ${SOURCE}/examples/sedge_places.csv DESTINATION ${FOLDER}/examples)
execute_process(COMMAND ${PROGRAM} --script ${SOURCE}/examples/pictures.vorn --seed 1 --strict
                WORKING_DIRECTORY ${FOLDER}/run RESULT_VARIABLE status OUTPUT_VARIABLE transcript ERROR_VARIABLE error)
if(NOT status EQUAL 0 OR NOT error STREQUAL "")
  message(FATAL_ERROR "exit status ${status}: ${error}\n${transcript}")
endif()
foreach(picture upgma.svg upgma.png consensus.svg consensus.png pcoa.svg pcoa.png structure.svg structure.png missing.svg missing.png correlogram.svg correlogram.png)
  file(SIZE ${FOLDER}/run/${picture} size)
  if(size LESS 1000)
    message(FATAL_ERROR "${picture} holds only ${size} bytes")
  endif()
endforeach()
