# Import libraries that load their DLL at the first call instead of at
# process start: a DLL that nothing before the first window needs then costs
# the start-up nothing. Made at configure time from the toolchain's own import
# library (its export names), so they follow the toolchain.
#   orvanto_delay_import(<var> <dll base name> ...) sets <var> to the libraries.
function(orvanto_delay_import out)
  set(made)
  foreach(dll IN LISTS ARGN)
    find_library(import_${dll} NAMES lib${dll}.a REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} -g ${import_${dll}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp__?[A-Za-z0-9_@]+" imports "${symbols}")
    set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(import IN LISTS imports)
      string(REGEX REPLACE "^I __imp_" "" name "${import}")
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "^_" "" name "${name}") # stdcall names carry one more underscore
      endif()
      string(APPEND def "  ${name}\n")
    endforeach()
    set(dir ${CMAKE_BINARY_DIR}/delayload)
    file(MAKE_DIRECTORY ${dir})
    file(WRITE ${dir}/${dll}.def "${def}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${dir}/${dll}.def --dllname ${dll}.dll
                            --output-delaylib ${dir}/lib${dll}_delay.a
                    COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND made ${dir}/lib${dll}_delay.a)
  endforeach()
  set(${out} ${made} PARENT_SCOPE)
endfunction()
