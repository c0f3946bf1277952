# The layers of the source tree include only downwards, and the Qt-free ones no Qt at all:
#   core (model <- files, analysis <- the other areas)  <-  commands  <-  display/qt, dialogs, app
# and tools/ (orvane-cli) sits on the core and display/qt. A folder of src/ not named below is
# a core area of its own and, like report and display, may include any core area. Run by ctest:
#   cmake -DORVANE_SOURCE_DIR=<clone> -P cmake/check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(core_areas model files analysis report display)

# What a folder may include besides itself; CORE stands for every core area.
set(allowed_model "")
set(allowed_files model)
set(allowed_analysis model)
set(allowed_report CORE)
set(allowed_display CORE)
set(allowed_commands CORE)
set(allowed_display_qt CORE)
set(allowed_dialogs CORE commands display/qt)
set(allowed_app CORE commands display/qt dialogs)
set(allowed_tools CORE display/qt)
set(upper_layers commands display/qt dialogs app tools)
set(qt_free_upper commands)

file(GLOB src_folders RELATIVE "${ORVANE_SOURCE_DIR}/src" "${ORVANE_SOURCE_DIR}/src/*")
foreach(folder IN LISTS src_folders)
  if(IS_DIRECTORY "${ORVANE_SOURCE_DIR}/src/${folder}" AND NOT folder IN_LIST upper_layers
     AND NOT folder IN_LIST core_areas)
    list(APPEND core_areas ${folder})
    set(allowed_${folder} CORE)
  endif()
endforeach()

# The layer a path of the tree (src/x/..., tools/...) or an include ("x/...") belongs to.
function(layer_of path out)
  if(path MATCHES "^(src/)?display/qt/")
    set(${out} display/qt PARENT_SCOPE)
  elseif(path MATCHES "^tools/")
    set(${out} tools PARENT_SCOPE)
  elseif(path MATCHES "^(src/)?([a-z_]+)/")
    set(${out} ${CMAKE_MATCH_2} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ORVANE_SOURCE_DIR}"
     "${ORVANE_SOURCE_DIR}/src/*.h" "${ORVANE_SOURCE_DIR}/src/*.cpp"
     "${ORVANE_SOURCE_DIR}/tools/*.h" "${ORVANE_SOURCE_DIR}/tools/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
  layer_of("${source}" layer)
  string(REPLACE "/" "_" key "${layer}")
  set(allowed ${layer} ${allowed_${key}})
  if("CORE" IN_LIST allowed)
    list(APPEND allowed ${core_areas})
  endif()
  set(qt_free FALSE)
  if(layer IN_LIST core_areas OR layer IN_LIST qt_free_upper)
    set(qt_free TRUE)
  endif()
  file(STRINGS "${ORVANE_SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      layer_of("${CMAKE_MATCH_1}" target)
      if(target AND NOT target IN_LIST allowed)
        list(APPEND violations "${source}: ${layer} includes ${target}: ${CMAKE_MATCH_1}")
      endif()
    elseif(qt_free AND line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*)>")
      list(APPEND violations "${source}: ${layer} is Qt-free but includes <${CMAKE_MATCH_1}>")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Upward includes:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files include only their own layer and the layers below it")
