# Delay-load import libraries for Windows DLLs: a DLL linked through one is loaded at the first call of
# one of its functions instead of at the program's start, so after main has restricted the DLL search
# to the system folder. Each is made from the toolchain's import library: its symbols, as nm lists
# them, become the module definition that dlltool turns into the delay-load library.
#   updater_delay_load(<target> <dll>...)

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DNM=<nm> -DIMPORTS=<import library> -DPREFIX=<symbol prefix> -DDLL=<name> -DDEF=<out> -P DelayLoad.cmake
  execute_process(COMMAND ${NM} -g ${IMPORTS} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I ${PREFIX}[^\n]+" imports "${symbols}")
  list(REMOVE_DUPLICATES imports)
  set(definition "LIBRARY ${DLL}.dll\nEXPORTS\n")
  foreach(import IN LISTS imports)
    string(REPLACE " I ${PREFIX}" "" name "${import}")
    string(APPEND definition "${name}\n")
  endforeach()
  file(WRITE ${DEF} "${definition}")
  return()
endif()

function(updater_delay_load target)
  # 32-bit x86 decorates its import symbols with a further underscore and the argument size ("@20"),
  # which the DLL's own names lack.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix __imp__)
    set(undecorated --kill-at)
  else()
    set(prefix __imp_)
  endif()
  foreach(dll IN LISTS ARGN)
    find_library(UPDATER_IMPORTS_${dll} ${dll} REQUIRED)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${dll}.def)
    set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${dll}_delayed.a)
    add_custom_command(OUTPUT ${library}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORTS=${UPDATER_IMPORTS_${dll}} -DPREFIX=${prefix} -DDLL=${dll}
              -DDEF=${def} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
      COMMAND ${CMAKE_DLLTOOL} ${undecorated} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${library}
      DEPENDS ${UPDATER_IMPORTS_${dll}} VERBATIM)
    add_custom_target(${target}_${dll}_delayed DEPENDS ${library})
    add_dependencies(${target} ${target}_${dll}_delayed)
    target_link_libraries(${target} PUBLIC ${library})
  endforeach()
  # The loader that the delay-load libraries call.
  target_link_libraries(${target} PUBLIC delayimp)
  # The target's calls go to the functions' stubs rather than through their import slots: the 32-bit
  # linker drops every stub that no call names, and a delay-load slot starts out pointing into its stub.
  target_compile_definitions(${target} PRIVATE DECLSPEC_IMPORT=)
endfunction()
