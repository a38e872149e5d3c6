# Tests of rlgtool extract. Their inputs are resource scripts that MinGW-w64's
# windres compiles into a .res file and into a 32-bit and a 64-bit program;
# where windres or the MinGW compilers are missing, the tests that need them
# skip. On Windows the demo program, built from its own resource script, is
# the input of the end-to-end test.
set(rlgtool_res_src ${PROJECT_SOURCE_DIR}/tests/data/resources)
set(rlgtool_res_out ${CMAKE_BINARY_DIR}/rlgtool-resources)
find_program(COLANG_WINDRES_64 x86_64-w64-mingw32-windres)
find_program(COLANG_WINDRES_32 i686-w64-mingw32-windres)
find_program(COLANG_MINGW_CXX_64 NAMES x86_64-w64-mingw32-g++ x86_64-w64-mingw32-g++-posix)
find_program(COLANG_MINGW_CXX_32 NAMES i686-w64-mingw32-g++ i686-w64-mingw32-g++-posix)

set(rlgtool_res_built "")
if(COLANG_WINDRES_64 AND COLANG_WINDRES_32 AND COLANG_MINGW_CXX_64 AND COLANG_MINGW_CXX_32)
  set(rlgtool_res_inputs ${rlgtool_res_src}/Sample.rc ${rlgtool_res_src}/SampleDe.rc2 ${rlgtool_res_src}/Sample.h
    ${rlgtool_res_src}/Sample.ico)
  set(rlgtool_res_main ${rlgtool_res_src}/ResMain.cpp)
  add_custom_command(OUTPUT ${rlgtool_res_out}/Sample.res
    COMMAND ${CMAKE_COMMAND} -E make_directory ${rlgtool_res_out}
    COMMAND ${COLANG_WINDRES_64} -I ${rlgtool_res_src} ${rlgtool_res_src}/Sample.rc -O res -o ${rlgtool_res_out}/Sample.res
    DEPENDS ${rlgtool_res_inputs} VERBATIM)
  set(rlgtool_res_files ${rlgtool_res_out}/Sample.res)
  foreach(bits 32 64)
    # The program holds the resources; its code is never run.
    add_custom_command(OUTPUT ${rlgtool_res_out}/Sample${bits}.exe
      COMMAND ${CMAKE_COMMAND} -E make_directory ${rlgtool_res_out}
      COMMAND ${COLANG_WINDRES_${bits}} -I ${rlgtool_res_src} ${rlgtool_res_src}/Sample.rc -O coff
        -o ${rlgtool_res_out}/Sample${bits}.o
      COMMAND ${COLANG_MINGW_CXX_${bits}} -O1 -s ${rlgtool_res_main} ${rlgtool_res_out}/Sample${bits}.o
        -o ${rlgtool_res_out}/Sample${bits}.exe
      DEPENDS ${rlgtool_res_inputs} ${rlgtool_res_main} VERBATIM)
    list(APPEND rlgtool_res_files ${rlgtool_res_out}/Sample${bits}.exe)
  endforeach()
  add_custom_target(rlgtool_resources ALL DEPENDS ${rlgtool_res_files})
  set(rlgtool_res_built ${rlgtool_res_out})
endif()

# The examples are added after the tool; their demo is named before it exists.
set(rlgtool_demo_program "")
if(WIN32 AND COLANG_EXAMPLES)
  set(rlgtool_demo_program $<TARGET_FILE:colang_win32demo>)
endif()

target_sources(colang_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Extract_test.cpp)
# The Windows resource loader where there is one; the emulation has none.
if(WIN32)
  target_sources(colang_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ResourceLoaderWin32.cpp)
else()
  target_sources(colang_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ResourceLoaderNone.cpp)
endif()
target_compile_definitions(colang_tests PRIVATE
  RLGTOOL_RESOURCES_DIR="${rlgtool_res_built}"
  RLGTOOL_DEMO_PROGRAM="${rlgtool_demo_program}")
if(rlgtool_res_built)
  add_dependencies(colang_tests rlgtool_resources)
endif()
if(rlgtool_demo_program)
  add_dependencies(colang_tests colang_win32demo)
endif()

# The command itself: messages, exit statuses, --list, and the catalogs and
# PO files it writes, checked by rlgtool check and by gettext's tools.
set(rlgtool_gettext_dir "")
if(NOT CMAKE_CROSSCOMPILING)
  find_program(COLANG_MSGINIT msginit)
  if(COLANG_MSGINIT AND COLANG_MSGFMT)
    get_filename_component(rlgtool_gettext_dir ${COLANG_MSGINIT} DIRECTORY)
  endif()
endif()
add_test(NAME rlgtool_extract_cli
  COMMAND ${CMAKE_COMMAND}
    -DTOOL=$<TARGET_FILE:rlgtool>
    "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
    -DSOURCE_DIR=${rlgtool_res_src}
    -DBUILT_DIR=${rlgtool_res_built}
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/rlgtool-extract-cli
    -DGETTEXT_DIR=${rlgtool_gettext_dir}
    -P ${CMAKE_CURRENT_LIST_DIR}/RunExtract.cmake)
set_tests_properties(rlgtool_extract_cli PROPERTIES ENVIRONMENT "NO_COLOR=1;SOURCE_DATE_EPOCH=0")
