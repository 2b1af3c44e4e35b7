# Checks the include direction between the folders of src/:
#
#   ui -> app -> {input, results, costs, station, sheets} -> {engine, data, lang}
#
# engine takes from data only the headers of types and constants, data and
# lang stand at the bottom, and nothing below app includes app. Within the
# middle layer the siblings build on each other in one direction only:
# input reads tables through the result reader, the data sheets edit the
# inputs, and costs builds on the loaded inputs and the result files. The
# program entry points (app/main_*.cpp) sit on top of everything. Every
# include "folder/file" of a source or header is checked; a folder that the table below does not know is reported too.
#
#   cmake -DWURZEL=<src folder> -P pruefe_schichten.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT WURZEL OR NOT IS_DIRECTORY "${WURZEL}")
  message(FATAL_ERROR "WURZEL must name the source folder to check")
endif()

# Folders each folder may include (its own is always allowed).
set(erlaubt_lang "")
set(erlaubt_data lang)
set(erlaubt_engine lang)
set(erlaubt_input results engine data lang)
set(erlaubt_results engine data lang)
set(erlaubt_station engine data lang)
set(erlaubt_sheets input results engine data lang)
set(erlaubt_costs input results engine data lang)
set(erlaubt_app input results costs station sheets engine data lang)
set(erlaubt_einstieg ui app input results costs station sheets engine data lang)
set(erlaubt_ui app input results costs station sheets engine data lang)
# The headers of data that engine may include: types and constants only.
set(datentypen_fuer_engine data/einheit_struct.h data/konstanten.h)

# Folder of a path below WURZEL; the windows of every subsystem (x/ui/) form
# the layer "ui".
function(ordner_von pfad ergebnis)
  if(pfad MATCHES "^app/main_[a-z_]+\\.cpp$")
    set(${ergebnis} einstieg PARENT_SCOPE)
  elseif(pfad MATCHES "^[^/]+/ui/")
    set(${ergebnis} ui PARENT_SCOPE)
  else()
    string(REGEX MATCH "^[^/]+" o "${pfad}")
    set(${ergebnis} "${o}" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE dateien RELATIVE "${WURZEL}" "${WURZEL}/*.h" "${WURZEL}/*.cpp")
list(SORT dateien)
set(verstoesse 0)
foreach(datei IN LISTS dateien)
  ordner_von("${datei}" von)
  if(NOT DEFINED erlaubt_${von})
    message("${datei}: folder '${von}' has no place in the layer order")
    math(EXPR verstoesse "${verstoesse} + 1")
    continue()
  endif()
  file(STRINGS "${WURZEL}/${datei}" zeilen REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
  foreach(zeile IN LISTS zeilen)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" ziel "${zeile}")
    ordner_von("${ziel}" nach)
    if(nach STREQUAL von)
      continue()
    endif()
    if(von STREQUAL "engine" AND nach STREQUAL "data")
      if(ziel IN_LIST datentypen_fuer_engine)
        continue()
      endif()
    elseif(nach IN_LIST erlaubt_${von})
      continue()
    endif()
    message("${datei}: #include \"${ziel}\" goes against the layer order (${von} -> ${nach})")
    math(EXPR verstoesse "${verstoesse} + 1")
  endforeach()
endforeach()

if(verstoesse GREATER 0)
  message(FATAL_ERROR "schichten: ${verstoesse} includes against the layer order")
endif()
list(LENGTH dateien anzahl)
message("schichten: ${anzahl} files follow the layer order")
