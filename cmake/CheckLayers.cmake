# The layers of the source tree, checked on the sources themselves (a test):
# each folder includes headers of the folders below it only, and the
# folders that are QtCore only include no header of Qt's GUI modules.
#   cmake -DSOURCE_DIR=<tree> -DQT_INCLUDE_DIRS=<dir|dir|...> -P CheckLayers.cmake
# The target links in the CMakeLists state the same arrows to the linker.

# A folder and the folders of ours it may include from, besides itself.
set(layers
  "engine="
  "settings="
  "records=engine settings"
  "rules=engine settings"
  "cli=engine settings rules"
  "ui/common=engine settings records rules"
  "ui/about=ui/common engine settings records rules"
  "ui/help=ui/common engine settings records rules"
  "ui/newunit=ui/common engine settings records rules"
  "ui/records=ui/common engine settings records rules"
  "ui/preferences=ui/newunit ui/common engine settings records rules"
  "ui/main=ui/about ui/help ui/preferences ui/records ui/newunit ui/common engine settings records rules"
  "app=ui/main ui/about ui/common engine settings records rules")
set(qtcore_only engine settings records rules cli)

string(REPLACE "|" ";" QT_INCLUDE_DIRS "${QT_INCLUDE_DIRS}")
foreach(dir ${QT_INCLUDE_DIRS})
  if(dir MATCHES "/QtCore$")
    get_filename_component(qt_root "${dir}" DIRECTORY)
  endif()
endforeach()
if(NOT qt_root)
  message(FATAL_ERROR "QtCore's include folder not among: ${QT_INCLUDE_DIRS}")
endif()

set(faults "")
foreach(entry ${layers})
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 folder)
  list(LENGTH entry fields)
  set(allowed ${folder})
  if(fields GREATER 1)
    list(GET entry 1 below)
    string(REPLACE " " ";" below "${below}")
    list(APPEND allowed ${below})
  endif()
  list(FIND qtcore_only ${folder} core)
  file(GLOB sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^#include [\"<]")
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
    foreach(line ${includes})
      if(line MATCHES "^#include \"([a-z]+(/[a-z]+)?)/[a-z0-9_]+\\.h\"")
        set(header_folder ${CMAKE_MATCH_1})
        # "ui/common/x.h" names ui/common; "engine/x.h" names engine.
        if(NOT header_folder MATCHES "^ui/" AND header_folder MATCHES "/")
          string(REGEX REPLACE "/.*" "" header_folder "${header_folder}")
        endif()
        list(FIND allowed ${header_folder} found)
        if(found LESS 0)
          string(APPEND faults "\n  ${name}: ${line} (${folder} may use ${allowed})")
        endif()
      elseif(core GREATER_EQUAL 0 AND line MATCHES "^#include <(Qt[A-Za-z]+/)?(Q[A-Za-z]+)>")
        set(module ${CMAKE_MATCH_1})
        set(header ${CMAKE_MATCH_2})
        if(module AND NOT module MATCHES "^Qt(Core|Test)/$")
          string(APPEND faults "\n  ${name}: ${line} (QtCore only)")
        elseif(NOT module AND NOT EXISTS "${qt_root}/QtCore/${header}")
          string(APPEND faults "\n  ${name}: ${line} (QtCore only)")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes that run against the layers:${faults}")
endif()
