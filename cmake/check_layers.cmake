cmake_minimum_required(VERSION 3.25)
# Checks that every subsystem includes only its own headers and those of the layers below
# it. Run in script mode: cmake -DROOT=<repository> -P cmake/check_layers.cmake
# Each entry: a folder, then the folders it may include from besides itself.
set(layers
    "platform"
    "resources"
    "timing:platform"
    "settings:platform resources"
    "raster:platform"
    "scene:timing settings raster platform resources"
    "animator:scene timing settings raster platform resources"
    "dialog:settings platform resources"
    "host:animator dialog scene timing settings raster platform resources"
    "check:scene timing settings raster platform resources")

if(NOT ROOT)
    message(FATAL_ERROR "check_layers: ROOT must name the repository")
endif()

set(known "")
foreach(entry IN LISTS layers)
    string(REGEX REPLACE ":.*" "" folder "${entry}")
    list(APPEND known ${folder})
endforeach()

set(violations 0)
foreach(entry IN LISTS layers)
    string(REGEX REPLACE ":.*" "" folder "${entry}")
    set(allowed ${folder})
    if(entry MATCHES ":(.*)")
        string(REPLACE " " ";" below "${CMAKE_MATCH_1}")
        list(APPEND allowed ${below})
    endif()
    file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp"
         "${ROOT}/${folder}/*.rc")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"")
        foreach(line IN LISTS includes)
            if(NOT line MATCHES "^#include \"([^\"/]+)/")
                message(SEND_ERROR "${source}: ${line} does not name its folder")
                math(EXPR violations "${violations} + 1")
                continue()
            endif()
            set(target ${CMAKE_MATCH_1})
            if(NOT target IN_LIST allowed)
                message(SEND_ERROR "${source}: ${line} reaches from ${folder} into ${target}")
                math(EXPR violations "${violations} + 1")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations GREATER 0)
    message(FATAL_ERROR "check_layers: ${violations} include(s) against the layering")
endif()
message(STATUS "check_layers: every include keeps to its layer")
