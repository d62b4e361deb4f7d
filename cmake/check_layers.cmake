# The layers of the program and what each may include: every `#include "folder/..."` of a file
# under SRC must name its own layer or one this table allows, and only the window layers (and
# the serial port, and the command-line tool for its transfers) may include Qt.
#
#   cmake -DSRC=<source folder> -P check_layers.cmake
#
# Fails with the file, the line and the layer it may not use.
if(NOT SRC)
    message(FATAL_ERROR "usage: cmake -DSRC=<source folder> -P check_layers.cmake")
endif()
get_filename_component(SRC "${SRC}" ABSOLUTE)

cmake_minimum_required(VERSION 3.25)

# layer|allowed layers...
set(LAYERS
    "model"
    "texts|model"
    "road/engine"
    "road/design|road/engine|model"
    "road/landxml|road/design|road/engine|model"
    "road/check|road/landxml|road/design|road/engine|model|fileio|plot"
    "fileio|road/landxml|road/design|road/engine|model"
    "document|fileio|texts|road/landxml|road/design|road/engine|model"
    "link|model"
    "plot|road/check|road/design|road/engine|model"
    "serial|link|model"
    "ui|plot|texts|road/engine|model"
    "settings|ui|document|fileio|texts|plot|road/engine|model"
    "road/window|ui|plot|road/check|road/landxml|road/design|road/engine|document|fileio|texts|model"
    "mainwindow|settings|road/window|ui|serial|link|document|fileio|plot|road/check|road/landxml|road/design|road/engine|texts|model"
    "app|mainwindow|settings|road/window|ui|serial|link|document|fileio|plot|texts|model"
    "cli|serial|link|document|fileio|plot|road/check|road/landxml|road/design|road/engine|texts|model"
)
# Layers that may include Qt.
set(QT_LAYERS serial ui settings road/window mainwindow app cli)

set(failures "")
foreach(entry IN LISTS LAYERS)
    string(REPLACE "|" ";" allowed "${entry}")
    list(GET allowed 0 layer)
    if(NOT IS_DIRECTORY "${SRC}/${layer}")
        continue()
    endif()
    file(GLOB_RECURSE files "${SRC}/${layer}/*.h" "${SRC}/${layer}/*.cpp")
    foreach(f IN LISTS files)
        # A file of a layer nested in this folder (road/window under road) is checked as its own.
        file(RELATIVE_PATH rel "${SRC}" "${f}")
        set(owner "")
        foreach(other IN LISTS LAYERS)
            string(REPLACE "|" ";" other "${other}")
            list(GET other 0 candidate)
            string(LENGTH "${candidate}/" n)
            string(SUBSTRING "${rel}" 0 ${n} head)
            if(head STREQUAL "${candidate}/")
                string(LENGTH "${owner}" m)
                string(LENGTH "${candidate}" k)
                if(k GREATER m)
                    set(owner "${candidate}")
                endif()
            endif()
        endforeach()
        if(NOT owner STREQUAL layer)
            continue()
        endif()
        file(STRINGS "${f}" lines REGEX "^#include ")
        foreach(line IN LISTS lines)
            if(line MATCHES "^#include <(Q[A-Za-z0-9_]*)")
                if(NOT layer IN_LIST QT_LAYERS)
                    string(APPEND failures "${rel}: ${line} (no Qt below the windows)\n")
                endif()
            elseif(line MATCHES "^#include \"([^\"]+)\"")
                set(target "${CMAKE_MATCH_1}")
                if(NOT target MATCHES "/")
                    continue() # a file of the same folder
                endif()
                set(used "")
                foreach(other IN LISTS LAYERS)
                    string(REPLACE "|" ";" other "${other}")
                    list(GET other 0 candidate)
                    string(LENGTH "${candidate}/" n)
                    string(SUBSTRING "${target}" 0 ${n} head)
                    if(head STREQUAL "${candidate}/")
                        set(used "${candidate}")
                    endif()
                endforeach()
                if(used STREQUAL "")
                    string(APPEND failures "${rel}: ${line} (a folder that is no layer)\n")
                elseif(NOT used IN_LIST allowed)
                    string(APPEND failures "${rel}: ${line} (${layer} may not use ${used})\n")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(failures)
    message(FATAL_ERROR "Includes across the layers:\n${failures}")
endif()
message(STATUS "Every include keeps to its layer")
