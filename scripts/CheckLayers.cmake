# Checks that every include under SOURCE_DIR points to the same layer or one below it:
#   platform <- widgets <- core (core/model <- core/board, core/engine, core/editing)
#   <- ui <- components, frontpanel, hardware, comm <- shell <- app
# The core includes no widget header, and its precompiled header (CORE_PCH) carries none.
# cmake -DSOURCE_DIR=<src> [-DCORE_PCH=<headers>] [-DWIDGET_HEADERS_DIR=<QtWidgets folder>]
#       -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(RANK_platform 0)
set(RANK_widgets 1)
set(RANK_core/model 2)
set(RANK_core 3)          # core/board, core/engine, core/editing
set(RANK_ui 4)
set(RANK_components 5)
set(RANK_frontpanel 5)
set(RANK_hardware 5)
set(RANK_comm 5)
set(RANK_shell 6)
set(RANK_app 7)

# The layer of a path relative to SOURCE_DIR ("core/model/Iobt.h" -> core/model); empty when
# the path lies in no layer.
function(layer_of path out)
  string(REGEX MATCH "^[^/]+" top "${path}")
  set(layer "${top}")
  if(top STREQUAL "core")
    string(REGEX MATCH "^core/[^/]+" sub "${path}")
    if(sub STREQUAL "core/model")
      set(layer core/model)
    endif()
  endif()
  if(NOT DEFINED RANK_${layer})
    set(layer "")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Widget headers: every header of the QtWidgets module, or the common ones when its folder is
# not given.
set(widget_headers QWidget QDialog QDialogButtonBox QTreeWidget QTreeWidgetItem QLineEdit
  QPushButton QSpinBox QCheckBox QComboBox QLabel QVBoxLayout QHBoxLayout QFormLayout
  QGridLayout QGroupBox QApplication QMainWindow QMessageBox QFileDialog QMenu QScrollArea
  QFontComboBox QTableWidget QListWidget QToolButton QAbstractScrollArea)
if(WIDGET_HEADERS_DIR AND IS_DIRECTORY "${WIDGET_HEADERS_DIR}")
  file(GLOB all_widget_headers RELATIVE "${WIDGET_HEADERS_DIR}" "${WIDGET_HEADERS_DIR}/Q*")
  list(FILTER all_widget_headers EXCLUDE REGEX "\\.")
  list(APPEND widget_headers ${all_widget_headers})
endif()

set(faults "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT files)
foreach(file ${files})
  layer_of("${file}" from)
  if(from STREQUAL "")
    string(APPEND faults "  ${file}: its folder belongs to no layer\n")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" target "${line}")
    if(from MATCHES "^core")
      string(REGEX REPLACE "^QtWidgets/" "" bare "${target}")
      if(target MATCHES "^QtWidgets/" OR bare IN_LIST widget_headers)
        string(APPEND faults "  ${file} includes the widget header ${target}\n")
        continue()
      endif()
    endif()
    if(NOT target MATCHES "/")
      continue()  # beside the including file, or a library header
    endif()
    layer_of("${target}" to)
    if(to STREQUAL "")
      continue()  # a library header such as QtCore/QString or sys/mman.h
    endif()
    if(RANK_${to} GREATER RANK_${from})
      string(APPEND faults "  ${file} includes ${target} (${from} lies below ${to})\n")
    endif()
  endforeach()
endforeach()

foreach(header ${CORE_PCH})
  string(REGEX REPLACE "^<(QtWidgets/)?([^>]+)>$" "\\2" bare "${header}")
  if(header MATCHES "QtWidgets/" OR bare IN_LIST widget_headers)
    string(APPEND faults "  the core's precompiled header holds the widget header ${header}\n")
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers:\n${faults}")
endif()
list(LENGTH files count)
message(STATUS "Layers hold over ${count} files.")
