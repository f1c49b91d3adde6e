# Run at install time (install(SCRIPT) in cmake/windows.cmake): every DLL
# that the program and its plugins import from Qt's and MinGW's folders
# (KORVAL_DLL_DIRS), beside the program; the rest are Windows' own. CMake reads the imports with MinGW's
# objdump and names them in lower case, as Windows compares them, so it
# finds none of Qt's on Linux's case-sensitive disks: those are matched here
# without regard to case, and their own imports read in turn.
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${KORVAL_OBJDUMP}")
set(available "")
foreach(dir IN LISTS KORVAL_DLL_DIRS)
  file(GLOB dlls "${dir}/*.dll")
  list(APPEND available ${dlls})
endforeach()
set(deployed "")
set(pending ${KORVAL_DEPLOYED})
while(pending)
  set(executables ${pending})
  list(FILTER executables INCLUDE REGEX "\\.exe$")
  list(FILTER pending EXCLUDE REGEX "\\.exe$")
  file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${executables} LIBRARIES ${pending}
    RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR names
    DIRECTORIES ${KORVAL_DLL_DIRS})
  set(pending "")
  foreach(dll IN LISTS available)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" name)
    if(name IN_LIST names AND NOT dll IN_LIST deployed)
      list(APPEND pending "${dll}")
    endif()
  endforeach()
  list(APPEND deployed ${resolved} ${pending})
  list(REMOVE_DUPLICATES deployed)
endwhile()
file(INSTALL ${deployed} DESTINATION "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}")
# Qt's and MinGW's DLLs and the plugins come with their debugging
# information, which users never need: two thirds of the program's size.
file(GLOB_RECURSE dlls "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}/*.dll")
execute_process(COMMAND "${KORVAL_STRIP}" --strip-unneeded ${dlls} COMMAND_ERROR_IS_FATAL ANY)
# Signed once stripped, as the installer and its uninstaller are.
execute_process(COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/sign.sh"
  "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}/korval.exe" ${dlls} COMMAND_ERROR_IS_FATAL ANY)
cmake_policy(POP)
