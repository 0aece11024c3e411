# Fails when the saver imports a library that is no KnownDLL: the loader would take a copy
# of such a library planted beside the program before the program's first line runs.
#   cmake -DOBJDUMP=<objdump> -DPROGRAM=<OrvikSaver.scr> -P check_imports.cmake
set(known ADVAPI32 COMDLG32 GDI32 IMM32 KERNEL32 MSVCRT OLE32 OLEAUT32 SHELL32 SHLWAPI USER32)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not read the import table of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
if(NOT names)
    message(FATAL_ERROR "no imports found in ${PROGRAM}")
endif()
foreach(line ${names})
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL].*" "\\1" name "${line}")
    string(TOUPPER "${name}" name)
    if(NOT name IN_LIST known)
        message(SEND_ERROR "${PROGRAM} imports ${name}.dll, which is no KnownDLL")
    endif()
endforeach()
