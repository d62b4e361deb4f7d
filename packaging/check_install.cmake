# Installs the build into a scratch prefix and starts the installed programs from there:
# the window program must find its language files under share/telvane.
# cmake -DBUILD=<build folder> -DPREFIX=<scratch prefix> -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc}): ${err}")
endif()

foreach(f bin/telvane bin/telvane-cli
          share/telvane/Language.cfg share/telvane/FileType.cfg share/telvane/HELP.txt
          share/applications/telvane.desktop share/mime/packages/telvane.xml
          share/icons/hicolor/scalable/apps/telvane.svg
          share/icons/hicolor/16x16/apps/telvane.png share/icons/hicolor/256x256/apps/telvane.png
          share/man/man1/telvane.1.gz share/man/man1/telvane-cli.1.gz)
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
if(EXISTS ${PREFIX}/bin/Language.cfg)
    message(FATAL_ERROR "language files installed beside the program, not under share/telvane")
endif()

# run(<expected status> <out var> <err var> command...)
macro(run expected out err)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE ${out}
                    ERROR_VARIABLE ${err} TIMEOUT 120)
    if(NOT rc STREQUAL "${expected}")
        message(FATAL_ERROR "${ARGN}: status ${rc}, expected ${expected}\n${${out}}\n${${err}}")
    endif()
endmacro()

# expect(<text> <pattern>): the pattern must occur in the text.
macro(expect text pattern)
    string(FIND "${text}" "${pattern}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "expected '${pattern}' in:\n${text}")
    endif()
endmacro()

set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{HOME} ${PREFIX}/home)
set(ENV{XDG_CONFIG_HOME} ${PREFIX}/home/.config)

run(0 out err ${PREFIX}/bin/telvane --version)
expect("${out}" "telvane 1.6")
run(0 out err ${PREFIX}/bin/telvane --check)
expect("${out}" "language files in ${PREFIX}/share/telvane")
# Settings of an installed program go to the user's configuration folder, not into bin/.
if(EXISTS ${PREFIX}/bin/telvane.INI OR NOT EXISTS ${PREFIX}/home/.config/TORVIK/telvane/telvane.INI)
    message(FATAL_ERROR "the installed program kept its settings in the wrong place")
endif()
run(0 out err ${PREFIX}/bin/telvane-cli --version)
expect("${out}" "telvane-cli 1.6")

# The record parser's diagnostic goes to standard error, never into what info prints; a file of
# which nothing could be read fails.
file(WRITE ${PREFIX}/bad.txt "JOB     J\r\nINST    I\r\nSTA     S,x,C\r\nXYZ     1,2,3\r\n")
run(1 out err ${PREFIX}/bin/telvane-cli info ${PREFIX}/bad.txt)
expect("${err}" "Excption: ")
string(FIND "${out}" "Excption" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "the diagnostic went to standard output:\n${out}")
endif()

# The file types are well-formed: the desktop's own tool builds its database from them.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
    run(0 out err ${UPDATE_MIME} ${PREFIX}/share/mime)
    if(NOT EXISTS ${PREFIX}/share/mime/application/x-telvane-binary-job.xml)
        message(FATAL_ERROR "update-mime-database did not take the file types: ${err}")
    endif()
endif()
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
    run(0 out err ${DESKTOP_VALIDATE} ${PREFIX}/share/applications/telvane.desktop)
endif()
