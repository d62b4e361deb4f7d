# Starts the window program with a file on its command line, as the desktop's "Open with"
# does: the file opens as Open would open it.
# cmake -DEXE=<telvane> -DLANG=<language folder> -DWORK=<scratch folder> -P open_file_at_start.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXE} DESTINATION ${WORK})
foreach(f Language.cfg FileType.cfg HELP.txt)
    file(COPY ${LANG}/${f} DESTINATION ${WORK})
endforeach()
file(WRITE ${WORK}/points.csv "A,C,1,2,3\r\nB,C,4,5,6\r\n")
get_filename_component(name ${EXE} NAME)
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${WORK}/${name} --check points.csv WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "exit status ${rc}; stderr: ${err}")
endif()
string(FIND "${out}" "points.csv: kind 2, Total: 2" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the file was not opened at start: ${out}")
endif()

# A file that cannot be opened: the check prints the message instead of waiting for a box, and
# says so in its exit status.
execute_process(COMMAND ${WORK}/${name} --check missing.csv WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 1)
    message(FATAL_ERROR "a missing file gave exit status ${rc}; stdout: ${out} stderr: ${err}")
endif()
string(FIND "${out}" "The file cannot be opened" said)
if(said EQUAL -1)
    message(FATAL_ERROR "the message was not printed: ${out}")
endif()
