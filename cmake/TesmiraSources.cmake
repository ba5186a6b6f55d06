# Source discovery shared by every target.
#
# Layout rule: src/<subsystem>/*.cpp is the toolkit-free core, src/<subsystem>/ui/*.cpp is Qt, and so
# is src/gui (the window code the subsystems share).
# Per-platform files end in _unix.cpp or _win.cpp and are picked here, never by #ifdef.

set(TESMIRA_SUBSYSTEMS link model editors gsm firmware app)

function(tesmira_platform_filter out_var)
    set(result ${ARGN})
    if(WIN32)
        list(FILTER result EXCLUDE REGEX "_unix\\.cpp$")
    else()
        list(FILTER result EXCLUDE REGEX "_win\\.cpp$")
    endif()
    set(${out_var} ${result} PARENT_SCOPE)
endfunction()

function(tesmira_glob out_var)
    file(GLOB found CONFIGURE_DEPENDS ${ARGN})
    tesmira_platform_filter(found ${found})
    set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# Our own targets get the warning set; a target's sources are the only ones it applies to.
function(tesmira_warnings target)
    target_compile_options(${target} PRIVATE ${TESMIRA_WARNINGS})
endfunction()

# Under Ninja, a target's moc step reruns only for the headers its previous run saw, so a Q_OBJECT
# header added to an existing build folder would get no moc file. When the globbed list of a
# target's sources changes, drop the step's stamp so the next build runs it again.
function(tesmira_refresh_autogen target)
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.list)
    string(JOIN "\n" now ${ARGN})
    set(before "")
    if(EXISTS ${list_file})
        file(READ ${list_file} before)
    endif()
    if(NOT now STREQUAL before)
        file(WRITE ${list_file} "${now}")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    endif()
endfunction()

# Tests that need what Windows lacks: pseudo-terminals (the termios backend's tests and the rigs
# that play a device on one), a fake sysfs tree, fork, setuid and file size limits (the file
# tests' permission and failed-write cases), posix_spawn, and the simulator's own parts, which are
# built for Linux only. Paths are relative to tests/.
set(TESMIRA_UNIX_ONLY_TESTS
    support/PtyPair.cpp
    support/LinkPeers.cpp
    support/FakeSysfs.cpp
    app/test_sysfs_ports.cpp
    firmware/test_firmware_image.cpp
    model/test_config_file.cpp
    link/test_serial_port_pty.cpp
    link/test_exchange_thread.cpp
    link/test_exchange_virtual.cpp
    tools/DevsimProcess.cpp
    tools/test_devsim_config_file.cpp
    tools/test_devsim_device.cpp
    tools/test_devsim_parsing.cpp
    tools/test_devsim_process.cpp
    tools/test_cli_terminal.cpp)

function(tesmira_drop_unix_only_tests var)
    set(result ${${var}})
    if(WIN32)
        foreach(file IN LISTS TESMIRA_UNIX_ONLY_TESTS)
            list(REMOVE_ITEM result ${PROJECT_SOURCE_DIR}/tests/${file})
        endforeach()
    endif()
    set(${var} ${result} PARENT_SCOPE)
endfunction()

# Precompiled headers for the targets that include Qt Widgets or GoogleTest, whose headers take
# most of such a file's compile time. ccache does not cache a file built with one unless told to
# be sloppy about it, so under ccache (the developers' set-up) every target compiles as before.
option(TESMIRA_PCH "Precompile the Qt Widgets and GoogleTest headers (not under ccache)" ON)
set(TESMIRA_USE_PCH OFF)
if(TESMIRA_PCH AND NOT CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(TESMIRA_USE_PCH ON)
endif()

# The Qt headers nearly every window file includes.
set(TESMIRA_QT_PCH_HEADERS <QAction> <QApplication> <QCheckBox> <QComboBox> <QEvent> <QGridLayout>
    <QGroupBox> <QHBoxLayout> <QHeaderView> <QLabel> <QLineEdit> <QMdiArea> <QMdiSubWindow> <QMenu>
    <QObject> <QPointer> <QPushButton> <QString> <QTabWidget> <QTableWidget> <QTimer> <QVBoxLayout>
    <QWidget>)

# Precompiles `headers` for `target`, or, with REUSE_FROM other, takes other's.
function(tesmira_precompile target)
    if(NOT TESMIRA_USE_PCH)
        return()
    endif()
    if(ARGV1 STREQUAL "REUSE_FROM")
        target_precompile_headers(${target} REUSE_FROM ${ARGV2})
    else()
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()
