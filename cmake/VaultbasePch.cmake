# Precompiled Qt headers. Two of them serve the whole build: the QtCore headers for the
# logic libraries, the command-line tool and the benchmarks, and those plus the QtWidgets
# headers for the windows, the desktop program and the tests. Each is compiled once, by a
# small host library, and reused by every other target: that works because all targets
# share one set of compile flags (vaultbase_options); -Winvalid-pch says so if one ever
# differs. The headers are the Qt headers most sources include; a source still includes
# what it uses, so the build stays correct with VAULTBASE_PRECOMPILED_HEADERS=OFF.
option(VAULTBASE_PRECOMPILED_HEADERS "Precompile the Qt headers most sources include" ON)

set(_vaultbase_pch_core
  <QByteArray> <QByteArrayView> <QString> <QStringList> <QList> <QHash> <QObject>
  <QFile> <QFileInfo> <QDir>)
set(_vaultbase_pch_widgets ${_vaultbase_pch_core}
  <QWidget> <QAction> <QMenu> <QLabel> <QLineEdit> <QPushButton> <QDialog> <QBoxLayout>
  <QApplication>)

if(VAULTBASE_PRECOMPILED_HEADERS)
  target_compile_options(vaultbase_options INTERFACE -Winvalid-pch)
  set(_host ${CMAKE_BINARY_DIR}/vaultbase_pch_host.cpp)
  file(CONFIGURE OUTPUT ${_host} CONTENT "// Compiles the precompiled header only.\n")
  foreach(_kind core widgets)
    add_library(vaultbase_pch_${_kind} OBJECT ${_host})
    target_precompile_headers(vaultbase_pch_${_kind} PRIVATE ${_vaultbase_pch_${_kind}})
  endforeach()
  target_link_libraries(vaultbase_pch_core PRIVATE vaultbase_options Qt6::Core)
  target_link_libraries(vaultbase_pch_widgets PRIVATE vaultbase_options Qt6::Widgets)
endif()

# vaultbase_precompile(target core|widgets): the target reuses that precompiled header.
function(vaultbase_precompile target kind)
  if(VAULTBASE_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} REUSE_FROM vaultbase_pch_${kind})
  endif()
endfunction()
